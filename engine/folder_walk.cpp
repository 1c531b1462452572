#include "engine/folder_walk.h"

#include "engine/file_removal.h"
#include "engine/native_files.h"
#include "engine/owner_messages.h"
#include "engine/pattern_list.h"
#include "engine/removal_workers.h"

namespace {

// A file the patterns may name: any entry that is not a folder, whatever its other
// attributes. A link, a cloud placeholder or a compressed file is a file that the user
// named like any other, and goes as the platform's own deletion takes it: a link as
// itself, data in another form through its file system's filter (see OpenCheckedFile).
// Not one that cannot be told from its namesake, nor one already gone.
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

// Opens the subfolder `entry` of `parent`, if it is the entry listed and not a folder
// above it met again.
WalkedFolder* OpenSubfolder(DeletionJob& job, WalkedFolder& parent, const FolderEntry& entry)
{
    HANDLE handle = OpenFolder(parent.handle, entry.name, entry.length);
    if (handle == nullptr)
        return nullptr;
    WalkedFolder* child =
        IsListedEntry(parent, entry, handle, job.nameBlock) ? MakeSubfolder(parent, handle, entry) : nullptr;
    if (child == nullptr) {
        CloseObject(handle);
        return nullptr;
    }
    if (RepeatsAnAncestor(*child)) {
        ReleaseFolder(child);
        return nullptr;
    }
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

void WalkFolder(DeletionJob& job, WalkedFolder& start)
{
    if (job.entryCheck != CHECK_BY_PLATFORM)
        start.check = job.entryCheck;
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
