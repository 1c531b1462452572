#include "support/focus.h"

#include "driver/app_driver.h"

HWND FocusOfThread(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

bool WaitForFocusOn(HWND expected)
{
    return driver::WaitUntil([&] { return FocusOfThread(expected) == expected; });
}
