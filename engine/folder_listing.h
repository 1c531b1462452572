// One folder's entries, listed once: the walk matches the patterns against them in memory
// and takes the subfolders from the same listing.
#ifndef BRUMIX_FOLDER_LISTING_H
#define BRUMIX_FOLDER_LISTING_H

#include <windows.h>

// An entry as the listing gave it. Entries are packed one after the other in the
// listing's block, each aligned to 8 bytes, its name terminated.
struct FolderEntry {
    LONGLONG id;        // its file id; 0 or -1 where the file system keeps none
    DWORD attributes;
    DWORD tag;          // its reparse tag, where its attributes make it a reparse point
    WORD length;        // characters of the name
    WORD flags;         // ENTRY_ bits
    WCHAR name[1];
};

// The folder holds another entry with the same name but for trailing dots and blanks,
// or the name is nothing but dots and blanks: where names are reported without such a
// tail, it cannot be told apart; never act on it.
constexpr WORD ENTRY_AMBIGUOUS = 1;
// Deleted by this run (a later pattern must not offer it again).
constexpr WORD ENTRY_GONE = 2;

struct FolderListing {
    HGLOBAL block;      // the packed entries; null when the folder has none
    FolderEntry* first;
    int count;
};

// Bytes of the scratch block that ListFolder reads the system's batches into.
constexpr ULONG LISTING_BATCH_BYTES = 64 * 1024;

// Lists the open folder `folder`, "." and ".." left out, in the order the system gives;
// with `markNamesakes`, marks the ambiguous entries. The records are the best that the
// file system offers (see ListingLevel): one that refuses a kind of record is asked for
// the next. False when it cannot be listed whole, to the system's own "no more files":
// the listing is then empty, and nothing in the folder may be acted on.
bool ListFolder(HANDLE folder, void* batch, FolderListing& listing, bool markNamesakes);
void ReleaseListing(FolderListing& listing);

FolderEntry* NextEntry(FolderEntry* entry);

// True when the name is "." or "..".
bool IsDotName(const WCHAR* name, int length);

#endif
