#include "engine/folder_listing.h"

#include <winternl.h>

#include <cstddef>

#include "engine/found_path.h"
#include "engine/native_files.h"

namespace {

int EntryBytes(int length)
{
    int bytes = static_cast<int>(offsetof(FolderEntry, name)) + (length + 1) * static_cast<int>(sizeof(WCHAR));
    return (bytes + 3) & ~3;
}

// Grows the listing's block so that `needed` more bytes fit after `used`.
bool MakeRoom(FolderListing& listing, SIZE_T& capacity, SIZE_T used, SIZE_T needed)
{
    if (used + needed <= capacity)
        return true;
    SIZE_T grown = capacity == 0 ? 16 * 1024 : capacity * 2;
    while (grown < used + needed)
        grown *= 2;
    HGLOBAL block = listing.block == nullptr ? GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, grown)
                                             : GlobalReAlloc(listing.block, grown, GMEM_MOVEABLE | GMEM_ZEROINIT);
    if (block == nullptr)
        return false;
    listing.block = block;
    capacity = grown;
    return true;
}

// Marks every entry whose name, without trailing dots and blanks, is empty or is also
// another entry's. Only a name that ends with a dot or a blank can be another's twin, and
// such names are rare: most folders cost one pass.
void MarkAmbiguous(FolderListing& listing)
{
    FolderEntry* entry = listing.first;
    for (int i = 0; i < listing.count; ++i, entry = NextEntry(entry)) {
        int stripped = StrippedLength(entry->name, entry->length);
        if (stripped == entry->length)
            continue;
        if (stripped == 0) {
            entry->flags |= ENTRY_AMBIGUOUS;
            continue;
        }
        FolderEntry* other = listing.first;
        for (int j = 0; j < listing.count; ++j, other = NextEntry(other)) {
            if (other == entry || StrippedLength(other->name, other->length) != stripped)
                continue;
            if (CompareStringOrdinal(entry->name, stripped, other->name, stripped, FALSE) == CSTR_EQUAL) {
                entry->flags |= ENTRY_AMBIGUOUS;
                other->flags |= ENTRY_AMBIGUOUS;
            }
        }
    }
}

}  // namespace

bool IsDotName(const WCHAR* name, int length)
{
    return (length == 1 && name[0] == L'.') || (length == 2 && name[0] == L'.' && name[1] == L'.');
}

bool ListFolder(HANDLE folder, void* batch, FolderListing& listing)
{
    listing = FolderListing{nullptr, nullptr, 0};
    SIZE_T capacity = 0;
    SIZE_T used = 0;
    int count = 0;
    for (bool restart = true; ListFolderBatch(folder, batch, LISTING_BATCH_BYTES, restart); restart = false) {
        auto* record = static_cast<FILE_DIRECTORY_INFORMATION*>(batch);
        for (;;) {
            int length = static_cast<int>(record->FileNameLength / sizeof(WCHAR));
            if (!IsDotName(record->FileName, length)) {
                // A name the system could not hold in an entry's length field is no name.
                if (length > 0xFFFF || !MakeRoom(listing, capacity, used, EntryBytes(length))) {
                    ReleaseListing(listing);
                    return false;
                }
                auto* entry = reinterpret_cast<FolderEntry*>(static_cast<BYTE*>(listing.block) + used);
                entry->attributes = record->FileAttributes;
                entry->length = static_cast<WORD>(length);
                entry->flags = 0;
                CopyMemory(entry->name, record->FileName, length * sizeof(WCHAR));
                entry->name[length] = L'\0';
                used += EntryBytes(length);
                ++count;
            }
            if (record->NextEntryOffset == 0)
                break;
            record = reinterpret_cast<FILE_DIRECTORY_INFORMATION*>(reinterpret_cast<BYTE*>(record) +
                                                                   record->NextEntryOffset);
        }
    }
    listing.first = static_cast<FolderEntry*>(listing.block);
    listing.count = count;
    MarkAmbiguous(listing);
    return true;
}

void ReleaseListing(FolderListing& listing)
{
    if (listing.block != nullptr)
        GlobalFree(listing.block);
    listing = FolderListing{nullptr, nullptr, 0};
}

FolderEntry* NextEntry(FolderEntry* entry)
{
    return reinterpret_cast<FolderEntry*>(reinterpret_cast<BYTE*>(entry) + EntryBytes(entry->length));
}
