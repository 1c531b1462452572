#include "engine/owner_messages.h"

void HandleOwnerMessages(DeletionJob& job)
{
    DWORD now = GetTickCount();
    if (now - job.lastMessages < OWNER_MESSAGE_INTERVAL_MS)
        return;
    job.lastMessages = now;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            g_cancelRequested = 1;
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        // With its controls disabled the dialog has no focus, and the system gives the
        // Escape key to the active window as a system key: the owner gets it as the
        // dialog manager gives it when a control has the focus.
        bool forOwner = job.owner != nullptr && (message.hwnd == job.owner || IsChild(job.owner, message.hwnd));
        if (forOwner && (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) &&
            message.wParam == VK_ESCAPE) {
            SendMessageW(job.owner, WM_COMMAND, IDCANCEL, 0);
            continue;
        }
        if (forOwner && IsDialogMessageW(job.owner, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
