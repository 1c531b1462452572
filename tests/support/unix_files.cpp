#include "support/unix_files.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

typedef char*(CDECL* UnixNameFunction)(LPCWSTR);

std::string Quoted(const std::string& argument)
{
    return "\"" + argument + "\"";
}

std::string WithSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

}  // namespace

std::string UnixPath(const std::string& windowsPath)
{
    auto toUnix = reinterpret_cast<UnixNameFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (toUnix == nullptr)
        return "";
    wchar_t wide[MAX_PATH * 2] = L"";
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH * 2);
    char* unix = toUnix(wide);
    if (unix == nullptr)
        return "";
    std::string path = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return path;
}

bool RunUnixTool(const std::string& program, const std::string& arguments)
{
    // Z: is the Linux root; Wine starts a Linux program given its Windows path.
    std::string windowsProgram = "Z:" + program;
    for (char& c : windowsProgram)
        if (c == '/')
            c = '\\';
    std::string commandLine = Quoted(windowsProgram) + " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool IsListed(const std::string& windowsFolder, const std::string& name)
{
    std::string folder = windowsFolder;
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    std::wstring wanted = Wide(name);
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(Wide(folder + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    bool listed = false;
    do
        listed = wanted == entry.cFileName;
    while (!listed && FindNextFileW(find, &entry));
    FindClose(find);
    return listed;
}

namespace {

// Starts the tool, then waits until the new entry shows.
bool MakeAndWait(const std::string& program, const std::string& arguments, const std::string& windowsFolder,
                 const std::string& name, int seconds = 5)
{
    if (!RunUnixTool(program, arguments))
        return false;
    for (int tries = 0; tries < seconds * 100; ++tries) {
        if (IsListed(windowsFolder, name))
            return true;
        Sleep(10);
    }
    return false;
}

std::string UnixEntry(const std::string& windowsFolder, const std::string& name)
{
    std::string folder = UnixPath(windowsFolder);
    return folder.empty() ? "" : WithSlash(folder) + name;
}

}  // namespace

bool MakeUnixLink(const std::string& target, const std::string& windowsFolder, const std::string& name)
{
    std::string unixTarget = UnixPath(target), link = UnixEntry(windowsFolder, name);
    if (!unixTarget.empty() && unixTarget.back() == '/')
        unixTarget.pop_back();
    return !unixTarget.empty() && !link.empty() &&
           MakeAndWait("/bin/ln", "-s " + Quoted(unixTarget) + " " + Quoted(link), windowsFolder, name);
}

bool MakeUnixFile(const std::string& windowsFolder, const std::string& name)
{
    std::string file = UnixEntry(windowsFolder, name);
    return !file.empty() && MakeAndWait("/usr/bin/touch", Quoted(file), windowsFolder, name);
}

bool MakeUnixFolder(const std::string& windowsFolder, const std::string& name)
{
    std::string folder = UnixEntry(windowsFolder, name);
    return !folder.empty() && MakeAndWait("/bin/mkdir", Quoted(folder), windowsFolder, name);
}

bool RunUnixScript(const std::string& windowsFolder, const std::string& script, const std::string& lastName)
{
    std::string folder = UnixPath(windowsFolder);
    return !folder.empty() &&
           MakeAndWait("/bin/sh", "-c " + Quoted("cd '" + folder + "' && " + script), windowsFolder, lastName, 60);
}

bool MakeUnixReadOnly(const std::string& windowsPath)
{
    std::string path = UnixPath(windowsPath);
    if (path.empty() || !RunUnixTool("/bin/chmod", "a-w " + Quoted(path)))
        return false;
    std::wstring wide = Wide(windowsPath);
    for (int tries = 0; tries < 500; ++tries) {
        DWORD attributes = GetFileAttributesW(wide.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            return true;
        Sleep(10);
    }
    return false;
}

bool UnixPathExists(const std::string& windowsFolder, const std::string& relative)
{
    // The mark is written either way, with the answer in it: an answer of no is had as
    // soon as one of yes, not after the wait for a mark that never comes.
    static int asked = 0;
    std::string mark = "brumix-seen-" + std::to_string(++asked);
    if (!RunUnixScript(windowsFolder,
                       "if test -e '" + relative + "'; then echo y > '" + mark + "'; else echo n > '" + mark + "'; fi",
                       mark)) {
        ADD_FAILURE() << "Linux gave no answer whether " << relative << " exists";
        return false;
    }
    std::string folder = windowsFolder;
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    std::wstring path = Wide(folder + mark);
    char answer = 0;
    DWORD read = 0;
    // The shell may still be writing the mark when it shows.
    for (int tries = 0; tries < 500 && read == 0; ++tries) {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            if (!ReadFile(file, &answer, 1, &read, nullptr))
                read = 0;
            CloseHandle(file);
        }
        if (read == 0)
            Sleep(10);
    }
    DeleteFileW(path.c_str());
    if (read != 1)
        ADD_FAILURE() << "Linux gave no answer whether " << relative << " exists";
    return read == 1 && answer == 'y';
}

bool IsGone(const std::string& windowsPath)
{
    if (GetFileAttributesW((L"\\\\?\\" + Wide(windowsPath)).c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool RemoveUnixTree(const std::string& windowsFolder)
{
    std::string folder = windowsFolder;
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    std::string unixFolder = UnixPath(folder);
    size_t name = unixFolder.find_last_of('/');
    if (name == std::string::npos || unixFolder.compare(name + 1, 7, "brumix-") != 0 ||
        !RunUnixTool("/bin/rm", "-rf -- " + Quoted(unixFolder)))
        return false;
    // rm ends with no handle to tell it: its effect is waited for, a minute at most.
    for (int tries = 0; tries < 6000; ++tries) {
        if (IsGone(folder))
            return true;
        Sleep(10);
    }
    return false;
}
