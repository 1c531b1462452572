#include "engine/folder_listing.h"

#include <algorithm>
#include <cstddef>

#include "engine/found_path.h"
#include "engine/native_files.h"

namespace {

int EntryBytes(int length)
{
    int bytes = static_cast<int>(offsetof(FolderEntry, name)) + (length + 1) * static_cast<int>(sizeof(WCHAR));
    return (bytes + 7) & ~7;
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

// Orders entries by their names without trailing dots and blanks, compared exactly.
bool StrippedBefore(const FolderEntry* one, const FolderEntry* other)
{
    int a = StrippedLength(one->name, one->length);
    int b = StrippedLength(other->name, other->length);
    for (int i = 0; i < a && i < b; ++i)
        if (one->name[i] != other->name[i])
            return one->name[i] < other->name[i];
    return a < b;
}

bool SameStripped(const FolderEntry* one, const FolderEntry* other)
{
    return !StrippedBefore(one, other) && !StrippedBefore(other, one);
}

// Marks every entry whose name, without trailing dots and blanks, is empty or is also
// another entry's. Only a name that ends with a dot or a blank can be another's twin, and
// such names are rare: most folders cost one pass. Otherwise twins end up side by side
// once the names are sorted without their tails, so that a folder of many such names
// costs a sort, not a comparison of every pair. False when there is no memory to sort.
bool MarkAmbiguous(FolderListing& listing)
{
    bool tailed = false;
    FolderEntry* entry = listing.first;
    for (int i = 0; i < listing.count && !tailed; ++i, entry = NextEntry(entry))
        tailed = StrippedLength(entry->name, entry->length) != entry->length;
    if (!tailed)
        return true;

    auto** order = static_cast<FolderEntry**>(GlobalAlloc(GMEM_FIXED, listing.count * sizeof(FolderEntry*)));
    if (order == nullptr)
        return false;
    entry = listing.first;
    for (int i = 0; i < listing.count; ++i, entry = NextEntry(entry))
        order[i] = entry;
    std::sort(order, order + listing.count, StrippedBefore);
    for (int i = 0; i < listing.count;) {
        int end = i + 1;
        while (end < listing.count && SameStripped(order[i], order[end]))
            ++end;
        bool empty = StrippedLength(order[i]->name, order[i]->length) == 0;
        if (end - i > 1 || empty)
            for (int k = i; k < end; ++k)
                order[k]->flags |= ENTRY_AMBIGUOUS;
        i = end;
    }
    GlobalFree(order);
    return true;
}

}  // namespace

bool IsDotName(const WCHAR* name, int length)
{
    return (length == 1 && name[0] == L'.') || (length == 2 && name[0] == L'.' && name[1] == L'.');
}

bool ListFolder(HANDLE folder, void* batch, FolderListing& listing, bool markNamesakes)
{
    listing = FolderListing{nullptr, nullptr, 0};
    SIZE_T capacity = 0;
    SIZE_T used = 0;
    int count = 0;
    int level = LEVEL_ID_FULL;
    for (bool restart = true;; restart = false) {
        BatchOutcome outcome = ListFolderBatch(folder, batch, LISTING_BATCH_BYTES, restart,
                                               static_cast<ListingLevel>(level));
        // A file system that does not keep these records: the next kind, from the start.
        while (outcome == BATCH_REFUSED && level + 1 < LEVEL_COUNT)
            outcome = ListFolderBatch(folder, batch, LISTING_BATCH_BYTES, restart, static_cast<ListingLevel>(++level));
        if (outcome == BATCH_END)
            break;
        if (outcome != BATCH_FILLED) {
            ReleaseListing(listing);
            return false;
        }
        const ListingLayout& layout = LISTING_LAYOUTS[level];
        for (auto* record = static_cast<BYTE*>(batch);; ) {
            // Every kind of record begins with the same fields (see nt_records.h).
            auto* common = reinterpret_cast<FILE_FULL_DIR_INFORMATION*>(record);
            auto* name = reinterpret_cast<const WCHAR*>(record + layout.nameOffset);
            int length = static_cast<int>(common->FileNameLength / sizeof(WCHAR));
            if (!IsDotName(name, length)) {
                // A name the system could not hold in an entry's length field is no name.
                if (length > 0xFFFF || !MakeRoom(listing, capacity, used, EntryBytes(length))) {
                    ReleaseListing(listing);
                    return false;
                }
                auto* entry = reinterpret_cast<FolderEntry*>(static_cast<BYTE*>(listing.block) + used);
                entry->id = 0;
                if (layout.idOffset != 0)
                    CopyMemory(&entry->id, record + layout.idOffset, sizeof entry->id);
                entry->attributes = common->FileAttributes;
                // A reparse point's records hold its tag where others hold their EA size.
                entry->tag = (common->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? common->EaSize : 0;
                entry->length = static_cast<WORD>(length);
                entry->flags = 0;
                CopyMemory(entry->name, name, length * sizeof(WCHAR));
                entry->name[length] = L'\0';
                used += EntryBytes(length);
                ++count;
            }
            if (common->NextEntryOffset == 0)
                break;
            record += common->NextEntryOffset;
        }
    }
    listing.first = static_cast<FolderEntry*>(listing.block);
    listing.count = count;
    if (markNamesakes && !MarkAmbiguous(listing)) {
        ReleaseListing(listing);
        return false;
    }
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
