// The system's native file calls that the walk is built on. Every entry is opened relative
// to its folder's open handle, by the exact name that the folder's listing gave: no path
// text is parsed on the way, so no length limit applies, a trailing dot or blank stays
// part of the name, and a character outside any code page is used as it is.
#ifndef BRUMIX_NATIVE_FILES_H
#define BRUMIX_NATIVE_FILES_H

#include <windows.h>

// Room for the longest object name that the system reports, in characters.
constexpr int OBJECT_NAME_CAPACITY = 32768;
// Bytes of a block that holds a reported object name (see QueryObjectName).
constexpr int OBJECT_NAME_BYTES = 16 + OBJECT_NAME_CAPACITY * 2;

// Opens a folder of `folder` (a folder handle) for listing and for opening its entries;
// `folder` null and `name` a full Win32 path opens a start folder the way the user's text
// resolves. A link itself is opened where the system can, never followed into. Gives
// null when it cannot be opened.
HANDLE OpenFolder(HANDLE folder, const WCHAR* name, int length);

// Opens a file of `folder` for deletion, sharing everything with other users of the file.
// Gives null when it cannot be opened (gone, a folder now, held without delete sharing).
HANDLE OpenFileForDeletion(HANDLE folder, const WCHAR* name, int length);

// Fills `buffer` (`bytes` long) with the next batch of the folder's entries, from the
// start when `restart`. Each is a FILE_DIRECTORY_INFORMATION record. False when none is
// left or the folder cannot be listed.
bool ListFolderBatch(HANDLE folder, void* buffer, ULONG bytes, bool restart);

// The full name under which the system has the object open in `handle`, into `block`
// (OBJECT_NAME_BYTES long): gives its characters and their count through `length`, or
// nullptr when it cannot be had.
const WCHAR* QueryObjectName(HANDLE handle, void* block, int& length);

// Marks the file open in `handle` for deletion when the handle closes. False when the
// system refuses (a read-only file, for instance).
bool MarkForDeletion(HANDLE handle);

void CloseObject(HANDLE handle);

#endif
