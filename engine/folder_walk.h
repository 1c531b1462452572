// The depth-first walk over the folder tree of a run.
#ifndef BRUMIX_FOLDER_WALK_H
#define BRUMIX_FOLDER_WALK_H

#include "engine/deletion_run.h"
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
    const WCHAR* found;          // start folder only: the name the system reports for it
    int foundLength;
    FolderEntry* next;           // the walk's place in its listing
    int nextIndex;
};

// A start folder record for `handle`, holding one reference; `found` is the name the
// system reports for it, and its shown path is `shownParent` followed by `name` and "\"
// (`name` may be empty). Null when the heap cannot supply it.
WalkedFolder* MakeWalkedFolder(HANDLE handle, const WCHAR* found, int foundLength, const WCHAR* shownParent,
                               int shownParentLength, const WCHAR* name, int nameLength);
void HoldFolder(WalkedFolder* folder);
// Drops a reference; the last one closes the folder and frees its record and listing,
// and drops its reference to its parent.
void ReleaseFolder(WalkedFolder* folder);

// Writes the folder's path as the user sees it, `folder.shownLength` characters, to `text`.
void WriteShownPath(const WalkedFolder& folder, WCHAR* text);

// True when the object open in `handle` is the entry `entry` of `folder`, checked in the
// folder's way: by its id, or by the name that the system reports for it (`nameBlock` is
// OBJECT_NAME_BYTES of scratch for it).
bool IsListedEntry(const WalkedFolder& folder, const FolderEntry& entry, HANDLE handle, void* nameBlock);

// Walks the start folder `start`: lists it once, deletes its matching files, then, with
// OPT_RECURSE, walks each plain subfolder in turn, depth first, in listing order. A
// subfolder that cannot be opened or listed whole, or that is not the entry listed, is
// left alone with everything below it; the walk goes on with the next.
void WalkFolder(DeletionJob& job, WalkedFolder& start);

// Hands every file of the folder's listing that the patterns name to the removal: with
// questions, pattern by pattern in list order; without, each file once. False once the
// run has been cancelled.
bool DeleteMatches(DeletionJob& job, WalkedFolder& folder);

#endif
