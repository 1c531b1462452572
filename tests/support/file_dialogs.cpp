#include "support/file_dialogs.h"

#include <gtest/gtest.h>

#include "driver/app_driver.h"
#include "support/utf8.h"

namespace file_dialogs {

namespace {

std::function<void(HWND)> g_nextDialogAction;

BOOL CALLBACK FindThreadDialog(HWND window, LPARAM lParam)
{
    if (IsWindowVisible(window) && driver::ClassName(window) == "#32770") {
        *reinterpret_cast<HWND*>(lParam) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK LookForDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindThreadDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    std::function<void(HWND)> action;
    action.swap(g_nextDialogAction);
    action(dialog);
}

}  // namespace

HWND WaitForFileDialog(DWORD processId, int nameBoxId)
{
    HWND found = nullptr;
    if (!driver::WaitUntil([&] {
            std::vector<HWND> dialogs = driver::TopLevelWindows(processId, [nameBoxId](HWND window) {
                return IsWindowVisible(window) && driver::ClassName(window) == "#32770" &&
                       GetDlgItem(window, nameBoxId) != nullptr;
            });
            found = dialogs.empty() ? nullptr : dialogs.front();
            return found != nullptr;
        }))
        ADD_FAILURE() << "no file dialog with name box " << nameBoxId << " showed up";
    return found;
}

void SetName(HWND dialog, int nameBoxId, const std::string& text)
{
    driver::SendAndWait(GetDlgItem(dialog, nameBoxId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void SetUtf8Name(HWND dialog, int nameBoxId, const std::string& text)
{
    std::wstring wide = Wide(text);
    driver::SendAndWaitW(GetDlgItem(dialog, nameBoxId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void Accept(HWND dialog, int nameBoxId, const std::string& text)
{
    SetName(dialog, nameBoxId, text);
    PressOpen(dialog);
}

void AcceptUtf8(HWND dialog, int nameBoxId, const std::string& text)
{
    SetUtf8Name(dialog, nameBoxId, text);
    PressOpen(dialog);
}

void PressOpen(HWND dialog)
{
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

void Cancel(HWND dialog)
{
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

bool WaitGone(HWND dialog)
{
    bool gone = driver::WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
    if (!gone)
        ADD_FAILURE() << "the file dialog did not close";
    return gone;
}

std::string WaitForText(HWND control, const std::string& expected)
{
    std::string text;
    driver::WaitUntil([&] { return (text = driver::WindowText(control)) == expected; });
    return text;
}

std::string WaitForUtf8Text(HWND control, const std::string& expected)
{
    std::string text;
    driver::WaitUntil([&] { return (text = driver::WindowUtf8Text(control)) == expected; });
    return text;
}

std::vector<ChildPlace> ChildPlaces(HWND dialog)
{
    std::vector<ChildPlace> places;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        places.push_back({GetDlgCtrlID(child), driver::ClientRectOf(child, dialog)});
    return places;
}

void OnNextDialog(std::function<void(HWND dialog)> action)
{
    g_nextDialogAction = std::move(action);
    SetTimer(nullptr, 0, 20, LookForDialog);
}

}  // namespace file_dialogs
