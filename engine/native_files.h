// The system's native file calls that the walk is built on. Every entry is opened relative
// to its folder's open handle, by the exact name that the folder's listing gave: no path
// text is parsed on the way, so no length limit applies, a trailing dot or blank stays
// part of the name, and a character outside any code page is used as it is.
//
// Every handle is opened for synchronous I/O, so that each call has ended, and written
// what it gives, when it returns. Every open is made without the file-system redirection
// that a 32-bit program meets on 64-bit Windows: the walk goes where it was sent, and a
// start folder below System32 is not read from SysWOW64.
#ifndef BRUMIX_NATIVE_FILES_H
#define BRUMIX_NATIVE_FILES_H

#include <windows.h>
#include <winternl.h>

// Room for the longest object name that the system reports, in characters.
constexpr int OBJECT_NAME_CAPACITY = 32768;
// Bytes of a block that holds a reported object name (see QueryObjectName).
constexpr int OBJECT_NAME_BYTES = 16 + OBJECT_NAME_CAPACITY * 2;

// Opens a folder of `folder` (a folder handle) for listing and for opening its entries;
// `folder` null and `name` a full Win32 path opens a start folder the way the user's text
// resolves. A link itself is opened where the system can, never followed into. Gives
// null when it cannot be opened.
HANDLE OpenFolder(HANDLE folder, const WCHAR* name, int length);

// Opens the entry itself, never what a link leads to, for deletion, sharing everything
// with other users of the file. Gives null when it cannot be opened (gone, a folder now,
// held without delete sharing).
HANDLE OpenFileForDeletion(HANDLE folder, const WCHAR* name, int length);

// What one call for a batch of a folder's entries came to.
enum BatchOutcome {
    BATCH_FILLED,   // entries were written
    BATCH_END,      // the system said that no entry is left
    BATCH_REFUSED,  // the first call: the file system keeps no such records
    BATCH_FAILED,   // anything else: what was listed so far is not the whole folder
};

// The outcome of a directory query that ended with `result` and wrote `information` bytes;
// `first` for the call that starts the listing, which finds nothing at all in a folder
// without "." and ".." (a drive's root) that has no entry.
BatchOutcome BatchOutcomeOf(NTSTATUS result, ULONG_PTR information, bool first);

// Fills `buffer` (`bytes` long) with the next batch of the folder's entries, from the
// start when `restart`: FILE_ID_FULL_DIR_INFORMATION records with `withIds`, which give
// each entry's file id, FILE_FULL_DIR_INFORMATION records otherwise, for a file system
// that refuses the former.
BatchOutcome ListFolderBatch(HANDLE folder, void* buffer, ULONG bytes, bool restart, bool withIds);

// The file id of the object open in `handle`. False when the system gives none.
bool QueryFileId(HANDLE handle, LONGLONG& id);

// The full name under which the system has the object open in `handle`, into `block`
// (OBJECT_NAME_BYTES long): gives its characters and their count through `length`, or
// nullptr when it cannot be had.
const WCHAR* QueryObjectName(HANDLE handle, void* block, int& length);

// What a request to delete with POSIX semantics came to.
enum PosixDeletion {
    POSIX_DONE,               // marked: the name goes when the handle closes
    POSIX_REFUSED,            // not for this file or file system: the classic way may do
    POSIX_UNKNOWN_TO_SYSTEM,  // the system has no such request: never ask again
};
PosixDeletion PosixDeletionOutcome(NTSTATUS result);

// Marks the file open in `handle` for deletion when the handle closes, as the platform's
// own deletion does: with POSIX semantics where the file system offers them, so that the
// name goes at once even while another program holds the file with delete sharing, and
// the classic way otherwise (the name then stays, "delete pending", until the last handle
// on the file closes). False when the system refuses (a read-only file, for instance).
bool MarkForDeletion(HANDLE handle);

void CloseObject(HANDLE handle);

#endif
