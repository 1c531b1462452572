#include "support/cursor.h"

#include "driver/app_driver.h"

using driver::WaitUntil;

HCURSOR ShownCursor()
{
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    return GetCursorInfo(&info) ? info.hCursor : nullptr;
}

HCURSOR PointAt(HWND window, POINT client)
{
    POINT screen = client;
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    // The program sets its cursor when it handles the move: read before, the cursor would
    // be the one shown where the mouse was.
    bool moved = WaitUntil([&] {
        POINT at = {};
        GetCursorPos(&at);
        return at.x == screen.x && at.y == screen.y;
    });
    if (!moved || !driver::CatchUpWithInput(window))
        return nullptr;
    HCURSOR shown = nullptr;
    WaitUntil([&] { return (shown = ShownCursor()) != nullptr; });
    return shown;
}

bool WaitForCursor(HCURSOR expected)
{
    return WaitUntil([&] { return ShownCursor() == expected; });
}
