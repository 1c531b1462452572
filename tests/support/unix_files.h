// Fixtures that Win32 cannot make under Wine: Unix symbolic links (Wine's
// CreateSymbolicLinkA returns TRUE and makes nothing) and names that Wine would alter
// on the way (a trailing dot or blank). Made by running the Linux tools themselves, which
// a Windows program under Wine can start with CreateProcessA. Tests that need them skip
// on Windows.
#ifndef BRUMIX_TESTS_UNIX_FILES_H
#define BRUMIX_TESTS_UNIX_FILES_H

#include <string>

#include "support/utf8.h"

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

// True when `relative` (a Linux path, taken as it is) exists in the Linux folder of
// `windowsFolder`, asked of Linux itself: Wine would alter a name such as "f./y.obj".
bool UnixPathExists(const std::string& windowsFolder, const std::string& relative);

// Runs a shell script in the Linux folder of `windowsFolder`, which must end by making
// the entry `lastName` there (UTF-8): true once it shows, false after a minute. For fixtures whose names Wine
// would alter on the way ("f.", "x.obj.") or links given by a relative target.
bool RunUnixScript(const std::string& windowsFolder, const std::string& script, const std::string& lastName);

// Takes the write permission away from a file or folder through Linux's chmod: Wine then
// reports it read-only, a folder too (0x11), where it keeps no read-only flag set through
// Win32. True once the system reports it so.
bool MakeUnixReadOnly(const std::string& windowsPath);

// Removes a fixture folder (its name begins with "brumix-") with everything in it through
// Linux's rm, which takes links as links and names as they are. True once it is gone.
bool RemoveUnixTree(const std::string& windowsFolder);

// True when nothing is found at this path (UTF-8, any length) any more.
bool IsGone(const std::string& windowsPath);

#endif
