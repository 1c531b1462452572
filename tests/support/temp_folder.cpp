#include "support/temp_folder.h"

#include <windows.h>

#include <algorithm>

#include "support/utf8.h"

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

}  // namespace

void RemoveTree(const std::string& folder)
{
    std::string base = folder;
    if (base.empty())
        return;
    if (base.back() != '\\')
        base += '\\';
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(Long(base + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = Utf8(entry.cFileName);
            if (name == "." || name == "..")
                continue;
            std::wstring path = Long(base + name);
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (IsFolder(entry.dwFileAttributes))
                RemoveTree(base + name);
            else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryW(path.c_str());
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    std::string self = base.substr(0, base.size() - 1);
    SetFileAttributesW(Long(self).c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(Long(self).c_str());
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
    static int counter = 0;
    for (;;) {
        path_ = base + "brumix-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) + "\\";
        if (CreateDirectoryA(path_.c_str(), nullptr))
            break;
    }
}

TempFolder::~TempFolder()
{
    // A test may have left the process inside the tree.
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    if (std::string(current).rfind(path_.substr(0, path_.size() - 1), 0) == 0) {
        char temp[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, temp);
        SetCurrentDirectoryA(temp);
    }
    RemoveTree(path_.substr(0, path_.size() - 1));
}

std::string TempFolder::MakeFile(const std::string& relative, const std::string& content)
{
    std::string full = path_ + relative;
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
