#include "pickers/pattern_picker.h"

#include <commdlg.h>

#include <cstring>

#include "base/global_block.h"
#include "pickers/current_directory_guard.h"
#include "pickers/open_request.h"

namespace {

constexpr char EVERY_FILE_FILTER[] = "Tous (*.*)\0*.*\0";
constexpr DWORD PATTERN_PICKER_FLAGS = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
static_assert(PATTERN_PICKER_FLAGS == 0x8020C, "the Explorer-style dialog, several files at once");

char* Slot(char* table, int index)
{
    return table + index * PATTERN_SLOT_SIZE;
}

const char* Slot(const char* table, int index)
{
    return table + index * PATTERN_SLOT_SIZE;
}

// The list is whole when a run of strings ends with an empty one inside the block. Wine
// answers a selection too long for the block with success and a block filled to its last
// byte, the last name cut and nothing terminated (Windows fails the call instead).
bool ListEndsInside(const char* selection, int selectionSize)
{
    int at = 0;
    while (at < selectionSize) {
        const void* end = std::memchr(selection + at, '\0', selectionSize - at);
        if (end == nullptr)
            return false;
        if (end == selection + at)
            return true;
        at = static_cast<int>(static_cast<const char*>(end) - selection) + 1;
    }
    return false;
}

// The same pattern regardless of letter case, and only of case: lstrcmpiA also takes
// "ss" for "ß" and "ae" for "æ", which name other files.
bool SamePatternAnyCase(const char* upperA, const char* upperB)
{
    return std::strcmp(upperA, upperB) == 0;
}

}  // namespace

const char* ExtensionOf(const char* name)
{
    const char* extension = nullptr;
    // CharNextA steps over a double-byte character whole, so a trail byte is never taken
    // for a dot or a separator.
    const char* at = name;
    for (; *at != '\0'; at = CharNextA(at)) {
        if (*at == '.')
            extension = at;
        else if (*at == '\\' || *at == '/')
            extension = nullptr;
    }
    return extension != nullptr ? extension : at;
}

int CollectExtensionPatterns(const char* selection, int selectionSize, char* slots)
{
    if (!ListEndsInside(selection, selectionSize))
        return SELECTION_REFUSED;
    if (*selection == '\0')
        return 0;
    GlobalBlock work(PATTERN_TABLE_SIZE);
    GlobalBlock keys(PATTERN_TABLE_SIZE);  // the work slots in upper case, for comparing
    if (!work || !keys)
        return SELECTION_REFUSED;

    // Several names come behind their folder; a single pick comes back as its full path
    // alone, and gives its own extension too.
    const char* name = selection + lstrlenA(selection) + 1;
    if (*name == '\0')
        name = selection;

    int names = 0;
    for (; *name != '\0'; name += lstrlenA(name) + 1) {
        const char* extension = ExtensionOf(name);
        if (names == PATTERN_SLOT_COUNT || 1 + lstrlenA(extension) >= PATTERN_SLOT_SIZE)
            return SELECTION_REFUSED;  // only a block larger than the dialog's can get here
        char* slot = Slot(work.text(), names);
        slot[0] = '*';
        lstrcpynA(slot + 1, extension, PATTERN_SLOT_SIZE - 1);
        char* key = Slot(keys.text(), names);
        lstrcpynA(key, slot, PATTERN_SLOT_SIZE);
        CharUpperBuffA(key, static_cast<DWORD>(lstrlenA(key)));
        ++names;
    }

    int count = 0;
    for (int j = 0; j < names; ++j) {
        char* pattern = Slot(work.text(), j);
        if (pattern[0] == '\0')
            continue;
        for (int k = j + 1; k < names; ++k) {
            char* repeat = Slot(work.text(), k);
            if (repeat[0] != '\0' && SamePatternAnyCase(Slot(keys.text(), j), Slot(keys.text(), k))) {
                MessageBoxA(nullptr, pattern, nullptr, MB_OK);
                repeat[0] = '\0';
            }
        }
        lstrcpynA(Slot(slots, count), pattern, PATTERN_SLOT_SIZE);
        ++count;
    }
    return count;
}

void JoinPatterns(const char* slots, int count, char* patterns, int capacity, const char* separator)
{
    if (capacity <= 0)
        return;
    patterns[0] = '\0';
    int length = 0;
    int separatorLength = lstrlenA(separator);
    for (int i = 0; i < count && i < PATTERN_SLOT_COUNT; ++i) {
        const char* pattern = Slot(slots, i);
        int patternLength = lstrlenA(pattern);
        int needed = (i > 0 ? separatorLength : 0) + patternLength;
        // Whole patterns only: a cut one would name other files.
        if (length + needed >= capacity)
            break;
        if (i > 0) {
            lstrcpynA(patterns + length, separator, separatorLength + 1);
            length += separatorLength;
        }
        lstrcpynA(patterns + length, pattern, patternLength + 1);
        length += patternLength;
    }
}

int BrowsePatterns(HWND owner, char* patterns, int capacity)
{
    CurrentDirectoryGuard currentDirectory;
    GlobalBlock selection(SELECTION_SIZE);
    GlobalBlock unique(PATTERN_TABLE_SIZE);
    GlobalBlock record(OPEN_REQUEST_SIZE);
    if (!selection || !unique || !record)
        return 0;

    OPENFILENAMEA* request = record.as<OPENFILENAMEA>();
    request->lStructSize = OPEN_REQUEST_SIZE;
    request->hwndOwner = owner;
    request->lpstrFilter = EVERY_FILE_FILTER;
    request->lpstrFile = selection.text();
    request->nMaxFile = SELECTION_SIZE;
    request->Flags = PATTERN_PICKER_FLAGS;

    int result = GetOpenFileNameA(request);
    if (result == 0)
        return 0;
    int count = CollectExtensionPatterns(selection.text(), SELECTION_SIZE, unique.text());
    if (count == SELECTION_REFUSED)
        return 0;
    JoinPatterns(unique.text(), count, patterns, capacity, ";");
    return result;
}
