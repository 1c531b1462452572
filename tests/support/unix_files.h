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

// Starts a Linux program ("/bin/ln") with these arguments; true when it could be started.
// Wine gives no handle that tells when it has ended, nor its exit code: callers wait for
// its effect (see IsListed).
bool RunUnixTool(const std::string& program, const std::string& arguments);

// `name` (a UTF-8 name, taken as it is) in `windowsFolder` becomes a symbolic link to
// `target` (a Windows path), a file, or a folder. True once it shows in the folder.
bool MakeUnixLink(const std::string& target, const std::string& windowsFolder, const std::string& name);
bool MakeUnixFile(const std::string& windowsFolder, const std::string& name);
bool MakeUnixFolder(const std::string& windowsFolder, const std::string& name);

// True when the enumeration of `windowsFolder` lists an entry named exactly `name`
// (UTF-8, compared as UTF-16). A link whose target is gone is not listed.
bool IsListed(const std::string& windowsFolder, const std::string& name);

// A UTF-8 name as the Windows wide text that Win32's W functions take.
std::wstring Wide(const std::string& utf8);

#endif
