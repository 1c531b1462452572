// Drives a running brumix.exe from outside, the way a person would: it finds the program's
// windows, types into its boxes, presses its buttons and keys, reads every message box the
// program shows and answers it. Every wait is bounded; a missing window fails the test.
//
// A message box stays until it is answered, and the program can do nothing else meanwhile:
// a box that nobody expected is caught by the next wait for the program to be idle, or
// found at once after CatchUp, never looked for during a fixed time.
#ifndef BRUMIX_TESTS_APP_DRIVER_H
#define BRUMIX_TESTS_APP_DRIVER_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace driver {

// How long any one wait lasts before the test fails.
constexpr DWORD WAIT_MS = 15000;
// How often a wait looks again.
constexpr DWORD POLL_MS = 10;

// Looks every POLL_MS until the condition holds, for at most `ms`; gives whether it held.
// No failure of its own: the caller says what did not happen.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD ms = WAIT_MS)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > ms)
            return false;
        Sleep(POLL_MS);
    }
    return true;
}

// The buttons, boxes and check boxes that a run switches off: OK, Fermer, Aide, the folder
// box and its button, the pattern box and its button, the two check boxes. Every test that
// looks at the busy dialog takes them from here.
constexpr int BUSY_CONTROLS[9] = {1, 2, 9, 101, 102, 103, 104, 105, 106};

// A message box as the user sees it; the question dialog that asks a text too long for a
// message box in its place is seen as one too (see IsMessageBox).
struct MessageBoxSeen {
    HWND window = nullptr;
    std::string caption;
    std::string text;          // as an ANSI program reads it, its line breaks as "\n"
    std::string utf8Text;      // every character as the box shows it
    std::vector<int> buttons;  // ids of the buttons it shows (IDOK, IDYES, ...), ascending
    bool showsIcon = false;    // its icon control is shown and holds an icon (see ShownIcon)
};

// The three ways a user closes the main dialog.
enum CloseWay { BY_FERMER, BY_ESCAPE, BY_CLOSE_BOX };
const char* CloseWayName(CloseWay way);

// Owner filter for WaitForMessageBox: the main dialog, or no condition on the owner.
inline HWND const MAIN_DIALOG = nullptr;
inline HWND const ANY_OWNER = reinterpret_cast<HWND>(-1);

class BrumixApp {
public:
    BrumixApp() = default;
    ~BrumixApp();  // a program still running when the test ends is stopped
    BrumixApp(const BrumixApp&) = delete;
    BrumixApp& operator=(const BrumixApp&) = delete;

    // Starts brumix.exe (next to the test program) with this current directory and waits
    // until its main dialog shows.
    bool Start(const std::string& currentDirectory);

    HWND dialog() const { return dialog_; }
    DWORD processId() const { return process_.dwProcessId; }
    HWND Control(int id) const { return GetDlgItem(dialog_, id); }

    std::string Text(int id) const;
    void SetText(int id, const std::string& text);
    // The same with texts in UTF-8, every character kept, in any script.
    std::string Utf8Text(int id) const;
    void SetUtf8Text(int id, const std::string& text);
    // Types a UTF-8 text into a box (into the combo box's edit field), key by key, over
    // whatever it held.
    void TypeUtf8(int id, const std::string& text);
    // Pastes a UTF-8 text into a box (into the combo box's edit field) over whatever it
    // held, through the clipboard as Ctrl+V does: unlike a text set, a paste meets the
    // box's limit. True once the box has handled it.
    bool PasteUtf8(int id, const std::string& text);
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);

    // The main dialog's title, as its title bar and its taskbar button show it; read as
    // the system keeps it, without asking the program.
    std::wstring Title() const;
    // Waits until the main dialog's title reads `title`.
    bool WaitForTitle(const std::wstring& title);

    // Clicks a button without waiting for what it does (it may open a modal box).
    void Press(int id);
    // Fills in the folder, the patterns and the two options, presses OK and answers the
    // summary question Yes: the run is then under way.
    bool BeginRun(const std::string& folder, const std::string& patterns, bool recurse, bool confirm);
    // Presses a key in whatever control of the program has the keyboard focus.
    void PressKey(UINT key);
    // Presses a key as the keyboard does (SendInput), once `window` of the program is the
    // foreground window: the system turns it into what a real key becomes (F1 into
    // WM_HELP), which a posted key never is. False when the window never came to the front.
    bool TypeKey(HWND window, UINT key);
    // Gives a control of the main dialog the keyboard focus, as Tab would, and waits
    // until it (or, for a combo box, its edit field) has it.
    bool Focus(int id);
    // Clicks the close box of one of the program's windows.
    void ClickCloseBox(HWND window);

    // Waits for a message box owned by `owner` (the main dialog by default).
    bool WaitForMessageBox(MessageBoxSeen& box, HWND owner = MAIN_DIALOG);
    // Waits until the program has handled every message posted to it so far, the keys and
    // commands of the test included. A box that they made it show exists by then.
    bool CatchUp();
    // True when a message box of the program exists, whatever its owner, shown yet or not.
    bool HasMessageBox() const;
    // Answers with the button of that id (or the command, for a button the box lacks)
    // and waits until the box is gone.
    bool Answer(const MessageBoxSeen& box, int id);
    bool AnswerWithKey(const MessageBoxSeen& box, UINT key);
    bool AnswerWithCloseBox(const MessageBoxSeen& box);

    // Waits for a visible dialog of the program with this caption (not a message box).
    HWND WaitForDialog(const std::string& caption);
    bool WaitGone(HWND window);
    // Waits until a run is over: the main dialog's inputs are enabled again. A message box
    // that shows up meanwhile fails the wait at once, with its text: the run could not end
    // before someone answered it.
    bool WaitIdle();
    // Waits for the program to end and gives its exit code.
    bool WaitForExit(DWORD& exitCode);
    // Closes the main dialog as a user would and waits for the program to end; fails the
    // test unless it ends with exit code 0.
    bool Close(CloseWay way = BY_FERMER);
    bool IsRunning() const;

private:
    HWND FindMessageBox(HWND owner, bool shownOnly = true) const;
    bool WaitForFocusIn(HWND window);
    void PostKey(HWND target, UINT key);

    PROCESS_INFORMATION process_ = {};
    HWND dialog_ = nullptr;
};

// Waits until the thread that owns `window` has handled the input queued for it so far (the
// mouse move of a SetCursorPos, say). A posted message cannot tell: a thread takes posted
// messages before input. Painting comes after input, so a corner of the window made
// invalid now is painted only once that input is handled.
bool CatchUpWithInput(HWND window);

// Which of the system's icons a box shows, told by its pixels on screen once it has painted
// them: MB_ICONQUESTION, MB_ICONHAND, ...; 0 when it shows none, or none of them.
int ShownIcon(const MessageBoxSeen& box);

// True for a message box (a dialog whose text is the static 0xFFFF, with no edit or combo
// box), and for the program's question dialog, which asks a text too long for a message
// box in its place: its text is a read-only, multi-line edit box of the same id.
bool IsMessageBox(HWND window);
bool IsQuestionDialog(HWND window);
// The text such a box shows, its line breaks as "\n" whichever of the two it is; in the
// ANSI code page and in UTF-8. In any process.
std::string MessageText(HWND box);
std::string MessageUtf8Text(HWND box);

// Sends a message to a window of the program and waits for it to be handled, WAIT_MS at
// most: a handler that opens a box, or hangs, fails the test in seconds, naming the message
// and the control, instead of holding it until CTest's timeout. Once a thread has let one
// message wait that long, later ones to it fail at once. Its reply goes to `reply` when
// given. SendAndWaitW sends through the UTF-16 call, for messages that carry texts. Every
// message that a test sends to another process goes through one of the two.
bool SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* reply = nullptr);
bool SendAndWaitW(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* reply = nullptr);

// Text of any window, including another process's edit boxes; in UTF-8, every character kept.
std::string WindowText(HWND window);
std::string WindowUtf8Text(HWND window);
// Types a UTF-8 text, in any script, key by key into an edit box or a combo box's edit
// field, over whatever it held.
void TypeUtf8(HWND control, const std::string& text);
std::string ClassName(HWND window);
// A child's rectangle in its dialog's client area.
RECT ClientRectOf(HWND child, HWND dialog);
// The top-level windows of a process, shown or not, that `keep` takes, in the system's
// order (the topmost first).
std::vector<HWND> TopLevelWindows(DWORD processId, const std::function<bool(HWND)>& keep);
// The directory that holds the running test program, with a final backslash.
std::string ProgramFolder();
// True under Wine, told by its ntdll's own export.
bool RunningUnderWine();

}  // namespace driver

#endif
