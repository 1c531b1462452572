// Where the platform really finds a file or folder, as opposed to where the walk expects
// it. Under Wine an entry can lead elsewhere than its name says: a link to a file shows
// in listings as a plain file, and opening it opens the target. There the walk acts on an
// entry only when the object it opened is reported exactly where the start folder's found
// name and the names of the folders walked down from it say it is (see entry_check.h).
//
// Wine reports names without the trailing dots and blanks of each component ("x.obj."
// comes back as "x.obj"), so names are compared without them, and an entry whose folder
// holds another entry with the same name but for such a tail is never acted on: the two
// could not be told apart.
#ifndef BRUMIX_FOUND_PATH_H
#define BRUMIX_FOUND_PATH_H

#include <windows.h>

// The length of `name` without its trailing dots and blanks.
int StrippedLength(const WCHAR* name, int length);

// True when two object names are the same, component by component, each compared exactly
// (case included) but for trailing dots and blanks.
bool SameFoundName(const WCHAR* one, int oneLength, const WCHAR* other, int otherLength);

// True when the first `length` characters of `reported` end with a backslash and `name`,
// compared as above; `length` is then cut to the part before that backslash.
bool CutFoundComponent(const WCHAR* reported, int& length, const WCHAR* name, int nameLength);

// True when `reported` names the folder whose found name is `folder`, compared as above;
// a drive's root is found with its backslash ("\??\C:\"), any other folder without.
bool IsFoundFolder(const WCHAR* reported, int reportedLength, const WCHAR* folder, int folderLength);

#endif
