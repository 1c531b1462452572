#include "engine/walked_folder.h"

#include "engine/native_files.h"

namespace {

// Bits of WalkedFolder::serialState.
constexpr LONG SERIAL_ASKED = 1;
constexpr LONG SERIAL_KNOWN = 2;

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

bool FolderVolumeSerial(WalkedFolder& folder, ULONG& serial)
{
    LONG state = InterlockedCompareExchange(&folder.serialState, 0, 0);
    if (state == 0) {
        // Threads that ask at once ask the system alike and write the same answer.
        ULONG asked = 0;
        bool known = QueryVolumeSerial(folder.handle, asked);
        if (known)
            folder.serial = asked;
        state = known ? SERIAL_ASKED | SERIAL_KNOWN : SERIAL_ASKED;
        InterlockedExchange(&folder.serialState, state);
    }
    if (!(state & SERIAL_KNOWN))
        return false;
    serial = folder.serial;
    return true;
}

bool IsSameFolder(const FolderKey& one, const FolderKey& other)
{
    return HasFileId(one.id) && one.id == other.id && one.serial == other.serial;
}

bool RepeatsAnAncestor(WalkedFolder& folder)
{
    if (!HasFileId(folder.id))
        return false;
    for (WalkedFolder* above = folder.parent; above != nullptr; above = above->parent) {
        if (above->id != folder.id)
            continue;
        // The same id where a volume cannot be told: taken for the same folder, which is
        // left rather than walked round.
        FolderKey key = {0, folder.id};
        FolderKey aboveKey = {0, above->id};
        if (!FolderVolumeSerial(folder, key.serial) || !FolderVolumeSerial(*above, aboveKey.serial) ||
            IsSameFolder(key, aboveKey))
            return true;
    }
    return false;
}
