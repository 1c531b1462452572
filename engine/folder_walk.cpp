#include "engine/folder_walk.h"

#include "app/global_block.h"
#include "engine/file_removal.h"
#include "engine/found_path.h"
#include "engine/pattern_list.h"

namespace {

constexpr int CHILD_PATH_BYTES = FOLDER_PATH_LIMIT + 1;

bool IsDotEntry(const WCHAR* name)
{
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// Puts the name of the entry just enumerated into `entryName`, in the ANSI code page in
// which the run's paths are written. False when some character has no exact equivalent
// there: any text for it would name another entry, or none.
bool TakeEntryName(DeletionJob& job)
{
    BOOL lossy = FALSE;
    int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, job.findData->cFileName, -1, job.entryName,
                                    MAX_PATH, nullptr, &lossy);
    return bytes > 1 && !lossy;
}

// Makes `folder` the current directory, if the platform finds it where the walk expects
// it: the start folder wherever it leads, each subfolder exactly at its parent's found
// path and its own name. Opened the way SetCurrentDirectoryA resolves it, links followed,
// so that a folder whose text leads elsewhere ("evil." to a linked "evil") is refused.
bool EnterFolder(DeletionJob& job, const char* folder)
{
    HANDLE handle = CreateFileA(folder, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    bool found;
    if (job.foundLength == 0) {
        job.foundLength = GetFoundPath(handle, job.foundPath, FOUND_PATH_CAPACITY);
        found = job.foundLength > 0;
    } else {
        found = IsFoundAt(handle, job.foundPath, job.foundLength);
    }
    CloseHandle(handle);
    return found && SetCurrentDirectoryA(folder);
}

// Walks one plain subfolder whose name the enumeration has just given; `name` is read
// before the walk below reuses the find data and the entry name.
void WalkSubfolder(DeletionJob& job, const char* folder, const char* name)
{
    int folderLength = lstrlenA(folder);
    bool needsSeparator = folderLength == 0 || folder[folderLength - 1] != '\\';
    // A longer path cannot be held whole, and a cut one would name another folder.
    if (folderLength + (needsSeparator ? 1 : 0) + lstrlenA(name) + 1 > FOLDER_PATH_LIMIT)
        return;
    GlobalBlock child(CHILD_PATH_BYTES);
    if (!child)
        return;
    wsprintfA(child.text(), needsSeparator ? "%s\\%s\\" : "%s%s\\", folder, name);

    int parentLength = job.foundLength;
    int length = AppendFoundName(job.foundPath, parentLength, FOUND_PATH_CAPACITY, name);
    if (length < 0)
        return;
    job.foundLength = length;
    WalkFolder(job, child.text());
    job.foundLength = parentLength;
    job.foundPath[parentLength] = L'\0';
}

}  // namespace

void WalkFolder(DeletionJob& job, const char* folder)
{
    if (g_cancelRequested)
        return;
    // Never act on whatever directory happens to be current.
    if (!EnterFolder(job, folder))
        return;

    lstrcpyA(job.workList, job.patternList);
    for (char* pattern = CutPattern(job.workList); pattern != nullptr; pattern = CutPattern(nullptr)) {
        DeleteMatches(job, folder, pattern);
        if (g_cancelRequested)
            return;
    }
    if (!(job.options & OPT_RECURSE))
        return;

    WIN32_FIND_DATAW* entry = job.findData;
    ZeroMemory(entry, sizeof *entry);
    HANDLE find = FindFirstFileW(L"*.*", entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        // The whole word: a folder with any further attribute (hidden, read-only, a link)
        // is not entered.
        if (entry->dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY && !IsDotEntry(entry->cFileName) &&
            TakeEntryName(job))
            WalkSubfolder(job, folder, job.entryName);
    } while (FindNextFileW(find, entry));
    FindClose(find);
}

void DeleteMatches(DeletionJob& job, const char* folder, const char* pattern)
{
    // A folder or drive part would make the enumeration look elsewhere while the path
    // built names this folder.
    if (!IsPlainPattern(pattern))
        return;
    int patternLength = lstrlenA(pattern) + 1;
    GlobalBlock widePattern(static_cast<SIZE_T>(patternLength) * sizeof(WCHAR));
    if (!widePattern ||
        MultiByteToWideChar(CP_ACP, 0, pattern, -1, widePattern.as<WCHAR>(), patternLength) == 0)
        return;

    WIN32_FIND_DATAW* entry = job.findData;
    ZeroMemory(entry, sizeof *entry);
    HANDLE find = FindFirstFileW(widePattern.as<WCHAR>(), entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (entry->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        // Windows marks links in the enumeration; their target may be anywhere.
        if (entry->dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            continue;
        if (!TakeEntryName(job) || !NameMatchesPattern(job.entryName, pattern))
            continue;
        if (!RemoveFile(folder, job.entryName, job.options, job.foundPath))
            break;
    } while (FindNextFileW(find, entry));
    FindClose(find);
}
