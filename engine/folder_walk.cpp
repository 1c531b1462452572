#include "engine/folder_walk.h"

#include "engine/file_removal.h"
#include "engine/found_path.h"
#include "engine/native_files.h"
#include "engine/owner_messages.h"
#include "engine/pattern_list.h"
#include "engine/removal_workers.h"

namespace {

// A file the patterns may name: any entry that is not a folder, whatever its other
// attributes. A link, a cloud placeholder or a compressed file is a file that the user
// named like any other, and goes as the entry itself (see OpenFileForDeletion). Not one
// that cannot be told from its namesake, nor one already gone.
bool IsCandidate(const FolderEntry& entry)
{
    return !(entry.attributes & FILE_ATTRIBUTE_DIRECTORY) && !(entry.flags & (ENTRY_AMBIGUOUS | ENTRY_GONE));
}

// A folder the walk enters: its attribute word is exactly the folder attribute, so a
// folder with any further attribute (hidden, read-only, a link) is not entered.
bool IsPlainFolder(const FolderEntry& entry)
{
    return entry.attributes == FILE_ATTRIBUTE_DIRECTORY && !(entry.flags & ENTRY_AMBIGUOUS);
}

// The file system gives an id to tell its objects apart (NTFS, ReFS, and the ids that
// FAT and network file systems make up); 0 and -1 stand for none.
bool HasFileId(LONGLONG id)
{
    return id != 0 && id != -1;
}

bool MatchesAny(const DeletionJob& job, const FolderEntry& entry)
{
    const WCHAR* pattern = job.patterns;
    for (int i = 0; i < job.patternCount; ++i, pattern += lstrlenW(pattern) + 1)
        if (NameMatchesPattern(entry.name, entry.length, pattern))
            return true;
    return false;
}

void NoteFolderEntered(DeletionJob& job, const WalkedFolder& folder)
{
    if (folder.shownLength >= MAX_PATH)
        return;
    WriteShownPath(folder, job.lastFolder);
    job.lastFolder[folder.shownLength] = L'\0';
}

// A record for the subfolder `name` of `parent`, open in `handle`, holding one reference
// and one to its parent. Null when the heap cannot supply it.
WalkedFolder* MakeSubfolder(WalkedFolder& parent, HANDLE handle, const WCHAR* name, int nameLength)
{
    SIZE_T bytes = sizeof(WalkedFolder) + (static_cast<SIZE_T>(nameLength) + 1) * sizeof(WCHAR);
    auto* folder = static_cast<WalkedFolder*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, bytes));
    if (folder == nullptr)
        return nullptr;
    auto* text = reinterpret_cast<WCHAR*>(folder + 1);
    CopyMemory(text, name, nameLength * sizeof(WCHAR));
    folder->handle = handle;
    folder->references = 1;
    folder->parent = &parent;
    HoldFolder(&parent);
    folder->check = parent.check;
    folder->name = text;
    folder->nameLength = nameLength;
    folder->shownLength = parent.shownLength + nameLength + 1;
    return folder;
}

// Opens the subfolder `entry` of `parent`, if it is the entry listed.
WalkedFolder* OpenSubfolder(DeletionJob& job, WalkedFolder& parent, const FolderEntry& entry)
{
    HANDLE handle = OpenFolder(parent.handle, entry.name, entry.length);
    if (handle == nullptr)
        return nullptr;
    WalkedFolder* child = IsListedEntry(parent, entry, handle, job.nameBlock)
                              ? MakeSubfolder(parent, handle, entry.name, entry.length)
                              : nullptr;
    if (child == nullptr)
        CloseObject(handle);
    return child;
}

// Lists the folder once and deletes its matching files. False when it cannot be listed
// whole, or once the run has been cancelled: then nothing below it is entered.
bool EnterFolder(DeletionJob& job, WalkedFolder& folder)
{
    if (g_cancelRequested)
        return false;
    NoteFolderEntered(job, folder);
    folder.next = nullptr;
    folder.nextIndex = 0;
    if (!ListFolder(folder.handle, job.batch, folder.listing, folder.check == CHECK_BY_NAME))
        return false;
    folder.next = folder.listing.first;
    return DeleteMatches(job, folder);
}

// The next plain subfolder in the folder's listing, or null once there is none left.
const FolderEntry* NextPlainFolder(DeletionJob& job, WalkedFolder& folder)
{
    while (folder.nextIndex < folder.listing.count && !g_cancelRequested) {
        HandleOwnerMessages(job);
        const FolderEntry* entry = folder.next;
        folder.next = NextEntry(folder.next);
        ++folder.nextIndex;
        if (IsPlainFolder(*entry))
            return entry;
    }
    return nullptr;
}

}  // namespace

WalkedFolder* MakeWalkedFolder(HANDLE handle, const WCHAR* found, int foundLength, const WCHAR* shownParent,
                               int shownParentLength, const WCHAR* name, int nameLength)
{
    int shownLength = shownParentLength + nameLength + (nameLength > 0 ? 1 : 0);
    SIZE_T bytes = sizeof(WalkedFolder) + (static_cast<SIZE_T>(foundLength) + 1 + shownLength + 1) * sizeof(WCHAR);
    auto* folder = static_cast<WalkedFolder*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, bytes));
    if (folder == nullptr)
        return nullptr;
    auto* text = reinterpret_cast<WCHAR*>(folder + 1);
    CopyMemory(text, found, foundLength * sizeof(WCHAR));
    folder->found = text;
    folder->foundLength = foundLength;
    text += foundLength + 1;
    CopyMemory(text, shownParent, shownParentLength * sizeof(WCHAR));
    if (nameLength > 0) {
        CopyMemory(text + shownParentLength, name, nameLength * sizeof(WCHAR));
        text[shownLength - 1] = L'\\';
    }
    folder->name = text;
    folder->nameLength = shownLength;
    folder->shownLength = shownLength;
    folder->handle = handle;
    folder->references = 1;
    folder->check = ResolveEntryCheck(CHECK_BY_PLATFORM);
    return folder;
}

void HoldFolder(WalkedFolder* folder)
{
    InterlockedIncrement(&folder->references);
}

void ReleaseFolder(WalkedFolder* folder)
{
    // Up the chain without recursion: a folder's last reference may be its parent's last.
    while (folder != nullptr && InterlockedDecrement(&folder->references) == 0) {
        WalkedFolder* parent = folder->parent;
        CloseObject(folder->handle);
        ReleaseListing(folder->listing);
        GlobalFree(folder);
        folder = parent;
    }
}

void WriteShownPath(const WalkedFolder& folder, WCHAR* text)
{
    WCHAR* end = text + folder.shownLength;
    const WalkedFolder* at = &folder;
    for (; at->parent != nullptr; at = at->parent) {
        *--end = L'\\';
        end -= at->nameLength;
        CopyMemory(end, at->name, at->nameLength * sizeof(WCHAR));
    }
    CopyMemory(text, at->name, at->nameLength * sizeof(WCHAR));
}

bool IsListedEntry(const WalkedFolder& folder, const FolderEntry& entry, HANDLE handle, void* nameBlock)
{
    if (folder.check == CHECK_BY_ID) {
        // Without ids, the exact relative open that follows no link is all there is.
        if (!HasFileId(entry.id))
            return true;
        LONGLONG id = 0;
        return QueryFileId(handle, id) && id == entry.id;
    }
    int length = 0;
    const WCHAR* found = QueryObjectName(handle, nameBlock, length);
    if (found == nullptr || !CutFoundComponent(found, length, entry.name, entry.length))
        return false;
    const WalkedFolder* at = &folder;
    for (; at->parent != nullptr; at = at->parent)
        if (!CutFoundComponent(found, length, at->name, at->nameLength))
            return false;
    return IsFoundFolder(found, length, at->found, at->foundLength);
}

void WalkFolder(DeletionJob& job, WalkedFolder& start)
{
    start.check = ResolveEntryCheck(job.entryCheck);
    if (!EnterFolder(job, start) || !(job.options & OPT_RECURSE))
        return;
    // The walk's stack is the chain of folders entered, each linked to its parent: going
    // down costs one record, going up releases it.
    WalkedFolder* current = &start;
    for (;;) {
        const FolderEntry* entry = NextPlainFolder(job, *current);
        if (entry == nullptr) {
            if (current == &start)
                return;
            WalkedFolder* parent = current->parent;
            ReleaseFolder(current);
            current = parent;
            continue;
        }
        WalkedFolder* child = OpenSubfolder(job, *current, *entry);
        if (child == nullptr)
            continue;
        if (EnterFolder(job, *child))
            current = child;
        else
            ReleaseFolder(child);
    }
}

bool DeleteMatches(DeletionJob& job, WalkedFolder& folder)
{
    FolderListing& listing = folder.listing;
    if (!(job.options & OPT_CONFIRM)) {
        FolderEntry* entry = listing.first;
        for (int i = 0; i < listing.count && !g_cancelRequested; ++i, entry = NextEntry(entry)) {
            HandleOwnerMessages(job);
            if (!IsCandidate(*entry) || !MatchesAny(job, *entry))
                continue;
            if (job.workers != nullptr)
                QueueRemoval(job, folder, *entry);
            else
                RemoveUnasked(folder, *entry, job.nameBlock);
        }
        return g_cancelRequested == 0;
    }

    // With questions, in the designed order: pattern by pattern, each in the listing's
    // order. A file spared for one pattern is offered again for the next that names it.
    const WCHAR* pattern = job.patterns;
    for (int p = 0; p < job.patternCount; ++p, pattern += lstrlenW(pattern) + 1) {
        FolderEntry* entry = listing.first;
        for (int i = 0; i < listing.count; ++i, entry = NextEntry(entry)) {
            HandleOwnerMessages(job);
            if (g_cancelRequested)
                return false;
            if (IsCandidate(*entry) && NameMatchesPattern(entry->name, entry->length, pattern) &&
                !RemoveFile(job, folder, *entry))
                return false;
        }
    }
    return true;
}
