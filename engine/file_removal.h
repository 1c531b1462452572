// Deleting one matched file, with the optional Yes / No / Cancel question.
#ifndef BRUMIX_FILE_REMOVAL_H
#define BRUMIX_FILE_REMOVAL_H

#include <windows.h>
#include "app/option_flags.h"

// The longest file path that a run handles, in characters.
constexpr int FILE_PATH_LIMIT = 259;

// Deletes the file `name` of the folder being walked, after asking when `options` has
// OPT_CONFIRM. `folder` is the folder's path text, ending with "\"; `foundFolder` is where
// the platform finds that folder (see found_path.h). A file that is not found exactly
// there, or whose path would be longer than FILE_PATH_LIMIT, is passed over unasked.
// Cancel, Escape, the close box, or a question that cannot be shown, stop the run.
// Gives false once the run has been cancelled.
bool RemoveFile(const char* folder, const char* name, OptionFlags options, const WCHAR* foundFolder);

#endif
