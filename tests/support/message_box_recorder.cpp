#include "support/message_box_recorder.h"

#include "driver/app_driver.h"

namespace {

MessageBoxRecorder* g_recorder = nullptr;

}  // namespace

MessageBoxRecorder::MessageBoxRecorder()
    : hook_(SetWindowsHookExA(WH_CBT, OnActivate, nullptr, GetCurrentThreadId()))
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

LRESULT CALLBACK MessageBoxRecorder::OnActivate(int code, WPARAM wParam, LPARAM lParam)
{
    // A box is activated once its children exist, and may be activated again; a handle
    // may come back for a later box once the first is destroyed.
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_DESTROYWND && g_recorder != nullptr)
        g_recorder->answered_.erase(window);
    if (code == HCBT_ACTIVATE && g_recorder != nullptr && driver::IsMessageBox(window) &&
        g_recorder->answered_.insert(window).second) {
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
