#include "pickers/pattern_picker.h"

#include <commdlg.h>

#include "base/global_block.h"
#include "pickers/current_directory_guard.h"
#include "pickers/open_request.h"

namespace {

constexpr WCHAR EVERY_FILE_FILTER[] = L"Tous (*.*)\0*.*\0";
// A picked shortcut is the file it is: left to itself the dialog gives the file that a
// shortcut leads to, and "x.lnk" would yield its target's extension ("*.exe").
constexpr DWORD PATTERN_PICKER_FLAGS =
    OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_NODEREFERENCELINKS;
static_assert(PATTERN_PICKER_FLAGS == 0x18020C, "the Explorer-style dialog, several files at once, shortcuts as such");

// The list is whole when a run of strings ends with an empty one inside the block. Wine
// answers a selection too long for the block with success and a block filled to its last
// character, the last name cut and nothing terminated (Windows fails the call instead).
bool ListEndsInside(const WCHAR* selection, int selectionSize)
{
    int at = 0;
    while (at < selectionSize) {
        int end = at;
        while (end < selectionSize && selection[end] != L'\0')
            ++end;
        if (end == selectionSize)
            return false;
        if (end == at)
            return true;
        at = end + 1;
    }
    return false;
}

// The same pattern regardless of letter case, and only of case, as the file system tells
// names apart: lstrcmpiW also takes "ss" for "ß" and "ae" for "æ", which name other files.
bool SameExtensionAnyCase(const WCHAR* one, const WCHAR* other)
{
    return CompareStringOrdinal(one, -1, other, -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

const WCHAR* ExtensionOf(const WCHAR* name)
{
    const WCHAR* extension = nullptr;
    const WCHAR* at = name;
    for (; *at != L'\0'; ++at) {
        if (*at == L'.')
            extension = at;
        else if (*at == L'\\' || *at == L'/')
            extension = nullptr;
    }
    return extension != nullptr ? extension : at;
}

int CollectExtensionPatterns(const WCHAR* selection, int selectionSize, WCHAR* patterns, int capacity)
{
    if (!ListEndsInside(selection, selectionSize))
        return SELECTION_REFUSED;
    if (*selection == L'\0')
        return 0;

    // Several names come behind their folder; a single pick comes back as its full path
    // alone, and gives its own extension too.
    const WCHAR* first = selection + lstrlenW(selection) + 1;
    if (*first == L'\0')
        first = selection;
    int names = 0;
    SIZE_T needed = 0;
    for (const WCHAR* name = first; *name != L'\0'; name += lstrlenW(name) + 1) {
        needed += 1 + lstrlenW(ExtensionOf(name)) + 1;
        ++names;
    }
    if (needed > static_cast<SIZE_T>(capacity))
        return SELECTION_REFUSED;  // only a table smaller than the selection's can get here

    // Each name's extension, where the selection holds it; null once dropped as a repeat.
    GlobalBlock work(static_cast<SIZE_T>(names) * sizeof(const WCHAR*));
    if (!work)
        return SELECTION_REFUSED;
    const WCHAR** extensions = work.as<const WCHAR*>();
    int index = 0;
    for (const WCHAR* name = first; *name != L'\0'; name += lstrlenW(name) + 1)
        extensions[index++] = ExtensionOf(name);

    int count = 0;
    WCHAR* pattern = patterns;
    for (int j = 0; j < names; ++j) {
        if (extensions[j] == nullptr)
            continue;
        int length = lstrlenW(extensions[j]);
        pattern[0] = L'*';
        CopyMemory(pattern + 1, extensions[j], (length + 1) * sizeof(WCHAR));
        for (int k = j + 1; k < names; ++k) {
            if (extensions[k] != nullptr && SameExtensionAnyCase(extensions[j], extensions[k])) {
                // No owner, and still modal to every window of the program: the main
                // dialog takes no command (no run, no close, no second picker) until the
                // last box is answered.
                MessageBoxW(nullptr, pattern, nullptr, MB_OK | MB_TASKMODAL);
                extensions[k] = nullptr;
            }
        }
        pattern += 1 + length + 1;
        ++count;
    }
    return count;
}

void JoinPatterns(const WCHAR* patterns, int count, WCHAR* joined, int capacity, const WCHAR* separator)
{
    if (capacity <= 0)
        return;
    joined[0] = L'\0';
    int length = 0;
    int separatorLength = lstrlenW(separator);
    const WCHAR* pattern = patterns;
    for (int i = 0; i < count; ++i, pattern += lstrlenW(pattern) + 1) {
        int patternLength = lstrlenW(pattern);
        int needed = (i > 0 ? separatorLength : 0) + patternLength;
        // Whole patterns only: a cut one would name other files.
        if (length + needed >= capacity)
            break;
        if (i > 0) {
            CopyMemory(joined + length, separator, separatorLength * sizeof(WCHAR));
            length += separatorLength;
        }
        CopyMemory(joined + length, pattern, patternLength * sizeof(WCHAR));
        length += patternLength;
        joined[length] = L'\0';
    }
}

int BrowsePatterns(HWND owner, WCHAR* patterns, int capacity)
{
    CurrentDirectoryGuard currentDirectory;
    GlobalBlock selection(SELECTION_CAPACITY * sizeof(WCHAR));
    GlobalBlock unique(static_cast<SIZE_T>(PATTERN_PICK_CAPACITY) * sizeof(WCHAR));
    GlobalBlock record(OPEN_REQUEST_SIZE);
    if (!selection || !unique || !record)
        return 0;

    OPENFILENAMEW* request = record.as<OPENFILENAMEW>();
    request->lStructSize = OPEN_REQUEST_SIZE;
    request->hwndOwner = owner;
    request->lpstrFilter = EVERY_FILE_FILTER;
    request->lpstrFile = selection.as<WCHAR>();
    request->nMaxFile = SELECTION_CAPACITY;
    request->Flags = PATTERN_PICKER_FLAGS;

    int result = GetOpenFileNameW(request);
    if (result == 0)
        return 0;
    int count = CollectExtensionPatterns(selection.as<WCHAR>(), SELECTION_CAPACITY, unique.as<WCHAR>(),
                                         PATTERN_PICK_CAPACITY);
    if (count == SELECTION_REFUSED)
        return 0;
    JoinPatterns(unique.as<WCHAR>(), count, patterns, capacity, L";");
    return result;
}
