#include "pickers/folder_picker.h"

#include <commdlg.h>
#include <dlgs.h>

#include "base/global_block.h"
#include "pickers/current_directory_guard.h"
#include "pickers/open_request.h"

namespace {

// Room for any name that the name box may return as the title (the filter's own name,
// "$$$.$$$", when the user accepts a folder without typing one): the longest name a folder
// can hold and its terminator. The folder is still found without the title, which Wine
// leaves empty.
constexpr int TITLE_BLOCK_SIZE = MAX_PATH;
// A pattern that names no ordinary file keeps the file list empty.
constexpr WCHAR FOLDER_FILTER[] = L"$$$.$$$\0$$$.$$$\0";
constexpr WCHAR FOLDER_PICKER_TITLE[] = L"R\u00e9pertoire \u00e0 parcourir";
constexpr DWORD FOLDER_PICKER_FLAGS =
    OFN_PATHMUSTEXIST | OFN_ENABLEHOOK | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
static_assert(FOLDER_PICKER_FLAGS == 0x82E, "the classic dialog, hooked");

RECT ClientRectOf(HWND child, HWND dialog)
{
    RECT rect;
    GetWindowRect(child, &rect);
    ScreenToClient(dialog, reinterpret_cast<POINT*>(&rect.left));
    ScreenToClient(dialog, reinterpret_cast<POINT*>(&rect.right));
    return rect;
}

// A control slid wholly out of view (the name box, the file list, the type list) still took
// the keyboard: Tab went through it unseen, and the dialog opened with the focus in the
// hidden name box. It is left out of the tab order, and keeps its text, which Open reads.
void LeaveOutOfTabOrder(HWND child, const RECT& placed)
{
    if (placed.right > 0)
        return;
    LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    if (style & WS_TABSTOP)
        SetWindowLongPtrW(child, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_TABSTOP));
}

// The dialog manager gives the focus to a control after the hook's WM_INITDIALOG has
// returned 1: on Windows the one it chose before the hook ran (the name box); under Wine
// the first tab stop left. A message posted now comes after both, and moves the focus the
// dialog's own way (WM_NEXTDLGCTL keeps the default button right) to the folder list.
void StartFocusOnFolderList(HWND dialog)
{
    HWND folderList = GetDlgItem(dialog, lst2);
    if (folderList != nullptr)
        PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(folderList), TRUE);
}

void NarrowToFolderColumn(HWND dialog)
{
    // A dialog without the current folder's static is not laid out as expected: nothing
    // to align on, so it is left as it is.
    HWND folderPath = GetDlgItem(dialog, stc1);
    if (folderPath == nullptr)
        return;
    int shift = FOLDER_COLUMN_MARGIN - ClientRectOf(folderPath, dialog).left;

    WPARAM font = reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT));
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect = ClientRectOf(child, dialog);
        OffsetRect(&rect, shift, 0);
        SetWindowPos(child, nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SendMessageW(child, WM_SETFONT, font, FALSE);
        LeaveOutOfTabOrder(child, rect);
    }
    StartFocusOnFolderList(dialog);

    RECT frame;
    GetWindowRect(dialog, &frame);
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left + shift, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);
}

}  // namespace

UINT_PTR CALLBACK FolderPickerHook(HWND dialog, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        NarrowToFolderColumn(dialog);
        return 1;
    }
    return 0;
}

int CopyPickedFolder(const WCHAR* path, const WCHAR* title, int nameOffset, WCHAR* folder, int capacity)
{
    int pathLength = lstrlenW(path);
    int titleLength = lstrlenW(title);
    int folderLength;
    // Wine leaves the title empty after the classic dialog, and a name too long for the
    // title block may come back cut: the name's offset in the path is the fallback.
    if (titleLength > 0 && titleLength <= pathLength &&
        CompareStringOrdinal(path + pathLength - titleLength, titleLength, title, titleLength, FALSE) == CSTR_EQUAL)
        folderLength = pathLength - titleLength;
    else
        folderLength = nameOffset;
    if (folderLength <= 0 || folderLength > pathLength || path[folderLength - 1] != L'\\')
        return 0;
    if (folderLength >= capacity)
        return 0;  // a cut folder would name another one
    lstrcpynW(folder, path, folderLength + 1);
    return 1;
}

int TakeLongFolderForm(WCHAR* folder, int capacity)
{
    int length = lstrlenW(folder);
    GlobalBlock block(static_cast<SIZE_T>(capacity) * sizeof(WCHAR));
    if (!block || length == 0)
        return 0;
    WCHAR* longForm = block.as<WCHAR>();
    DWORD longLength = GetLongPathNameW(folder, longForm, static_cast<DWORD>(capacity));
    if (longLength == 0 || longLength >= static_cast<DWORD>(capacity))
        return 0;
    // The folder keeps its final backslash, whatever the system gives back.
    if (folder[length - 1] == L'\\' && longForm[longLength - 1] != L'\\') {
        if (longLength + 1 >= static_cast<DWORD>(capacity))
            return 0;
        longForm[longLength++] = L'\\';
        longForm[longLength] = L'\0';
    }
    CopyMemory(folder, longForm, (longLength + 1) * sizeof(WCHAR));
    return 1;
}

int BrowseFolder(HWND owner, WCHAR* folder, int capacity)
{
    CurrentDirectoryGuard currentDirectory;
    GlobalBlock path(FOLDER_PICK_CAPACITY * sizeof(WCHAR));
    GlobalBlock title(TITLE_BLOCK_SIZE * sizeof(WCHAR));
    GlobalBlock record(OPEN_REQUEST_SIZE);
    if (!path || !title || !record)
        return 0;

    OPENFILENAMEW* request = record.as<OPENFILENAMEW>();
    request->lStructSize = OPEN_REQUEST_SIZE;
    request->hwndOwner = owner;
    request->lpstrFilter = FOLDER_FILTER;
    request->lpstrFile = path.as<WCHAR>();
    request->nMaxFile = FOLDER_PICK_CAPACITY;
    request->lpstrFileTitle = title.as<WCHAR>();
    request->nMaxFileTitle = TITLE_BLOCK_SIZE;
    request->lpstrTitle = FOLDER_PICKER_TITLE;
    request->Flags = FOLDER_PICKER_FLAGS;
    request->lpfnHook = FolderPickerHook;

    int result = GetOpenFileNameW(request);
    if (result != 0 &&
        !CopyPickedFolder(path.as<WCHAR>(), title.as<WCHAR>(), request->nFileOffset, folder, capacity))
        result = 0;
    // The classic dialog, without OFN_LONGNAMES, gives folders by their short names on
    // Windows ("C:\PROGRA~1\"): the box shows the names the user knows. A folder whose
    // long form cannot be had keeps the short one, which names it too.
    if (result != 0)
        TakeLongFolderForm(folder, capacity);
    return result;
}
