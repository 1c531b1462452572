#include "support/temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "driver/app_driver.h"
#include "support/unix_files.h"
#include "support/utf8.h"

using driver::RunningUnderWine;

namespace {

// Every call goes through the long-path form: fixture trees pass 260 characters, and
// their names may lie outside the ANSI code page.
std::wstring Long(const std::string& path)
{
    return L"\\\\?\\" + Wide(path);
}

bool IsFolder(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

void ListFiles(const std::string& root, const std::string& relative, std::vector<std::string>& files)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(Long(root + relative + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = Utf8(entry.cFileName);
        if (name == "." || name == "..")
            continue;
        if (IsFolder(entry.dwFileAttributes))
            ListFiles(root, relative + name + "\\", files);
        else if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(relative + name);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}

void MakeFolders(const std::string& path)
{
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryW(Long(path.substr(0, at)).c_str(), nullptr);
    CreateDirectoryW(Long(path).c_str(), nullptr);
}

// True when the handle reports exactly the path it was opened by. Under Wine a link to a
// file lists as a plain file, and opening it opens the target, whose path it then reports;
// Windows marks the link, and opens the link itself.
bool ReportsItsOwnPath(HANDLE file, const std::wstring& opened)
{
    std::wstring reported(opened.size() + 1, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file, &reported[0], static_cast<DWORD>(reported.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    return length == opened.size() && reported.compare(0, length, opened) == 0;
}

// Deletes a file through a handle that is known to be the file itself, never a link's
// target; read-only or not.
bool RemoveFile(const std::string& path)
{
    std::wstring wide = Long(path);
    HANDLE file = CreateFileW(wide.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool removed = false;
    if (!RunningUnderWine() || ReportsItsOwnPath(file, wide)) {
        FILE_BASIC_INFO basic = {};
        basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
        FILE_DISPOSITION_INFO disposition = {TRUE};
        removed = SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != 0;
    }
    CloseHandle(file);
    return removed;
}

// Removes what the folder holds (`base` ends with a backslash) as far as Win32 can without
// following a link; true when nothing is left in it.
bool RemoveContents(const std::string& base)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(Long(base + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    bool all = true;
    do {
        std::string name = Utf8(entry.cFileName);
        if (name == "." || name == "..")
            continue;
        std::string path = base + name;
        bool removed = false;
        if (RunningUnderWine() && (name.back() == '.' || name.back() == ' ')) {
            // Wine drops a name's trailing dots and blanks on the way: such a path names
            // another entry, or the folder itself. Left to Linux.
        } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            // Windows removes a link itself with these calls; Wine's reach its target.
            if (!RunningUnderWine())
                removed = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryW(Long(path).c_str())
                                                                              : DeleteFileW(Long(path).c_str());
        } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            SetFileAttributesW(Long(path).c_str(), FILE_ATTRIBUTE_NORMAL);
            removed = RemoveContents(path + "\\") && RemoveDirectoryW(Long(path).c_str());
        } else {
            removed = RemoveFile(path);
        }
        all = all && removed;
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return all;
}

}  // namespace

bool RemoveTree(const std::string& folder)
{
    if (folder.empty() || IsGone(folder))
        return true;
    SetFileAttributesW(Long(folder).c_str(), FILE_ATTRIBUTE_NORMAL);
    if (RemoveContents(folder + "\\") && RemoveDirectoryW(Long(folder).c_str()))
        return true;
    // What Win32 cannot remove under Wine (links, names that Wine would alter, links left
    // dangling) goes through Linux.
    return RunningUnderWine() && RemoveUnixTree(folder);
}

namespace {

std::string TempPath()
{
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    return temp;
}

}  // namespace

TempFolder::TempFolder() : TempFolder(TempPath()) {}

TempFolder::TempFolder(const std::string& base)
{
    // Another process may hold a name of this form; a folder that cannot be made at all
    // ends the tries.
    static int counter = 0;
    for (int tries = 0; tries < 100 && !made_; ++tries) {
        path_ = base + "brumix-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) + "\\";
        made_ = CreateDirectoryA(path_.c_str(), nullptr) != 0;
        if (!made_ && GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    if (!made_)
        ADD_FAILURE() << "cannot make a fixture folder below " << base << " (error " << GetLastError() << ")";
}

TempFolder::~TempFolder()
{
    if (!made_)
        return;
    // A test may have left the process inside the tree.
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    if (std::string(current).rfind(path_.substr(0, path_.size() - 1), 0) == 0)
        SetCurrentDirectoryA(TempPath().c_str());
    if (!RemoveTree(path_.substr(0, path_.size() - 1)))
        ADD_FAILURE() << "the fixture folder " << path_ << " could not be removed";
}

std::string TempFolder::MakeFile(const std::string& relative, const std::string& content)
{
    std::string full = path_ + relative;
    if (!made_)
        return full;
    size_t slash = full.find_last_of('\\');
    MakeFolders(full.substr(0, slash));
    HANDLE file = CreateFileW(Long(full).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
    }
    return full;
}

std::string TempFolder::MakeFolder(const std::string& relative)
{
    std::string full = path_ + relative;
    if (!full.empty() && full.back() == '\\')
        full.pop_back();
    if (made_)
        MakeFolders(full);
    return full + "\\";
}

bool TempFolder::Exists(const std::string& relative) const
{
    return GetFileAttributesW(Long(path_ + relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void TempFolder::SetAttributes(const std::string& relative, unsigned long attributes) const
{
    SetFileAttributesW(Long(path_ + relative).c_str(), attributes);
}

std::vector<std::string> TempFolder::Files() const
{
    std::vector<std::string> files;
    ListFiles(path_, "", files);
    std::sort(files.begin(), files.end());
    return files;
}
