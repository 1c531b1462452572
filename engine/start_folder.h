// The folder a run starts in: the user's text, made full, opened wherever it leads. Below
// it the walk goes only where it finds each folder itself.
#ifndef BRUMIX_START_FOLDER_H
#define BRUMIX_START_FOLDER_H

#include "engine/walked_folder.h"

// The folder text as the run names it and walks it, ending with "\": made full against the
// current directory of the moment ("sub" is the current directory's "sub", an empty text
// or "\" the root of the current drive), in the system's own form. A text in one pair of
// double quotes names the folder inside them. A "\\?\" text is kept as typed, and a "\\.\"
// one taken as "\\?\": only the final "\" is added. Make a text full once: the system's
// making full is not idempotent ("C:\Temp..\" becomes "C:\Temp.\", then "C:\Temp\"). A
// zero-filled block from the global heap, released with GlobalFree; null when the system
// cannot make the text full.
WCHAR* MakeFullFolder(const WCHAR* typed);

// Opens the folder that `folder`, a full path as MakeFullFolder gives it, names, at any
// length; that text begins every path that the run's questions show. `nameBlock` is
// OBJECT_NAME_BYTES of scratch. Null when there is no such folder, or when the folder
// must be checked by name (see entry_check.h) and the system gives none for it.
WalkedFolder* OpenStartFolder(const WCHAR* folder, void* nameBlock);

// True when the start folder, or a folder above it, has a namesake beside it but for
// trailing dots or blanks, where its entries are checked by the names reported, which
// come without them; `batch` is LISTING_BATCH_BYTES of scratch.
bool HasNamesakeAbove(const WalkedFolder& start, void* batch);

#endif
