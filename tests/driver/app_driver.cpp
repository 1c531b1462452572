#include "driver/app_driver.h"

#include "res/resource.h"
#include "support/utf8.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace driver {

namespace {

constexpr int MESSAGE_TEXT_ID = 0xFFFF;  // a message box's body text, on Windows and Wine

DWORD OwningProcess(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

// The program's dialogs and boxes; those not shown yet too, unless `shownOnly`.
std::vector<HWND> DialogsOf(DWORD processId, bool shownOnly = true)
{
    return TopLevelWindows(processId, [shownOnly](HWND window) {
        return (!shownOnly || IsWindowVisible(window)) && ClassName(window) == "#32770";
    });
}

HWND IconControl(HWND box)
{
    return GetDlgItem(box, IsQuestionDialog(box) ? IDC_QUESTION_ICON : RunningUnderWine() ? 1088 : 20);
}

// An edit box breaks its lines with "\r\n", a message box with "\n".
std::string WithoutCarriageReturns(std::string text)
{
    size_t to = 0;
    for (size_t from = 0; from < text.size(); ++from)
        if (!(text[from] == '\r' && from + 1 < text.size() && text[from + 1] == '\n'))
            text[to++] = text[from];
    text.resize(to);
    return text;
}

// Which of the system's message box icons a static shows, by comparing its pixels on
// screen with each icon drawn here on the same background.
int IdentifyIcon(HWND iconStatic)
{
    if (iconStatic == nullptr || !IsWindowVisible(iconStatic))
        return 0;
    RECT rect;
    GetWindowRect(iconStatic, &rect);
    int width = GetSystemMetrics(SM_CXICON), height = GetSystemMetrics(SM_CYICON);

    HDC screen = GetDC(nullptr);
    HDC shown = CreateCompatibleDC(screen);
    HBITMAP shownBitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ oldShown = SelectObject(shown, shownBitmap);
    BitBlt(shown, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    COLORREF background = GetPixel(shown, 0, 0);

    static const struct { LPCSTR resource; int style; } icons[] = {
        {IDI_HAND, MB_ICONHAND}, {IDI_QUESTION, MB_ICONQUESTION},
        {IDI_EXCLAMATION, MB_ICONEXCLAMATION}, {IDI_ASTERISK, MB_ICONASTERISK},
    };
    int best = 0;
    long bestDifferences = width * height;
    HDC drawn = CreateCompatibleDC(screen);
    HBITMAP drawnBitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ oldDrawn = SelectObject(drawn, drawnBitmap);
    for (const auto& icon : icons) {
        RECT all = {0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(drawn, &all, brush);
        DeleteObject(brush);
        DrawIconEx(drawn, 0, 0, LoadIconA(nullptr, icon.resource), width, height, 0, nullptr, DI_NORMAL);
        long differences = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                differences += GetPixel(drawn, x, y) != GetPixel(shown, x, y);
        if (differences < bestDifferences) {
            bestDifferences = differences;
            best = icon.style;
        }
    }
    SelectObject(drawn, oldDrawn);
    DeleteObject(drawnBitmap);
    DeleteDC(drawn);
    SelectObject(shown, oldShown);
    DeleteObject(shownBitmap);
    DeleteDC(shown);
    ReleaseDC(nullptr, screen);
    // A blank static, or a picture that is none of them, is no icon.
    return bestDifferences * 10 < width * height ? best : 0;
}

}  // namespace

bool IsQuestionDialog(HWND window)
{
    HWND text = GetDlgItem(window, MESSAGE_TEXT_ID);
    if (ClassName(window) != "#32770" || text == nullptr || ClassName(text) != "Edit")
        return false;
    LONG style = GetWindowLongA(text, GWL_STYLE);
    return (style & ES_READONLY) != 0 && (style & ES_MULTILINE) != 0;
}

bool IsMessageBox(HWND window)
{
    // A message box has its text in a static of id 0xFFFF and no edit box; the file
    // dialogs have edit boxes, the help dialog has no such static.
    HWND text = GetDlgItem(window, MESSAGE_TEXT_ID);
    if (ClassName(window) != "#32770" || text == nullptr)
        return false;
    if (IsQuestionDialog(window))
        return true;
    return ClassName(text) == "Static" && FindWindowExA(window, nullptr, "Edit", nullptr) == nullptr &&
           FindWindowExA(window, nullptr, "ComboBox", nullptr) == nullptr;
}

std::string MessageText(HWND box)
{
    return WithoutCarriageReturns(WindowText(GetDlgItem(box, MESSAGE_TEXT_ID)));
}

std::string MessageUtf8Text(HWND box)
{
    return WithoutCarriageReturns(WindowUtf8Text(GetDlgItem(box, MESSAGE_TEXT_ID)));
}

namespace {

// The thread that let a message wait past WAIT_MS: it is not waited for again.
DWORD g_unansweringThread = 0;

typedef LRESULT(WINAPI* SendTimeoutFunction)(HWND, UINT, WPARAM, LPARAM, UINT, UINT, PDWORD_PTR);

bool SendBounded(SendTimeoutFunction send, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                 LRESULT* reply)
{
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    DWORD_PTR result = 0;
    if (thread == 0) {
        ADD_FAILURE() << "message 0x" << std::hex << message << " sent to a window that does not exist";
        return false;
    }
    if (thread == g_unansweringThread)
        return false;
    if (send(window, message, wParam, lParam, SMTO_NORMAL, WAIT_MS, &result) != 0) {
        if (reply != nullptr)
            *reply = static_cast<LRESULT>(result);
        return true;
    }
    g_unansweringThread = thread;
    ADD_FAILURE() << "brumix.exe did not handle message 0x" << std::hex << message << std::dec << " sent to "
                  << ClassName(window) << " " << GetDlgCtrlID(window) << " within " << WAIT_MS
                  << " ms; no further message is sent to it";
    return false;
}

}  // namespace

bool SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* reply)
{
    return SendBounded(SendMessageTimeoutA, window, message, wParam, lParam, reply);
}

bool SendAndWaitW(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* reply)
{
    return SendBounded(SendMessageTimeoutW, window, message, wParam, lParam, reply);
}

std::string WindowText(HWND window)
{
    LRESULT length = 0, copied = 0;
    if (!SendAndWait(window, WM_GETTEXTLENGTH, 0, 0, &length) || length < 0)
        return "";
    std::string text(static_cast<size_t>(length) + 1, '\0');
    if (!SendAndWait(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), &copied))
        return "";
    text.resize(std::min(static_cast<size_t>(copied < 0 ? 0 : copied), static_cast<size_t>(length)));
    return text;
}

std::string WindowUtf8Text(HWND window)
{
    LRESULT length = 0, copied = 0;
    if (!SendAndWaitW(window, WM_GETTEXTLENGTH, 0, 0, &length) || length < 0)
        return "";
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    if (!SendAndWaitW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), &copied))
        return "";
    text.resize(std::min(static_cast<size_t>(copied < 0 ? 0 : copied), static_cast<size_t>(length)));
    return Utf8(text);
}

void TypeUtf8(HWND control, const std::string& text)
{
    // Keys reach the edit field inside a combo box, which tells the box of each change.
    HWND edit = ClassName(control) == "ComboBox" ? FindWindowExA(control, nullptr, "Edit", nullptr) : control;
    if (!SendAndWaitW(edit, EM_SETSEL, 0, -1) || !SendAndWaitW(edit, WM_CHAR, VK_BACK, 1))
        return;
    for (wchar_t c : Wide(text))
        if (!SendAndWaitW(edit, WM_CHAR, c, 1))
            return;
}

RECT ClientRectOf(HWND child, HWND dialog)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string ClassName(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

namespace {

struct TopLevelSearch {
    DWORD processId;
    const std::function<bool(HWND)>* keep;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<TopLevelSearch*>(lParam);
    if (OwningProcess(window) == search->processId && (*search->keep)(window))
        search->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, const std::function<bool(HWND)>& keep)
{
    TopLevelSearch search = {processId, &keep, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ProgramFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

bool RunningUnderWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

BrumixApp::~BrumixApp()
{
    if (process_.hProcess == nullptr)
        return;
    if (IsRunning()) {
        ADD_FAILURE() << "brumix.exe was still running at the end of the test; stopped";
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, WAIT_MS);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool BrumixApp::Start(const std::string& currentDirectory)
{
    g_unansweringThread = 0;
    std::string program = ProgramFolder() + "brumix.exe";
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &startup,
                        &process_)) {
        ADD_FAILURE() << "cannot start " << program << " (error " << GetLastError() << ")";
        return false;
    }
    WaitForInputIdle(process_.hProcess, WAIT_MS);
    // The dialog exists a little before it shows: wait for both.
    bool shown = WaitUntil([&] {
        for (HWND window : DialogsOf(process_.dwProcessId))
            if (GetDlgItem(window, 100) != nullptr && GetDlgItem(window, 101) != nullptr) {
                dialog_ = window;
                return true;
            }
        return false;
    });
    if (!shown)
        ADD_FAILURE() << "the main dialog of brumix.exe did not show";
    return shown;
}

std::string BrumixApp::Text(int id) const
{
    return WindowText(Control(id));
}

void BrumixApp::SetText(int id, const std::string& text)
{
    SendAndWait(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string BrumixApp::Utf8Text(int id) const
{
    return WindowUtf8Text(Control(id));
}

void BrumixApp::SetUtf8Text(int id, const std::string& text)
{
    std::wstring wide = Wide(text);
    SendAndWaitW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void BrumixApp::TypeUtf8(int id, const std::string& text)
{
    driver::TypeUtf8(Control(id), text);
}

bool BrumixApp::PasteUtf8(int id, const std::string& text)
{
    // The clipboard takes data only from an owner window.
    HWND owner = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    std::wstring wide = Wide(text);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
    bool put = false;
    if (owner != nullptr && data != nullptr && OpenClipboard(owner)) {
        CopyMemory(GlobalLock(data), wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(data);
        put = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, data) != nullptr;
        CloseClipboard();
    }
    if (!put) {
        ADD_FAILURE() << "the text could not be put on the clipboard";
        if (data != nullptr)
            GlobalFree(data);
        if (owner != nullptr)
            DestroyWindow(owner);
        return false;
    }
    HWND control = Control(id);
    HWND edit = ClassName(control) == "ComboBox" ? FindWindowExA(control, nullptr, "Edit", nullptr) : control;
    bool pasted = SendAndWait(edit, EM_SETSEL, 0, -1) && SendAndWait(edit, WM_PASTE, 0, 0);
    DestroyWindow(owner);
    return pasted;
}

bool BrumixApp::IsChecked(int id) const
{
    LRESULT state = BST_UNCHECKED;
    SendAndWait(Control(id), BM_GETCHECK, 0, 0, &state);
    return state == BST_CHECKED;
}

void BrumixApp::SetChecked(int id, bool checked)
{
    if (IsChecked(id) != checked)
        SendAndWait(Control(id), BM_CLICK, 0, 0);
}

std::wstring BrumixApp::Title() const
{
    WCHAR title[256] = L"";
    GetWindowTextW(dialog_, title, 256);
    return title;
}

bool BrumixApp::WaitForTitle(const std::wstring& title)
{
    bool shown = WaitUntil([&] { return Title() == title; });
    if (!shown)
        ADD_FAILURE() << "the title never read \"" << Utf8(title) << "\"; it reads \"" << Utf8(Title()) << "\"";
    return shown;
}

void BrumixApp::Press(int id)
{
    PostMessageA(Control(id), BM_CLICK, 0, 0);
}

bool BrumixApp::BeginRun(const std::string& folder, const std::string& patterns, bool recurse, bool confirm)
{
    SetText(101, folder);
    SetText(103, patterns);
    SetChecked(106, recurse);
    SetChecked(105, confirm);
    Press(IDOK);
    MessageBoxSeen summary;
    if (!WaitForMessageBox(summary))
        return false;
    EXPECT_EQ(summary.caption, "Veuillez confirmer");
    return Answer(summary, IDYES);
}

void BrumixApp::PostKey(HWND target, UINT key)
{
    UINT scan = MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
    PostMessageA(target, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageA(target, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
}

void BrumixApp::PressKey(UINT key)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &info);
    PostKey(info.hwndFocus != nullptr ? info.hwndFocus : dialog_, key);
}

bool BrumixApp::TypeKey(HWND window, UINT key)
{
    // Xvfb has no window manager: the test brings the window forward itself.
    SetForegroundWindow(window);
    if (!WaitUntil([&] { return GetForegroundWindow() == window; })) {
        ADD_FAILURE() << "the program's window never came to the foreground";
        return false;
    }
    INPUT strokes[2] = {};
    for (INPUT& stroke : strokes) {
        stroke.type = INPUT_KEYBOARD;
        stroke.ki.wVk = static_cast<WORD>(key);
        stroke.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    }
    strokes[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, strokes, sizeof(INPUT)) == 2;
}

bool BrumixApp::Focus(int id)
{
    PostMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(id)), TRUE);
    return WaitForFocusIn(Control(id));
}

void BrumixApp::ClickCloseBox(HWND window)
{
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

HWND BrumixApp::FindMessageBox(HWND owner, bool shownOnly) const
{
    for (HWND window : DialogsOf(process_.dwProcessId, shownOnly)) {
        if (window == dialog_ || !IsMessageBox(window))
            continue;
        HWND expected = owner == MAIN_DIALOG ? dialog_ : owner;
        if (owner == ANY_OWNER || GetWindow(window, GW_OWNER) == expected)
            return window;
    }
    return nullptr;
}

bool BrumixApp::WaitForMessageBox(MessageBoxSeen& box, HWND owner)
{
    HWND window = nullptr;
    if (!WaitUntil([&] { return (window = FindMessageBox(owner)) != nullptr; })) {
        ADD_FAILURE() << "no message box showed up";
        return false;
    }
    box.window = window;
    char caption[512] = "";
    GetWindowTextA(window, caption, sizeof caption);
    box.caption = caption;
    box.text = MessageText(window);
    box.utf8Text = MessageUtf8Text(window);
    box.buttons.clear();
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDTRYAGAIN, IDCONTINUE}) {
        HWND button = GetDlgItem(window, id);
        if (button != nullptr && IsWindowVisible(button))
            box.buttons.push_back(id);
    }
    HWND icon = IconControl(window);
    LRESULT shownIcon = 0;
    box.showsIcon = icon != nullptr && IsWindowVisible(icon) && SendAndWait(icon, STM_GETICON, 0, 0, &shownIcon) &&
                    shownIcon != 0;
    return true;
}

int ShownIcon(const MessageBoxSeen& box)
{
    if (!box.showsIcon)
        return 0;
    HWND icon = IconControl(box.window);
    // Painted once nothing of it is left to paint; UpdateWindow would wait on the program
    // without bound.
    WaitUntil([&] { return !GetUpdateRect(box.window, nullptr, FALSE) && !GetUpdateRect(icon, nullptr, FALSE); });
    int shown = 0;
    WaitUntil([&] { return (shown = IdentifyIcon(icon)) != 0; });
    return shown;
}

bool BrumixApp::CatchUp()
{
    // The marker is the Aide button's pushed look, which the program never sets: posted
    // now, it is handled after every message posted before it, whatever loop handles it.
    HWND marker = Control(IDHELP);
    PostMessageA(marker, BM_SETSTATE, TRUE, 0);
    bool handled = WaitUntil([&] {
        DWORD_PTR state = 0;
        return SendMessageTimeoutA(marker, BM_GETSTATE, 0, 0, SMTO_NORMAL, WAIT_MS, &state) != 0 &&
               (state & BST_PUSHED) != 0;
    });
    PostMessageA(marker, BM_SETSTATE, FALSE, 0);
    if (!handled)
        ADD_FAILURE() << "brumix.exe did not handle the messages posted to it";
    return handled;
}

bool CatchUpWithInput(HWND window)
{
    RECT corner = {0, 0, 1, 1};
    InvalidateRect(window, &corner, FALSE);
    bool handled = WaitUntil([&] { return !GetUpdateRect(window, nullptr, FALSE); });
    if (!handled)
        ADD_FAILURE() << "the window did not handle the input sent to it";
    return handled;
}

bool BrumixApp::HasMessageBox() const
{
    return FindMessageBox(ANY_OWNER, false) != nullptr;
}

bool BrumixApp::Answer(const MessageBoxSeen& box, int id)
{
    HWND button = GetDlgItem(box.window, id);
    if (button != nullptr)
        PostMessageA(button, BM_CLICK, 0, 0);
    else
        PostMessageA(box.window, WM_COMMAND, static_cast<WPARAM>(id), 0);
    return WaitGone(box.window);
}

bool BrumixApp::WaitForFocusIn(HWND window)
{
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    bool focused = WaitUntil([&] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr &&
               (info.hwndFocus == window || IsChild(window, info.hwndFocus));
    });
    if (!focused)
        ADD_FAILURE() << "the keyboard focus never reached the window";
    return focused;
}

bool BrumixApp::AnswerWithKey(const MessageBoxSeen& box, UINT key)
{
    // Keys sent before the box has the focus go astray.
    if (!WaitForFocusIn(box.window))
        return false;
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(box.window, nullptr), &info);
    PostKey(info.hwndFocus, key);
    return WaitGone(box.window);
}

bool BrumixApp::AnswerWithCloseBox(const MessageBoxSeen& box)
{
    ClickCloseBox(box.window);
    return WaitGone(box.window);
}

HWND BrumixApp::WaitForDialog(const std::string& caption)
{
    HWND found = nullptr;
    bool shown = WaitUntil([&] {
        for (HWND window : DialogsOf(process_.dwProcessId)) {
            char text[512] = "";
            GetWindowTextA(window, text, sizeof text);
            if (window != dialog_ && caption == text && !IsMessageBox(window)) {
                found = window;
                return true;
            }
        }
        return false;
    });
    if (!shown)
        ADD_FAILURE() << "no dialog \"" << caption << "\" showed up";
    return found;
}

bool BrumixApp::WaitGone(HWND window)
{
    bool gone = WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); });
    if (!gone)
        ADD_FAILURE() << "a window of brumix.exe did not close";
    return gone;
}

bool BrumixApp::WaitIdle()
{
    HWND box = nullptr;
    bool over = WaitUntil([&] {
        if ((box = FindMessageBox(ANY_OWNER)) != nullptr)
            return true;
        for (int id : BUSY_CONTROLS)
            if (!IsWindowEnabled(Control(id)))
                return false;
        return true;
    });
    if (box != nullptr) {
        ADD_FAILURE() << "a message box showed up before the run ended: \"" << WindowText(box) << "\", \""
                      << MessageText(box) << "\"";
        return false;
    }
    if (!over)
        ADD_FAILURE() << "the run never ended: the dialog's controls stayed disabled";
    return over;
}

bool BrumixApp::WaitForExit(DWORD& exitCode)
{
    if (WaitForSingleObject(process_.hProcess, WAIT_MS) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "brumix.exe did not end";
        return false;
    }
    GetExitCodeProcess(process_.hProcess, &exitCode);
    return true;
}

const char* CloseWayName(CloseWay way)
{
    return way == BY_FERMER ? "Fermer" : way == BY_ESCAPE ? "Escape" : "close box";
}

bool BrumixApp::Close(CloseWay way)
{
    switch (way) {
    case BY_FERMER: Press(IDCANCEL); break;
    case BY_ESCAPE: PressKey(VK_ESCAPE); break;
    case BY_CLOSE_BOX: ClickCloseBox(dialog_); break;
    }
    DWORD exitCode = 1;
    if (!WaitForExit(exitCode))
        return false;
    EXPECT_EQ(exitCode, 0u) << "exit code after closing with " << CloseWayName(way);
    return exitCode == 0;
}

bool BrumixApp::IsRunning() const
{
    return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

}  // namespace driver
