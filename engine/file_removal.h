// Deleting one matched file, with the optional Yes / No / Cancel question.
#ifndef BRUMIX_FILE_REMOVAL_H
#define BRUMIX_FILE_REMOVAL_H

#include "engine/deletion_run.h"
#include "engine/walked_folder.h"

// Opens `entry` of `folder` for deletion, the entry itself and not what a link leads to,
// when the object opened is the entry listed (see IsListedEntry); a data reparse file
// (see IsDataReparseFile) is then opened again through its file system's filter, and
// checked again. `nameBlock` is OBJECT_NAME_BYTES of scratch. Gives null otherwise.
HANDLE OpenCheckedFile(const WalkedFolder& folder, const FolderEntry& entry, void* nameBlock);

// Deletes `entry` of `folder` after asking when the run has OPT_CONFIRM; a file that is
// not found exactly where the walk expects it is passed over unasked. The file is not
// held open while the question is up: it is opened, checked and deleted once the answer
// is Yes, and passed over silently if it can no longer be. Cancel, Escape, the close box,
// or a question that cannot be shown, stop the run. False once the run has been cancelled.
bool RemoveFile(DeletionJob& job, WalkedFolder& folder, FolderEntry& entry);

// Deletes `entry` of `folder` without a question, as a run without OPT_CONFIRM does.
void RemoveUnasked(const WalkedFolder& folder, const FolderEntry& entry, void* nameBlock);

// The per-file question for the file `name` of `folder`, in a block of its own size; the
// caller frees it.
WCHAR* ComposeFileQuestion(const WalkedFolder& folder, const WCHAR* name, int nameLength);

#endif
