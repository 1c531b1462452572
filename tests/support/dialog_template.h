// A classic (not extended) dialog template read back from a module's resources, field by
// field, with its texts turned into code page 1252 like the program's own.
#ifndef BRUMIX_TESTS_DIALOG_TEMPLATE_H
#define BRUMIX_TESTS_DIALOG_TEMPLATE_H

#include <windows.h>

#include <string>
#include <vector>

struct TemplateItem {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, width = 0, height = 0;
    WORD id = 0;
    WORD classOrdinal = 0;  // 0x80 button, 0x81 edit, 0x82 static, ...; 0 when named
    std::string className;
    WORD textOrdinal = 0;
    std::string text;
    WORD creationDataBytes = 0;
};

struct DialogTemplate {
    DWORD style = 0, exStyle = 0;
    WORD itemCount = 0;
    short x = 0, y = 0, width = 0, height = 0;
    WORD menuOrdinal = 0, classOrdinal = 0;
    std::string menu, className, title;
    WORD pointSize = 0;
    std::string font;
    std::vector<TemplateItem> items;
    size_t bytesRead = 0, bytesInResource = 0;  // equal when nothing follows the last item
};

// Reads dialog resource `id` of `module`; false when there is none. A template in the
// extended form shows as style 0xFFFF0001 and nothing more is read.
bool ReadDialogTemplate(HMODULE module, int id, DialogTemplate& dialog);

// A dialog procedure that does nothing of its own: a template made into a dialog in the
// test's process, to be measured or looked at as the dialog manager alone makes it.
INT_PTR CALLBACK QuietDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
