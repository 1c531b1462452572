#include "engine/walked_folder.h"

#include "engine/native_files.h"

namespace {

// The object's id, or 0 when the system gives none.
LONGLONG IdOf(HANDLE handle)
{
    LONGLONG id = 0;
    return QueryFileId(handle, id) ? id : 0;
}

}  // namespace

WalkedFolder* MakeWalkedFolder(HANDLE handle, const WCHAR* found, int foundLength, const WCHAR* shownParent,
                               int shownParentLength, const WCHAR* name, int nameLength)
{
    if (found == nullptr)
        foundLength = 0;
    int shownLength = shownParentLength + nameLength + (nameLength > 0 ? 1 : 0);
    SIZE_T bytes = sizeof(WalkedFolder) + (static_cast<SIZE_T>(foundLength) + 1 + shownLength + 1) * sizeof(WCHAR);
    auto* folder = static_cast<WalkedFolder*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, bytes));
    if (folder == nullptr)
        return nullptr;
    auto* text = reinterpret_cast<WCHAR*>(folder + 1);
    if (found != nullptr) {
        CopyMemory(text, found, foundLength * sizeof(WCHAR));
        folder->found = text;
        folder->foundLength = foundLength;
    }
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
    folder->check = PlatformEntryCheck(found, foundLength);
    folder->id = IdOf(handle);
    folder->serialKnown = QueryVolumeSerial(handle, folder->serial);
    return folder;
}

WalkedFolder* MakeSubfolder(WalkedFolder& parent, HANDLE handle, const FolderEntry& entry)
{
    SIZE_T bytes = sizeof(WalkedFolder) + (static_cast<SIZE_T>(entry.length) + 1) * sizeof(WCHAR);
    auto* folder = static_cast<WalkedFolder*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, bytes));
    if (folder == nullptr)
        return nullptr;
    auto* text = reinterpret_cast<WCHAR*>(folder + 1);
    CopyMemory(text, entry.name, entry.length * sizeof(WCHAR));
    folder->handle = handle;
    folder->references = 1;
    folder->parent = &parent;
    HoldFolder(&parent);
    folder->check = parent.check;
    folder->name = text;
    folder->nameLength = entry.length;
    folder->shownLength = parent.shownLength + entry.length + 1;
    // A file system that lists no ids (a network share that offers only the classes
    // without them) may still give one for an open folder.
    folder->id = HasFileId(entry.id) ? entry.id : IdOf(handle);
    folder->serial = parent.serial;
    folder->serialKnown = parent.serialKnown;
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

bool FolderVolumeSerial(const WalkedFolder& folder, ULONG& serial)
{
    serial = folder.serial;
    return folder.serialKnown;
}

bool IsSameFolder(const FolderKey& one, const FolderKey& other)
{
    return HasFileId(one.id) && one.id == other.id && one.serial == other.serial;
}

bool RepeatsAnAncestor(const WalkedFolder& folder)
{
    if (!HasFileId(folder.id))
        return false;
    for (const WalkedFolder* above = folder.parent; above != nullptr; above = above->parent) {
        bool volumesKnown = folder.serialKnown && above->serialKnown;
        FolderKey key = {volumesKnown ? folder.serial : 0, folder.id};
        FolderKey aboveKey = {volumesKnown ? above->serial : 0, above->id};
        if (IsSameFolder(key, aboveKey))
            return true;
    }
    return false;
}
