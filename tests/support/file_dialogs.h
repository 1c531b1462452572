// The system's file-open dialogs, driven from a test: found in another process (the
// running brumix.exe) or in the test's own thread, filled in and accepted as a user would.
#ifndef BRUMIX_TESTS_FILE_DIALOGS_H
#define BRUMIX_TESTS_FILE_DIALOGS_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace file_dialogs {

// The name box: edt1 in the classic dialog, the ComboBoxEx cmb13 in the Explorer-style one.
constexpr int CLASSIC_NAME_BOX = 1152;
constexpr int EXPLORER_NAME_BOX = 1148;
// The classic dialog's static that shows the current folder.
constexpr int CURRENT_FOLDER_STATIC = 1088;

// Waits (bounded) for a visible file dialog of that process, told by its name box.
HWND WaitForFileDialog(DWORD processId, int nameBoxId);
// Puts a text into the name box (SetName, as a 1252 text; SetUtf8Name in any script).
void SetName(HWND dialog, int nameBoxId, const std::string& text);
void SetUtf8Name(HWND dialog, int nameBoxId, const std::string& text);
// Types text into the name box and presses Open. The classic dialog navigates when the
// text names a folder; "C:\\dir\\$$$.$$$" accepts the folder C:\dir.
void Accept(HWND dialog, int nameBoxId, const std::string& text);
// The same with a text in UTF-8, in any script.
void AcceptUtf8(HWND dialog, int nameBoxId, const std::string& text);
// Presses Open with the name box as it is.
void PressOpen(HWND dialog);
void Cancel(HWND dialog);
bool WaitGone(HWND dialog);
// Waits until the control shows the expected text, and gives the text it shows then.
std::string WaitForText(HWND control, const std::string& expected);
// The same in UTF-8, every character kept.
std::string WaitForUtf8Text(HWND control, const std::string& expected);

// A child of a dialog as it is placed: id and rectangle in the dialog's client area.
struct ChildPlace {
    int id;
    RECT rect;
};
// Every direct child, first to last.
std::vector<ChildPlace> ChildPlaces(HWND dialog);

// In the test's own thread: runs action on the next dialog this thread shows, from a
// thread timer inside its modal loop. Start it just before the call that shows it.
void OnNextDialog(std::function<void(HWND dialog)> action);

}  // namespace file_dialogs

#endif
