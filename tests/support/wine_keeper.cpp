// Keeps one Wine process alive for a whole test run, so that the prefix's services and
// desktop start once, detached from CTest's output. Ends when told to, or after a day.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "BrumixWineKeeper";
    RegisterClassA(&windowClass);
    CreateWindowA("BrumixWineKeeper", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);

    SetTimer(nullptr, 0, 24 * 60 * 60 * 1000, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER)
            break;
        DispatchMessageA(&message);
    }
    return 0;
}
