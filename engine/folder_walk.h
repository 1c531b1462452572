// The depth-first walk over the folder tree of a run.
#ifndef BRUMIX_FOLDER_WALK_H
#define BRUMIX_FOLDER_WALK_H

#include "engine/deletion_run.h"
#include "engine/folder_listing.h"

// A folder that the walk has entered: open, checked to be where the walk expected it, and
// listed. It lives as long as the walk or a queued removal still needs it.
struct WalkedFolder {
    HANDLE handle;
    volatile LONG references;
    FolderListing listing;
    const WCHAR* found;          // the name the system reports for it
    int foundLength;
    const WCHAR* shown;          // its path as the user sees it, ending with "\"
    int shownLength;
};

// A folder record for `handle`, holding one reference; `found` is the name the system
// reports for it, and its shown path is `shownParent` followed by `name` and "\" (`name`
// may be empty for the start folder). Null when the heap cannot supply it.
WalkedFolder* MakeWalkedFolder(HANDLE handle, const WCHAR* found, int foundLength, const WCHAR* shownParent,
                               int shownParentLength, const WCHAR* name, int nameLength);
void HoldFolder(WalkedFolder* folder);
// Drops a reference; the last one closes the folder and frees its record and listing.
void ReleaseFolder(WalkedFolder* folder);

// Lists the folder once, deletes its matching files, then, with OPT_RECURSE, walks each
// plain subfolder in turn. A subfolder that cannot be opened, or that the system reports
// elsewhere than the walk expects, is left alone with everything below it.
void WalkFolder(DeletionJob& job, WalkedFolder& folder);

// Hands every file of the folder's listing that the patterns name to the removal: with
// questions, pattern by pattern in list order; without, each file once. False once the
// run has been cancelled.
bool DeleteMatches(DeletionJob& job, WalkedFolder& folder);

#endif
