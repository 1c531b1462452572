#include "engine/file_removal.h"

#include "app/global_block.h"
#include "app/main_dialog.h"
#include "engine/deletion_run.h"
#include "engine/found_path.h"

namespace {

constexpr int PATH_BYTES = FILE_PATH_LIMIT + 1;
constexpr int QUESTION_BYTES = 520;

// Opens the file for deletion when it is the entry that the walk found: not a link to a
// file elsewhere (Wine follows it even when asked not to), not another entry that the
// name's text resolves to. Gives INVALID_HANDLE_VALUE otherwise.
HANDLE OpenFoundFile(const char* path, const WCHAR* foundFolder, const char* name)
{
    int folderLength = lstrlenW(foundFolder);
    int capacity = folderLength + 1 + PATH_BYTES;
    GlobalBlock expected(static_cast<SIZE_T>(capacity) * sizeof(WCHAR));
    if (!expected)
        return INVALID_HANDLE_VALUE;
    lstrcpynW(expected.as<WCHAR>(), foundFolder, capacity);
    int length = AppendFoundName(expected.as<WCHAR>(), folderLength, capacity, name);
    if (length < 0)
        return INVALID_HANDLE_VALUE;

    // On Windows this opens a link itself, never its target; the walk passes over entries
    // marked as links before they get here.
    HANDLE file = CreateFileA(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file != INVALID_HANDLE_VALUE && !IsFoundAt(file, expected.as<WCHAR>(), length)) {
        CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
    }
    return file;
}

// Yes deletes, No keeps; anything else (Cancel, Escape, the close box, or 0 when the
// box cannot be shown) keeps the file and stops the run.
bool AskToDelete(const char* path, char* question)
{
    wsprintfA(question, "D'accord pour détruire\n%s\n?", path);
    int answer = MessageBoxA(g_mainWindow, question, "Confirmation d'effacement", MB_YESNOCANCEL);
    if (answer != IDYES && answer != IDNO)
        g_cancelRequested = 1;
    return answer == IDYES;
}

}  // namespace

bool RemoveFile(const char* folder, const char* name, OptionFlags options, const WCHAR* foundFolder)
{
    {
        // Declared in this order so that the path block is released first.
        GlobalBlock question(QUESTION_BYTES);
        GlobalBlock path(PATH_BYTES);
        // A longer path cannot be held whole, and a cut one would name another file.
        if (path && question && lstrlenA(folder) + lstrlenA(name) <= FILE_PATH_LIMIT) {
            wsprintfA(path.text(), "%s%s", folder, name);
            HANDLE file = OpenFoundFile(path.text(), foundFolder, name);
            if (file != INVALID_HANDLE_VALUE) {
                bool remove = !(options & OPT_CONFIRM) || AskToDelete(path.text(), question.text());
                if (remove) {
                    // Through the handle that was checked, so that it is that very file
                    // which goes. A read-only file stays, as with DeleteFileA.
                    FILE_DISPOSITION_INFO disposition = {TRUE};
                    SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
                }
                CloseHandle(file);
            }
        }
    }
    return g_cancelRequested == 0;
}
