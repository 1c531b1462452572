// The depth-first walk over the folder tree of a run.
#ifndef BRUMIX_FOLDER_WALK_H
#define BRUMIX_FOLDER_WALK_H

#include "engine/deletion_run.h"

// The longest subfolder path that the walk enters, in characters, closing "\" included.
constexpr int FOLDER_PATH_LIMIT = 255;

// folder: full path of the folder to process, ending with a backslash. Makes it the
// current directory, deletes its matching files pattern by pattern, then, with
// OPT_RECURSE, walks each plain subfolder in turn. A folder that cannot be entered, or
// that the platform finds elsewhere than the walk expects, is left alone with everything
// below it.
void WalkFolder(DeletionJob& job, const char* folder);

// Hands every file of the current directory that `pattern` names to RemoveFile.
void DeleteMatches(DeletionJob& job, const char* folder, const char* pattern);

#endif
