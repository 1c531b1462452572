// Where the platform really finds a file or folder, as opposed to where the walk expects
// it. Under Wine an entry can lead elsewhere than its name says: a link to a file shows
// in listings as a plain file, and opening it opens the target. The walk acts on an entry
// only when the object it opened is reported exactly where the folder's found name and
// the entry's name say it is.
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

// True when `reported` is `folder` followed by a backslash and `name`, compared as above.
bool IsFoundIn(const WCHAR* reported, int reportedLength, const WCHAR* folder, int folderLength,
               const WCHAR* name, int nameLength);

#endif
