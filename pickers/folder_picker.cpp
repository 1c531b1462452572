#include "pickers/folder_picker.h"

#include <commdlg.h>
#include <dlgs.h>

#include <cstring>

#include "base/global_block.h"
#include "pickers/current_directory_guard.h"
#include "pickers/open_request.h"

namespace {

constexpr int PATH_BLOCK_SIZE = 260;
// Room for the filter's own name, "$$$.$$$", which the dialog returns when the user
// accepts a folder without typing a name.
constexpr int TITLE_BLOCK_SIZE = 8;
// A pattern that names no ordinary file keeps the file list empty.
constexpr char FOLDER_FILTER[] = "$$$.$$$\0$$$.$$$\0";
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
        SendMessageA(child, WM_SETFONT, font, FALSE);
    }

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

int CopyPickedFolder(const char* path, const char* title, int nameOffset, char* folder, int capacity)
{
    int pathLength = lstrlenA(path);
    int titleLength = lstrlenA(title);
    int folderLength;
    // Wine leaves the title empty after the classic dialog, and a name too long for the
    // title block may come back cut: the name's offset in the path is the fallback.
    if (titleLength > 0 && titleLength <= pathLength &&
        std::memcmp(path + pathLength - titleLength, title, titleLength) == 0)
        folderLength = pathLength - titleLength;
    else
        folderLength = nameOffset;
    if (folderLength <= 0 || folderLength > pathLength || path[folderLength - 1] != '\\')
        return 0;
    if (folderLength >= capacity)
        return 0;  // a cut folder would name another one
    lstrcpynA(folder, path, folderLength + 1);
    return 1;
}

int BrowseFolder(HWND owner, char* folder, int capacity)
{
    CurrentDirectoryGuard currentDirectory;
    GlobalBlock path(PATH_BLOCK_SIZE);
    GlobalBlock title(TITLE_BLOCK_SIZE);
    GlobalBlock record(OPEN_REQUEST_SIZE);
    if (!path || !title || !record)
        return 0;

    OPENFILENAMEA* request = record.as<OPENFILENAMEA>();
    request->lStructSize = OPEN_REQUEST_SIZE;
    request->hwndOwner = owner;
    request->lpstrFilter = FOLDER_FILTER;
    request->lpstrFile = path.text();
    request->nMaxFile = PATH_BLOCK_SIZE;
    request->lpstrFileTitle = title.text();
    request->nMaxFileTitle = TITLE_BLOCK_SIZE;
    request->lpstrTitle = "Répertoire à parcourir";
    request->Flags = FOLDER_PICKER_FLAGS;
    request->lpfnHook = FolderPickerHook;

    int result = GetOpenFileNameA(request);
    if (result != 0 && !CopyPickedFolder(path.text(), title.text(), request->nFileOffset, folder, capacity))
        result = 0;
    return result;
}
