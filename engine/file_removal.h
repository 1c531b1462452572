// Deleting one matched file, with the optional Yes / No / Cancel question.
#ifndef BRUMIX_FILE_REMOVAL_H
#define BRUMIX_FILE_REMOVAL_H

#include "engine/folder_walk.h"

// Opens `entry` of `folder` for deletion when the system finds it exactly there: not a
// link that leads elsewhere, not another entry that its name resolves to. `nameBlock` is
// OBJECT_NAME_BYTES of scratch. Gives null otherwise.
HANDLE OpenCheckedFile(const WalkedFolder& folder, const FolderEntry& entry, void* nameBlock);

// Deletes `entry` of `folder` after asking when the run has OPT_CONFIRM; a file that is
// not found exactly where the walk expects it is passed over unasked. Cancel, Escape, the
// close box, or a question that cannot be shown, stop the run. False once the run has
// been cancelled.
bool RemoveFile(DeletionJob& job, WalkedFolder& folder, FolderEntry& entry);

// Deletes `entry` of `folder` without a question, as a run without OPT_CONFIRM does.
void RemoveUnasked(const WalkedFolder& folder, const FolderEntry& entry, void* nameBlock);

// The per-file question for this path, in a block of its own size; the caller frees it.
WCHAR* ComposeFileQuestion(const WCHAR* folder, int folderLength, const WCHAR* name, int nameLength);

#endif
