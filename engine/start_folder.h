// The folder a run starts in: the user's text, made full, opened wherever it leads. Below
// it the walk goes only where it finds each folder itself.
#ifndef BRUMIX_START_FOLDER_H
#define BRUMIX_START_FOLDER_H

#include "engine/folder_walk.h"

// Opens the folder that `folder` (ANSI text ending with "\") names. A relative text
// ("sub\", "\") is made full once, from the current directory of the moment, and that
// full text begins every path that the run's questions show. `nameBlock` is
// OBJECT_NAME_BYTES of scratch. Null when there is no such folder.
WalkedFolder* OpenStartFolder(const char* folder, void* nameBlock);

// True when the start folder, or a folder above it, has a namesake beside it but for
// trailing dots or blanks, on a platform that reports names without them; `batch` is
// LISTING_BATCH_BYTES of scratch.
bool HasNamesakeAbove(HANDLE start, void* batch);

#endif
