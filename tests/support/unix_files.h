// Fixtures that Win32 cannot make under Wine: Unix symbolic links (Wine's
// CreateSymbolicLinkA returns TRUE and makes nothing) and names that Wine would alter
// on the way (a trailing dot or blank). Made by running the Linux tools themselves, which
// a Windows program under Wine can start with CreateProcessA. Tests that need them skip
// on Windows.
#ifndef BRUMIX_TESTS_UNIX_FILES_H
#define BRUMIX_TESTS_UNIX_FILES_H

#include <string>

// The Linux path of a Windows path (Wine only); "" when there is none.
std::string UnixPath(const std::string& windowsPath);

// Runs a Linux program ("/bin/ln") with these arguments, each passed whole; true when it
// ran and exited with 0.
bool RunUnixTool(const std::string& program, const std::string& arguments);

// `link` (a Windows path) becomes a symbolic link to `target` (a Windows path).
bool MakeUnixLink(const std::string& target, const std::string& link);
// A file or folder named exactly `name` (a Linux name) in the folder `windowsFolder`.
bool MakeUnixFile(const std::string& windowsFolder, const std::string& name, const std::string& content = "x");
bool MakeUnixFolder(const std::string& windowsFolder, const std::string& name);
// True when the Linux entry `name` exists in `windowsFolder` (a link is not followed).
bool UnixEntryExists(const std::string& windowsFolder, const std::string& name);

// A UTF-8 name as the Windows wide text that Win32's W functions take.
std::wstring Wide(const std::string& utf8);

#endif
