#include "support/message_box_recorder.h"

#include "driver/app_driver.h"

namespace {

MessageBoxRecorder* g_recorder = nullptr;

}  // namespace

MessageBoxRecorder::MessageBoxRecorder()
    : hook_(SetWindowsHookExA(WH_CALLWNDPROCRET, OnInitialized, nullptr, GetCurrentThreadId()))
{
    g_recorder = this;
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    UnhookWindowsHookEx(hook_);
    g_recorder = nullptr;
}

std::vector<std::string> MessageBoxRecorder::texts() const
{
    std::vector<std::string> texts;
    for (const RecordedBox& box : boxes_)
        texts.push_back(box.text);
    return texts;
}

std::vector<std::string> MessageBoxRecorder::utf8Texts() const
{
    std::vector<std::string> texts;
    for (const RecordedBox& box : boxes_)
        texts.push_back(box.utf8Text);
    return texts;
}

LRESULT CALLBACK MessageBoxRecorder::OnInitialized(int code, WPARAM wParam, LPARAM lParam)
{
    // A box is read once its WM_INITDIALOG has returned: its text and buttons are set then.
    // It may be activated before (Wine activates a task-modal box before its text is set).
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && g_recorder != nullptr && call->message == WM_INITDIALOG &&
        driver::IsMessageBox(call->hwnd)) {
        HWND window = call->hwnd;
        RecordedBox box;
        char caption[512] = "";
        GetWindowTextA(window, caption, sizeof caption);
        box.caption = caption;
        box.text = driver::MessageText(window);
        box.utf8Text = driver::MessageUtf8Text(window);
        box.owner = GetWindow(window, GW_OWNER);
        for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDTRYAGAIN, IDCONTINUE}) {
            HWND button = GetDlgItem(window, id);
            // Not shown yet: its buttons' own style tells which are used.
            if (button != nullptr && (GetWindowLongA(button, GWL_STYLE) & WS_VISIBLE))
                box.buttons.push_back(id);
        }
        g_recorder->boxes_.push_back(box);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
