// The depth-first walk over the folder tree of a run.
#ifndef BRUMIX_FOLDER_WALK_H
#define BRUMIX_FOLDER_WALK_H

#include "engine/deletion_run.h"

// folder: full path of the folder to process, ending with a backslash.
void WalkFolder(DeletionJob& job, const char* folder);

#endif
