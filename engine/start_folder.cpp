#include "engine/start_folder.h"

#include "base/global_block.h"
#include "engine/found_path.h"
#include "engine/native_files.h"

namespace {

// Where the root of a final path in the Win32 form ends: after "\\?\C:\" or after
// "\\?\UNC\server\share\". 0 when it has neither form.
int RootLength(const WCHAR* path, int length)
{
    if (length >= 7 && CompareStringOrdinal(path, 4, L"\\\\?\\", 4, FALSE) == CSTR_EQUAL && path[5] == L':' &&
        path[6] == L'\\')
        return 7;
    if (length < 8 || CompareStringOrdinal(path, 8, L"\\\\?\\UNC\\", 8, TRUE) != CSTR_EQUAL)
        return 0;
    int at = 8;
    for (int part = 0; part < 2; ++part) {
        while (at < length && path[at] != L'\\')
            ++at;
        if (at == length)
            return 0;
        ++at;
    }
    return at;
}

// How many entries of the folder `parent` (the first `parentLength` characters) have the
// name `name` but for trailing dots and blanks; -1 when it cannot be listed.
int CountNamesakes(WCHAR* parent, int parentLength, const WCHAR* name, int nameLength, void* batch)
{
    WCHAR kept = parent[parentLength];
    parent[parentLength] = L'\0';
    HANDLE folder = OpenFolder(nullptr, parent, parentLength);
    parent[parentLength] = kept;
    if (folder == nullptr)
        return -1;
    FolderListing listing;
    bool listed = ListFolder(folder, batch, listing, false);
    CloseObject(folder);
    if (!listed)
        return -1;
    int stripped = StrippedLength(name, nameLength);
    int count = 0;
    FolderEntry* entry = listing.first;
    for (int i = 0; i < listing.count; ++i, entry = NextEntry(entry))
        if (StrippedLength(entry->name, entry->length) == stripped &&
            CompareStringOrdinal(entry->name, stripped, name, stripped, FALSE) == CSTR_EQUAL)
            ++count;
    ReleaseListing(listing);
    return count;
}

// The long form adds at most "\\?\UNC\" less the "\\" it replaces, and a terminator.
constexpr int LONG_FORM_ROOM = 8;

bool StartsWith(const WCHAR* text, int length, const WCHAR* start)
{
    int startLength = lstrlenW(start);
    return length >= startLength && CompareStringOrdinal(text, startLength, start, startLength, FALSE) == CSTR_EQUAL;
}

// "C:\x\" as "\\?\C:\x\", "\\server\share\" as "\\?\UNC\server\share\"; a path already in a
// device form ("\\?\", "\\.\") stays as it is. Gives the length written into `path`.
int LongForm(const WCHAR* folder, int length, WCHAR* path)
{
    const WCHAR* prefix = L"\\\\?\\";
    int skipped = 0;
    if (StartsWith(folder, length, L"\\\\?\\") || StartsWith(folder, length, L"\\\\.\\")) {
        prefix = L"";
    } else if (StartsWith(folder, length, L"\\\\")) {
        prefix = L"\\\\?\\UNC\\";
        skipped = 2;
    }
    int prefixLength = lstrlenW(prefix);
    CopyMemory(path, prefix, prefixLength * sizeof(WCHAR));
    CopyMemory(path + prefixLength, folder + skipped, (length - skipped) * sizeof(WCHAR));
    path[prefixLength + length - skipped] = L'\0';
    return prefixLength + length - skipped;
}

}  // namespace

WCHAR* MakeFullFolder(const WCHAR* typed)
{
    int length = lstrlenW(typed);
    // "Copy as path" gives a path in double quotes; no Windows name holds a quote.
    if (length >= 2 && typed[0] == L'"' && typed[length - 1] == L'"') {
        ++typed;
        length -= 2;
    }
    // Room for the text, a closing backslash and the terminator.
    GlobalBlock inner((static_cast<SIZE_T>(length) + 2) * sizeof(WCHAR));
    if (!inner)
        return nullptr;
    WCHAR* text = inner.as<WCHAR>();
    CopyMemory(text, typed, length * sizeof(WCHAR));

    // A device path is kept as typed: it is the only way to name a folder whose name ends
    // in a dot or a blank, which making it full would strip. "\\.\" is parsed by the system
    // as other paths are: it is taken as "\\?\", which is not.
    if (StartsWith(text, length, L"\\\\?\\") || StartsWith(text, length, L"\\\\.\\")) {
        text[2] = L'?';
        if (text[length - 1] != L'\\')
            text[length++] = L'\\';
        auto* kept = static_cast<WCHAR*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, (length + 1) * sizeof(WCHAR)));
        if (kept != nullptr)
            CopyMemory(kept, text, length * sizeof(WCHAR));
        return kept;
    }

    if (length == 0)
        text[0] = L'\\';
    DWORD needed = GetFullPathNameW(text, 0, nullptr, nullptr);
    if (needed == 0)
        return nullptr;
    // Room for the closing backslash as well.
    DWORD capacity = needed + 1;
    auto* full = static_cast<WCHAR*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, capacity * sizeof(WCHAR)));
    if (full == nullptr)
        return nullptr;
    DWORD fullLength = GetFullPathNameW(text, capacity, full, nullptr);
    if (fullLength == 0 || fullLength + 1 >= capacity) {
        GlobalFree(full);
        return nullptr;
    }
    if (full[fullLength - 1] != L'\\')
        full[fullLength] = L'\\';
    return full;
}

WalkedFolder* OpenStartFolder(const WCHAR* folder, void* nameBlock)
{
    int length = lstrlenW(folder);
    if (length == 0 || folder[length - 1] != L'\\')
        return nullptr;
    // The path is opened in its long form, which takes any length and is parsed no
    // further: the text is already full, and is then exactly what was named.
    GlobalBlock longForm((static_cast<SIZE_T>(length) + LONG_FORM_ROOM) * sizeof(WCHAR));
    if (!longForm)
        return nullptr;
    WCHAR* path = longForm.as<WCHAR>();
    int pathLength = LongForm(folder, length, path);

    HANDLE handle = OpenFolder(nullptr, path, pathLength);
    if (handle == nullptr)
        return nullptr;
    if (!IsOpenFolder(handle)) {
        CloseObject(handle);
        return nullptr;
    }
    // Checked by id, the walk does without it (see StartCanBeWalked).
    int foundLength = 0;
    const WCHAR* found = QueryObjectName(handle, nameBlock, foundLength);
    WalkedFolder* start = MakeWalkedFolder(handle, found, foundLength, folder, length, L"", 0);
    if (start == nullptr) {
        CloseObject(handle);
        return nullptr;
    }
    if (!StartCanBeWalked(start->check, found != nullptr)) {
        ReleaseFolder(start);
        return nullptr;
    }
    return start;
}

// Wine reports names without the trailing dots and blanks of every component, the start
// folder's and those of the folders above it too: from inside "tree", a link could lead
// to "tree.\x.obj" and be reported as "tree\x.obj". So a run does not start in a folder
// that has such a namesake, or below one. A folder above that cannot be listed, or that
// Wine leaves out of its parent's listing (it hides /dev, for one), shows no namesake.
// Windows reports names as they are: there the guard would only leave named files behind.
bool HasNamesakeAbove(const WalkedFolder& start, void* batch)
{
    if (start.check != CHECK_BY_NAME)
        return false;
    DWORD needed = GetFinalPathNameByHandleW(start.handle, nullptr, 0, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (needed == 0)
        return false;
    GlobalBlock block((needed + 1) * sizeof(WCHAR));
    if (!block)
        return true;
    WCHAR* path = block.as<WCHAR>();
    int length = static_cast<int>(GetFinalPathNameByHandleW(start.handle, path, needed + 1,
                                                            FILE_NAME_NORMALIZED | VOLUME_NAME_DOS));
    if (length <= 0 || length > static_cast<int>(needed))
        return true;
    int root = RootLength(path, length);
    if (root == 0)
        return false;
    for (int at = root; at < length;) {
        int end = at;
        while (end < length && path[end] != L'\\')
            ++end;
        // The parent keeps its backslash only when it is the root.
        int parentLength = at == root ? at : at - 1;
        if (end > at && CountNamesakes(path, parentLength, path + at, end - at, batch) > 1)
            return true;
        at = end + 1;
    }
    return false;
}
