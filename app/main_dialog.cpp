// The main dialog: a folder, a pattern list, two options and five commands.
#include "app/main_dialog.h"

#include "app/banner_font.h"
#include "base/global_block.h"
#include "engine/deletion_run.h"
#include "help/help_viewer.h"
#include "pickers/folder_picker.h"
#include "pickers/pattern_picker.h"
#include "prefs/preferences.h"

HINSTANCE g_instance;
HICON g_browseIcon;
HWND g_mainWindow;
HFONT g_bannerFont;

namespace {

typedef int (*Picker)(HWND owner, char* buffer, int capacity);

// True while RunCommand is under way. The run hands the dialog its messages as it goes,
// so commands can arrive in the middle of it: none may start anything then.
bool g_runUnderWay;

void InitMainDialog(HWND window)
{
    CreateBannerFont(window, IDC_TITLE, "Arial", BANNER_BOLD);
    SendDlgItemMessageA(window, IDC_BROWSE_FOLDER, BM_SETIMAGE, IMAGE_ICON,
                        reinterpret_cast<LPARAM>(g_browseIcon));
    SendDlgItemMessageA(window, IDC_BROWSE_PATTERNS, BM_SETIMAGE, IMAGE_ICON,
                        reinterpret_cast<LPARAM>(g_browseIcon));

    // Shown as the system gives it: a drive root keeps its backslash, other folders
    // have none. A current directory too long for the block leaves the box empty.
    GlobalBlock folder(TEXT_CAPACITY);
    if (folder) {
        GetCurrentDirectoryA(TEXT_CAPACITY, folder.text());
        SetDlgItemTextA(window, IDC_FOLDER, folder.text());
    }

    EnableWindow(GetDlgItem(window, IDC_TITLE), FALSE);
    LoadPreferences(window);
}

void RunCommand(HWND window)
{
    // One byte more than a text block: a folder text of the full 259 characters still
    // gets its closing backslash, where cutting it would name another folder.
    GlobalBlock folder(TEXT_CAPACITY + 1);
    GlobalBlock patterns(TEXT_CAPACITY);
    if (!folder || !patterns)
        return;

    char* path = folder.text();
    GetDlgItemTextA(window, IDC_FOLDER, path, TEXT_CAPACITY);
    int length = lstrlenA(path);
    if (length == 0 || path[length - 1] != '\\') {
        path[length] = '\\';
        SetDlgItemTextA(window, IDC_FOLDER, path);
    }
    GetDlgItemTextA(window, IDC_PATTERNS, patterns.text(), TEXT_CAPACITY);
    OptionFlags flags = ReadOptionFlags(window);

    g_runUnderWay = true;
    SetBusy(window, FALSE);
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    RunDeletion(window, path, patterns.text(), flags);
    SetBusy(window, TRUE);
    g_runUnderWay = false;
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
    SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
    return true;
}

void BrowseInto(HWND window, int boxId, Picker pick)
{
    GlobalBlock buffer(TEXT_CAPACITY);
    if (buffer && pick(window, buffer.text(), TEXT_CAPACITY))
        SetDlgItemTextA(window, boxId, buffer.text());
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
        SavePreferences(window);
        EndDialog(window, 0);
        break;
    case IDHELP:
        ShowHelp(g_instance, IDD_HELP, window, IDR_HELP_TEXT);
        break;
    case IDC_BROWSE_FOLDER:
        BrowseInto(window, IDC_FOLDER, BrowseFolder);
        break;
    case IDC_BROWSE_PATTERNS:
        BrowseInto(window, IDC_PATTERNS, BrowsePatterns);
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
    case WM_SETCURSOR:
        return ShowWaitCursor(window);
    }
    return FALSE;
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
