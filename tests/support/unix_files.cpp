#include "support/unix_files.h"

#include <windows.h>

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

std::wstring Wide(const std::string& utf8)
{
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length > 0 ? length - 1 : 0));
    return wide;
}

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
    DWORD exitCode = 1;
    if (WaitForSingleObject(process.hProcess, 15000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode == 0;
}

bool MakeUnixLink(const std::string& target, const std::string& link)
{
    std::string unixTarget = UnixPath(target), unixLink = UnixPath(link);
    if (!unixTarget.empty() && unixTarget.back() == '/')
        unixTarget.pop_back();
    if (!unixLink.empty() && unixLink.back() == '/')
        unixLink.pop_back();
    return !unixTarget.empty() && !unixLink.empty() &&
           RunUnixTool("/bin/ln", "-s " + Quoted(unixTarget) + " " + Quoted(unixLink));
}

bool MakeUnixFile(const std::string& windowsFolder, const std::string& name, const std::string& content)
{
    std::string folder = UnixPath(windowsFolder);
    return !folder.empty() &&
           RunUnixTool("/bin/sh", "-c " + Quoted("printf %s \\\"$0\\\" > \\\"$1\\\"") + " " + Quoted(content) + " " +
                                      Quoted(WithSlash(folder) + name));
}

bool MakeUnixFolder(const std::string& windowsFolder, const std::string& name)
{
    std::string folder = UnixPath(windowsFolder);
    return !folder.empty() && RunUnixTool("/bin/mkdir", Quoted(WithSlash(folder) + name));
}

bool UnixEntryExists(const std::string& windowsFolder, const std::string& name)
{
    std::string folder = UnixPath(windowsFolder);
    return !folder.empty() && RunUnixTool("/usr/bin/test", "-e " + Quoted(WithSlash(folder) + name) + " -o -L " +
                                                               Quoted(WithSlash(folder) + name));
}
