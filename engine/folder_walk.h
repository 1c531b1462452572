// The depth-first walk over the folder tree of a run.
#ifndef BRUMIX_FOLDER_WALK_H
#define BRUMIX_FOLDER_WALK_H

#include "engine/deletion_run.h"
#include "engine/entry_check.h"
#include "engine/walked_folder.h"

// Walks the start folder `start`: lists it once, deletes its matching files, then, with
// OPT_RECURSE, walks each plain subfolder in turn, depth first, in listing order. A
// subfolder that cannot be opened or listed whole, that is not the entry listed, or that
// is one of the folders above it met again, is left alone with everything below it; the
// walk goes on with the next. The start folder is checked as its record says, unless the
// job names a check of its own.
void WalkFolder(DeletionJob& job, WalkedFolder& start);

// Hands every file of the folder's listing that the patterns name to the removal: with
// questions, pattern by pattern in list order; without, each file once. False once the
// run has been cancelled.
bool DeleteMatches(DeletionJob& job, WalkedFolder& folder);

#endif
