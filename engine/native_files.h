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

#include "engine/nt_records.h"

// Room for the longest object name that the system reports, in characters.
constexpr int OBJECT_NAME_CAPACITY = 32768;
// Bytes of a block that holds a reported object name (see QueryObjectName).
constexpr int OBJECT_NAME_BYTES = 16 + OBJECT_NAME_CAPACITY * 2;

// Opens a folder of `folder` (a folder handle) for listing and for opening its entries;
// `folder` null and `name` a full Win32 path opens a start folder the way the user's text
// resolves. A link itself is opened where the system can, never followed into. Asks for
// the right to list and nothing more: a folder whose access list grants "Read" alone is
// still walked (entries are opened relative to it, which needs no right on it). Gives
// null when it cannot be opened.
HANDLE OpenFolder(HANDLE folder, const WCHAR* name, int length);

// True when the object open in `handle` is a folder (asked without any right on it).
bool IsOpenFolder(HANDLE handle);

// Opens the entry itself, never what a link leads to, for deletion, sharing everything
// with other users of the file. Gives null when it cannot be opened (gone, a folder now,
// held without delete sharing).
HANDLE OpenFileForDeletion(HANDLE folder, const WCHAR* name, int length);

// True for a reparse file whose tag is not a name surrogate: not a link but data held in
// another form (a cloud placeholder, a deduplicated or storage-managed file, a container
// layer). The platform's DeleteFileW deletes such a file through its file system's
// filter, which then does its share (a cloud copy goes with it), not as a bare reparse
// point. `tag` is the one the listing gave; without one the file is not taken for data.
bool IsDataReparseFile(DWORD attributes, DWORD tag);

// Opens the entry for deletion as the platform's DeleteFileW opens a data reparse file:
// without FILE_OPEN_REPARSE_POINT, so that its filter takes part. Only for such a file:
// a link would be followed. Null when it cannot be opened.
HANDLE OpenFileThroughFilter(HANDLE folder, const WCHAR* name, int length);

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

// The records a folder can be listed in, best first. The first two give each entry's file
// id; every file system offers the last, FileBothDirectoryInformation, which FindFirstFile
// itself asks for. Records differ only from the end of their common part on.
enum ListingLevel {
    LEVEL_ID_FULL,   // FILE_ID_FULL_DIR_INFORMATION
    LEVEL_ID_BOTH,   // FILE_ID_BOTH_DIR_INFORMATION
    LEVEL_FULL,      // FILE_FULL_DIR_INFORMATION
    LEVEL_BOTH,      // FILE_BOTH_DIR_INFORMATION
    LEVEL_COUNT,
};
struct ListingLayout {
    FILE_INFORMATION_CLASS informationClass;
    ULONG idOffset;    // 0 where the record has no file id
    ULONG nameOffset;
};
extern const ListingLayout LISTING_LAYOUTS[LEVEL_COUNT];

// Fills `buffer` (`bytes` long) with the next batch of the folder's entries, from the
// start when `restart`, in the records of `level`.
BatchOutcome ListFolderBatch(HANDLE folder, void* buffer, ULONG bytes, bool restart, ListingLevel level);

// The file id of the object open in `handle`. False when the system gives none.
bool QueryFileId(HANDLE handle, LONGLONG& id);

// The serial number of the volume of the object open in `handle`. False when the system
// gives none.
bool QueryVolumeSerial(HANDLE handle, ULONG& serial);

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
// A volume, by its serial number `volumeSerial`, that says it knows no POSIX deletion is
// not asked again; the other form, for a file whose volume is not known, always asks.
bool MarkForDeletion(HANDLE handle, ULONG volumeSerial);
bool MarkForDeletion(HANDLE handle);

// Whether the volume with this serial number has said that it knows no POSIX deletion,
// and the note that it has. Remembered for each volume apart, for the whole process: one
// network share or FAT stick does not turn it off for an NTFS volume. Volumes beyond the
// first few are not remembered, and are asked for each file.
bool KnowsNoPosixDeletion(ULONG volumeSerial);
void NoteNoPosixDeletion(ULONG volumeSerial);

void CloseObject(HANDLE handle);

#endif
