// Brings up each window of the running program in turn and saves a picture of it, as the
// screen shows it, title bar included: the main dialog, the summary question, a per-file
// question, the main dialog during a run with its count in the title, the help, and the
// summary of a list too long for a message box, asked in the question dialog. Not a
// test: scripts/screenshots.sh runs it on a virtual display and turns the pictures into
// the PNG files of the README.
//
//   brumix_screenshots.exe     pictures go to screenshots\ next to the program, as BMP
//
// BRUMIX_SHOT_SUFFIX, when set, is added to every picture's name ("-150": main-dialog-150),
// for the pictures taken on a scaled screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "driver/app_driver.h"
#include "res/resource.h"
#include "support/focus.h"

using driver::BrumixApp;
using driver::MessageBoxSeen;

namespace {

// A small source tree with build leftovers, at a path that reads well in the pictures.
const char* const FIXTURE = "C:\\Projets\\Calculette\\";
const char* const FIXTURE_FILES[] = {"calcul.obj", "calcul.res", "calcul.map", "calcul.cpp", "calcul.rc"};
const char* const PATTERNS = "*.obj;*.res;*.map;*.sym;*.bak";

std::string OutputFolder()
{
    return driver::ProgramFolder() + "screenshots\\";
}

void MakeFixture()
{
    CreateDirectoryA("C:\\Projets", nullptr);
    CreateDirectoryA(FIXTURE, nullptr);
    for (const char* name : FIXTURE_FILES) {
        HANDLE file = CreateFileA((std::string(FIXTURE) + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, "x", 1, &written, nullptr);
        CloseHandle(file);
    }
}

// Lets the program finish painting and the X server show it.
void Settle(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(500);
}

// Copies the window's rectangle from the screen into a 24-bit BMP file.
bool SaveWindowPicture(HWND window, const std::string& name)
{
    Settle(window);
    RECT rect;
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom-up, as BMP files usually are
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<BYTE> pixels(stride * static_cast<DWORD>(height));
    int rows = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                         reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (rows != height)
        return false;

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    char suffix[16] = "";
    GetEnvironmentVariableA("BRUMIX_SHOT_SUFFIX", suffix, sizeof suffix);
    std::string path = OutputFolder() + name + suffix + ".bmp";
    FILE* out = fopen(path.c_str(), "wb");
    if (out == nullptr)
        return false;
    fwrite(&file, sizeof file, 1, out);
    fwrite(&header, sizeof header, 1, out);
    fwrite(pixels.data(), 1, pixels.size(), out);
    fclose(out);
    printf("saved %s (%d x %d)\n", path.c_str(), width, height);
    return true;
}

// Xvfb has no window manager and gives the keyboard to the window under the pointer, and
// Wine leaves the main dialog's title bar drawn inactive from its start. Put the pointer
// on the title bar and activate the window anew, so that it shows as a user would see it.
void Activate(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    SetCursorPos((rect.left + rect.right) / 2, rect.top + GetSystemMetrics(SM_CYCAPTION) / 2);
    SetForegroundWindow(GetDesktopWindow());
    Sleep(100);
    SetForegroundWindow(window);
    Sleep(200);
}

TEST(Screenshots, EveryWindowOfTheProgram)
{
    CreateDirectoryA(OutputFolder().c_str(), nullptr);
    MakeFixture();

    BrumixApp app;
    ASSERT_TRUE(app.Start(FIXTURE));
    app.SetText(IDC_PATTERNS, PATTERNS);
    app.SetChecked(IDC_RECURSE, true);
    app.SetChecked(IDC_CONFIRM, true);
    Activate(app.dialog());
    EXPECT_TRUE(SaveWindowPicture(app.dialog(), "main-dialog"));

    app.Press(IDOK);
    MessageBoxSeen summary;
    ASSERT_TRUE(app.WaitForMessageBox(summary));
    EXPECT_TRUE(SaveWindowPicture(summary.window, "summary-question"));
    ASSERT_TRUE(app.Answer(summary, IDYES));

    MessageBoxSeen question;
    ASSERT_TRUE(app.WaitForMessageBox(question));
    EXPECT_EQ(question.caption, "Confirmation d'effacement");
    EXPECT_TRUE(SaveWindowPicture(question.window, "file-question"));

    // Two files deleted, the third asked about: the dialog shows its count in the title.
    // The question is moved aside so that the whole dialog shows.
    for (int answered = 0; answered < 2; ++answered) {
        ASSERT_TRUE(app.Answer(question, IDYES));
        ASSERT_TRUE(app.WaitForMessageBox(question));
    }
    ASSERT_TRUE(app.WaitForTitle(L"Brumix \u2014 2 fichiers effac\u00e9s \u2014 \u00c9chap pour arr\u00eater"));
    RECT dialog;
    GetWindowRect(app.dialog(), &dialog);
    SetWindowPos(question.window, nullptr, dialog.left, dialog.bottom + 20, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(SaveWindowPicture(app.dialog(), "running"));
    // Cancel stops the run: the third file stays.
    ASSERT_TRUE(app.Answer(question, IDCANCEL));
    ASSERT_TRUE(app.WaitIdle());

    app.Press(IDHELP);
    HWND help = app.WaitForDialog("Help");
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(SaveWindowPicture(help, "help"));
    // The end of the text, to check that the scroll bar reaches the closing ornament.
    SendMessageA(GetDlgItem(help, IDC_HELP_TEXT), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_TRUE(SaveWindowPicture(help, "help-end"));
    PostMessageA(GetDlgItem(help, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(app.WaitGone(help));

    app.Press(IDCANCEL);
    DWORD exitCode = 1;
    ASSERT_TRUE(app.WaitForExit(exitCode));
}

TEST(Screenshots, TheQuestionAskedInPlaceOfAMessageBox)
{
    CreateDirectoryA(OutputFolder().c_str(), nullptr);
    MakeFixture();
    // A list built by the pattern picker from many files: no blank to break a line at.
    std::string patterns;
    for (int i = 0; i < 60; ++i)
        patterns += (i > 0 ? ";*.e" : "*.e") + std::to_string(1000 + i);

    BrumixApp app;
    ASSERT_TRUE(app.Start(FIXTURE));
    app.SetText(IDC_PATTERNS, patterns);
    app.SetChecked(IDC_RECURSE, true);
    app.SetChecked(IDC_CONFIRM, true);
    app.Press(IDOK);
    MessageBoxSeen summary;
    ASSERT_TRUE(app.WaitForMessageBox(summary));
    EXPECT_TRUE(driver::IsQuestionDialog(summary.window));
    EXPECT_TRUE(SaveWindowPicture(summary.window, "long-question"));
    ASSERT_TRUE(app.Answer(summary, IDNO));
    ASSERT_TRUE(app.WaitIdle());

    app.Press(IDCANCEL);
    DWORD exitCode = 1;
    ASSERT_TRUE(app.WaitForExit(exitCode));
}

}  // namespace
