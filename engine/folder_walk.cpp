#include "engine/folder_walk.h"

#include "engine/file_removal.h"
#include "engine/found_path.h"
#include "engine/native_files.h"
#include "engine/owner_messages.h"
#include "engine/pattern_list.h"
#include "engine/removal_workers.h"

namespace {

// A file the patterns may name: not a folder, not an entry that Windows marks as a link
// (whose target may be anywhere), not one that cannot be told from its namesake.
bool IsCandidate(const FolderEntry& entry)
{
    return !(entry.attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
           !(entry.flags & (ENTRY_AMBIGUOUS | ENTRY_GONE));
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
    if (folder.shownLength < MAX_PATH)
        lstrcpynW(job.lastFolder, folder.shown, MAX_PATH);
}

// Opens the subfolder `entry` of `parent` and walks it, if the system reports it exactly
// where the walk expects it.
void WalkSubfolder(DeletionJob& job, WalkedFolder& parent, const FolderEntry& entry)
{
    HANDLE handle = OpenFolder(parent.handle, entry.name, entry.length);
    if (handle == nullptr)
        return;
    int length = 0;
    const WCHAR* found = QueryObjectName(handle, job.nameBlock, length);
    if (found == nullptr || !IsFoundIn(found, length, parent.found, parent.foundLength, entry.name, entry.length)) {
        CloseObject(handle);
        return;
    }
    WalkedFolder* child =
        MakeWalkedFolder(handle, found, length, parent.shown, parent.shownLength, entry.name, entry.length);
    if (child == nullptr) {
        CloseObject(handle);
        return;
    }
    WalkFolder(job, *child);
    ReleaseFolder(child);
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
    folder->shown = text;
    folder->shownLength = shownLength;
    folder->handle = handle;
    folder->references = 1;
    return folder;
}

void HoldFolder(WalkedFolder* folder)
{
    InterlockedIncrement(&folder->references);
}

void ReleaseFolder(WalkedFolder* folder)
{
    if (InterlockedDecrement(&folder->references) != 0)
        return;
    CloseObject(folder->handle);
    ReleaseListing(folder->listing);
    GlobalFree(folder);
}

void WalkFolder(DeletionJob& job, WalkedFolder& folder)
{
    if (g_cancelRequested)
        return;
    NoteFolderEntered(job, folder);
    if (!ListFolder(folder.handle, job.batch, folder.listing))
        return;
    if (!DeleteMatches(job, folder))
        return;
    if (!(job.options & OPT_RECURSE))
        return;

    FolderEntry* entry = folder.listing.first;
    for (int i = 0; i < folder.listing.count && !g_cancelRequested; ++i, entry = NextEntry(entry)) {
        HandleOwnerMessages(job);
        if (IsPlainFolder(*entry))
            WalkSubfolder(job, folder, *entry);
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
