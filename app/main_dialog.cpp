// The main dialog: a folder, a pattern list, two options and five commands.
#include "app/main_dialog.h"

#include "app/banner_font.h"
#include "app/box_text.h"
#include "app/browse_button_names.h"
#include "app/check_box_fit.h"
#include "app/dialog_preferences.h"
#include "app/progress_title.h"
#include "base/global_block.h"
#include "engine/deletion_run.h"
#include "engine/start_folder.h"
#include "help/help_viewer.h"
#include "pickers/folder_picker.h"
#include "pickers/pattern_picker.h"

HINSTANCE g_instance;
HICON g_browseIcon;
HWND g_mainWindow;
HFONT g_bannerFont;

namespace {

typedef int (*Picker)(HWND owner, WCHAR* buffer, int capacity);

// True while RunCommand is under way. The run hands the dialog its messages as it goes,
// so commands can arrive in the middle of it: none may start anything then.
bool g_runUnderWay;

SIZE_T CharacterBytes(int characters)
{
    return static_cast<SIZE_T>(characters) * sizeof(WCHAR);
}

// Left to itself an edit field keeps only the first 30,000 characters typed or pasted into
// it: a pasted pattern list cut there could end in a lone "*", and a folder text cut there
// could name a folder above the one meant. The boxes take texts of any length.
void LiftTextLimits(HWND window)
{
    SendDlgItemMessageW(window, IDC_FOLDER, EM_LIMITTEXT, 0, 0);
    SendDlgItemMessageW(window, IDC_PATTERNS, CB_LIMITTEXT, 0, 0);
}

void InitMainDialog(HWND window)
{
    CreateBannerFont(window, IDC_TITLE, "Arial", BANNER_BOLD);
    FitCheckBoxes(window);
    SendDlgItemMessageW(window, IDC_BROWSE_FOLDER, BM_SETIMAGE, IMAGE_ICON,
                        reinterpret_cast<LPARAM>(g_browseIcon));
    SendDlgItemMessageW(window, IDC_BROWSE_PATTERNS, BM_SETIMAGE, IMAGE_ICON,
                        reinterpret_cast<LPARAM>(g_browseIcon));
    NameBrowseButtons(window);

    // Shown as the system gives it, whatever its length: a drive root keeps its
    // backslash, other folders have none.
    DWORD needed = GetCurrentDirectoryW(0, nullptr);
    GlobalBlock folder(CharacterBytes(static_cast<int>(needed)));
    if (folder && needed > 0 && GetCurrentDirectoryW(needed, folder.as<WCHAR>()) < needed)
        SetDlgItemTextW(window, IDC_FOLDER, folder.as<WCHAR>());

    EnableWindow(GetDlgItem(window, IDC_TITLE), FALSE);
    LiftTextLimits(window);
    LoadDialogPreferences(window);
}

// The folder is made full once, before the run asks its question, and the box shows it as
// the question names it: a relative text is read against the current directory of the
// moment (which the previous run may have moved), an empty one is the root of the current
// drive. The walk then starts in exactly that folder, from that very text.
void StartRun(HWND window, const WCHAR* typed, const WCHAR* patterns)
{
    WCHAR* folder = MakeFullFolder(typed);
    if (folder == nullptr)
        return;
    if (CompareStringOrdinal(folder, -1, typed, -1, FALSE) != CSTR_EQUAL)
        SetDlgItemTextW(window, IDC_FOLDER, folder);
    OptionFlags flags = ReadOptionFlags(window);

    HWND focused = GetFocus();
    g_runUnderWay = true;
    SetBusy(window, FALSE);
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    StartProgressTitle(window);
    RunDeletionFromFullFolder(window, folder, patterns, flags);
    EndProgressTitle(window);
    SetBusy(window, TRUE);
    g_runUnderWay = false;
    RestoreAfterRun(window, focused);
    GlobalFree(folder);
}

// Both boxes are read whole, whatever their length: a text cut anywhere could name
// another folder or, with its last pattern cut, other files. A box that cannot be read
// stops the command: its text is not an empty one, which names the drive's root.
void RunCommand(HWND window)
{
    WCHAR* typed = ReadBoxText(GetDlgItem(window, IDC_FOLDER));
    WCHAR* patterns = typed != nullptr ? ReadBoxText(GetDlgItem(window, IDC_PATTERNS)) : nullptr;
    if (patterns != nullptr)
        StartRun(window, typed, patterns);
    if (patterns != nullptr)
        GlobalFree(patterns);
    if (typed != nullptr)
        GlobalFree(typed);
}

// Escape, the close box and Alt+F4 during a run stop it as a per-file question's Annuler
// does: the file at hand is kept, nothing more is deleted, and the dialog stays.
void StopRun()
{
    g_cancelRequested = 1;
}

// The wait cursor over the dialog while a run deletes; a per-file question, which
// disables the dialog, keeps the usual one.
bool ShowWaitCursor(HWND window)
{
    if (!g_runUnderWay || !IsWindowEnabled(window))
        return false;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
    return true;
}

// The picker's buffer holds whatever it can give: the longest path for the folder, the
// patterns of the largest selection for the patterns.
void BrowseInto(HWND window, int boxId, Picker pick, int capacity)
{
    GlobalBlock buffer(CharacterBytes(capacity));
    if (buffer && pick(window, buffer.as<WCHAR>(), capacity))
        SetDlgItemTextW(window, boxId, buffer.as<WCHAR>());
}

void HandleMainCommand(HWND window, int commandId);

// F1 asks for help as Aide does. The question comes up here from whichever of the
// program's windows has the keyboard: from the dialog's controls, and also from a window
// over it (the help itself, a question, a picker) once that one has passed it to its
// owner. Only the dialog as Aide leaves it, enabled with no window of ours over it,
// opens the help; during a run the command is refused like any other.
void HelpAskedWithF1(HWND window)
{
    if (IsWindowEnabled(window))
        HandleMainCommand(window, IDHELP);
}

void HandleMainCommand(HWND window, int commandId)
{
    if (g_runUnderWay) {
        if (commandId == IDCANCEL)
            StopRun();
        return;
    }
    switch (commandId) {
    case IDOK:
        RunCommand(window);
        break;
    case IDCANCEL:
        SaveDialogPreferences(window);
        EndDialog(window, 0);
        break;
    case IDHELP:
        ShowHelp(g_instance, IDD_HELP, window, IDR_HELP_TEXT);
        break;
    case IDC_BROWSE_FOLDER:
        BrowseInto(window, IDC_FOLDER, BrowseFolder, FOLDER_PICK_CAPACITY);
        break;
    case IDC_BROWSE_PATTERNS:
        BrowseInto(window, IDC_PATTERNS, BrowsePatterns, PATTERN_PICK_CAPACITY);
        break;
    }
}

}  // namespace

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        g_mainWindow = window;
        InitMainDialog(window);
        return TRUE;
    case WM_COMMAND:
        HandleMainCommand(window, LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        // The close box and Alt+F4 come here; when idle the dialog manager turns them
        // into IDCANCEL, which closes the program.
        if (!g_runUnderWay)
            return FALSE;
        StopRun();
        return TRUE;
    case WM_HELP:
        HelpAskedWithF1(window);
        return TRUE;
    case WM_DESTROY:
        ForgetBrowseButtonNames(window);
        return FALSE;
    case WM_SETCURSOR:
        return ShowWaitCursor(window);
    case WM_TIMER:
        if (wParam != PROGRESS_TIMER_ID)
            return FALSE;
        UpdateProgressTitle(window);
        return TRUE;
    }
    return FALSE;
}

namespace {

// The dialog's own control that had the focus (a combo box's edit field has it for its
// box), or OK when that one is gone, hidden or disabled.
void GiveFocusBack(HWND window, HWND focused)
{
    HWND control = focused;
    while (control != nullptr && IsChild(window, control) && GetParent(control) != window)
        control = GetParent(control);
    if (control == nullptr || !IsChild(window, control) || !IsWindowEnabled(control) || !IsWindowVisible(control))
        control = GetDlgItem(window, IDOK);
    // The dialog's way of moving the focus, which also keeps the default button right.
    SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

// What a move of the mouse would do: the window of this program under it sets its cursor.
void RefreshCursor()
{
    POINT at;
    if (!GetCursorPos(&at))
        return;
    HWND under = WindowFromPoint(at);
    if (under == nullptr || GetWindowThreadProcessId(under, nullptr) != GetCurrentThreadId())
        return;
    LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
}

}  // namespace

void RestoreAfterRun(HWND window, HWND focused)
{
    GiveFocusBack(window, focused);
    RefreshCursor();
}

void SetBusy(HWND window, BOOL enable)
{
    for (int id : BusyControlIds)
        EnableWindow(GetDlgItem(window, id), enable);
}

void ApplyOptionFlags(HWND window, OptionFlags flags)
{
    CheckDlgButton(window, IDC_RECURSE, (flags & OPT_RECURSE) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(window, IDC_CONFIRM, (flags & OPT_CONFIRM) ? BST_CHECKED : BST_UNCHECKED);
}

OptionFlags ReadOptionFlags(HWND window)
{
    OptionFlags flags = 0;
    if (IsDlgButtonChecked(window, IDC_RECURSE))
        flags |= OPT_RECURSE;
    if (IsDlgButtonChecked(window, IDC_CONFIRM))
        flags |= OPT_CONFIRM;
    return flags;
}
