// The record of a folder that the walk has entered, shared by the walk, which makes and
// lists it, and the removal, which deletes the files of its listing (on other threads too).
#ifndef BRUMIX_WALKED_FOLDER_H
#define BRUMIX_WALKED_FOLDER_H

#include <windows.h>

#include "engine/entry_check.h"
#include "engine/folder_listing.h"

// A folder that the walk has entered: open, checked to be the entry that its parent's
// listing gave, and listed. Each holds its own name and a link to its parent, never a
// whole path, so that a tree of any depth costs memory in proportion to its depth alone.
// It lives as long as the walk, a folder below it or a queued removal still needs it.
struct WalkedFolder {
    HANDLE handle;
    volatile LONG references;
    FolderListing listing;
    WalkedFolder* parent;        // holds a reference to it; null for the start folder
    EntryCheck check;            // how what is opened in it is checked (never by platform)
    const WCHAR* name;           // its name in its parent's listing; for the start folder,
    int nameLength;              // its whole path as the user sees it, ending with "\"
    int shownLength;             // characters of its path as the user sees it, with "\"
    const WCHAR* found;          // start folder only: the name the system reports for it,
    int foundLength;             // or null where the system gave none
    LONGLONG id;                 // its file id; 0 or -1 where the file system keeps none
    ULONG serial;                // its volume's serial number, where `serialKnown`
    bool serialKnown;
    FolderEntry* next;           // the walk's place in its listing
    int nextIndex;
};

// A start folder record for `handle`, holding one reference; `found` is the name the
// system reports for it (null when it gave none), and its shown path is `shownParent`
// followed by `name` and "\" (`name` may be empty). Its check is the platform's, told
// from `found` (see PlatformEntryCheck). Its volume's serial number is asked for here,
// once for the whole walk: a folder that the walk enters is on its parent's volume, since
// a mount point is a reparse folder, never entered (and Wine takes some milliseconds to
// answer each time). Null when the heap cannot supply it.
WalkedFolder* MakeWalkedFolder(HANDLE handle, const WCHAR* found, int foundLength, const WCHAR* shownParent,
                               int shownParentLength, const WCHAR* name, int nameLength);
// A record for the subfolder `entry` of `parent`, open in `handle`, holding one reference
// and one to its parent. Null when the heap cannot supply it.
WalkedFolder* MakeSubfolder(WalkedFolder& parent, HANDLE handle, const FolderEntry& entry);
void HoldFolder(WalkedFolder* folder);
// Drops a reference; the last one closes the folder and frees its record and listing,
// and drops its reference to its parent.
void ReleaseFolder(WalkedFolder* folder);

// Writes the folder's path as the user sees it, `folder.shownLength` characters, to `text`.
void WriteShownPath(const WalkedFolder& folder, WCHAR* text);

// The serial number of the folder's volume. False when the system gave none.
bool FolderVolumeSerial(const WalkedFolder& folder, ULONG& serial);

// What tells a folder from every other: its volume and its file id there.
struct FolderKey {
    ULONG serial;
    LONGLONG id;
};

// True when the two keys name one folder: the same id on the same volume. Ids of 0 and -1
// stand for no id, and name no folder.
bool IsSameFolder(const FolderKey& one, const FolderKey& other);

// True when `folder` is one of the folders above it, met again: a server that follows
// links on its own side shows one as a plain folder, and the walk would go round in it.
// The same id where a volume is not known counts as the same folder: it is left rather
// than walked round.
bool RepeatsAnAncestor(const WalkedFolder& folder);

#endif
