#include "support/temp_folder.h"

#include <windows.h>

#include <algorithm>

namespace {

void ListFiles(const std::string& root, const std::string& relative, std::vector<std::string>& files)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((root + relative + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        bool isLink = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !isLink)
            ListFiles(root, relative + name + "\\", files);
        else if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(relative + name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}

void MakeFolders(const std::string& path)
{
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

}  // namespace

void RemoveTree(const std::string& folder)
{
    std::string base = folder;
    if (base.empty())
        return;
    if (base.back() != '\\')
        base += '\\';
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((base + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = base + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            bool isLink = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !isLink)
                RemoveTree(path);
            else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryA(path.c_str());
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(folder.c_str());
}

TempFolder::TempFolder()
{
    static int counter = 0;
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    for (;;) {
        path_ = std::string(temp) + "brumix-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter) + "\\";
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
    HANDLE file = CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
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
    return GetFileAttributesA((path_ + relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> TempFolder::Files() const
{
    std::vector<std::string> files;
    ListFiles(path_, "", files);
    std::sort(files.begin(), files.end());
    return files;
}
