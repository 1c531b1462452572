// The preferences store: "Flag" and "LastFormat" words in the preferences key, and one
// text value per history entry in its "MRU" subkey, named by the entry's index. While the
// dialog is open the history exists only as the list of the pattern box.
#include "prefs/preferences.h"

#include "base/global_block.h"
#include "app/main_dialog.h"

namespace {

constexpr OptionFlags FLAG_PRESET = OPT_RECURSE | OPT_CONFIRM;
constexpr DWORD LAST_FORMAT_PRESET = 0;

// Room for "%2.2d" of any index the box can hold.
constexpr int VALUE_NAME_CAPACITY = 32;

// More digits could not be an index of the box: they would overflow an int.
constexpr int MAX_INDEX_DIGITS = 9;

enum EntryRead { ENTRY_READ, ENTRY_MISSING, ENTRY_FAILED };

HKEY OpenKey(HKEY parent, const char* path, const char* keyClass, REGSAM access)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(parent, path, 0, const_cast<char*>(keyClass), REG_OPTION_NON_VOLATILE,
                        access, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

// Only a real 4-byte word replaces the preset: a shorter value would leave some of the
// preset's bytes in place, and a text would be taken for its character codes.
DWORD ReadWord(HKEY key, const char* name, DWORD preset)
{
    DWORD word = 0;
    DWORD type = REG_NONE;
    DWORD size = sizeof word;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&word), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof word)
        return word;
    return preset;
}

void WriteWord(HKEY key, const char* name, DWORD word)
{
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&word), sizeof word);
}

// One history value as a terminated text in `data` (a text block). Whatever is not a text of
// at most 259 characters still takes its place in the list, as an empty entry: a number or
// binary data read as text could turn into a pattern such as "*".
EntryRead ReadEntry(HKEY history, const char* name, char* data)
{
    DWORD type = REG_NONE;
    DWORD size = TEXT_CAPACITY;
    data[0] = '\0';
    LONG result = RegQueryValueExA(history, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    if (result == ERROR_FILE_NOT_FOUND)
        return ENTRY_MISSING;
    if (result == ERROR_MORE_DATA) {
        data[0] = '\0';
        return ENTRY_READ;
    }
    if (result != ERROR_SUCCESS)
        return ENTRY_FAILED;
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        data[0] = '\0';
        return ENTRY_READ;
    }
    // The count tells where the text ends: a value may lack its terminator, and a
    // zero-length one leaves the buffer as it was (Wine). RegSetValueExA takes the zero
    // that follows a text as part of it, so the save's own text of 259 characters comes
    // back as 260 bytes, the zero included, and still fits.
    DWORD length = 0;
    while (length < size && length < TEXT_CAPACITY && data[length] != '\0')
        ++length;
    if (length == TEXT_CAPACITY)
        length = 0;
    data[length] = '\0';
    return ENTRY_READ;
}

void AddEntry(HWND box, const char* text)
{
    SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

// Wine enumerates a key's values sorted by name ("10", "100", "11"), Windows in the order
// in which they were first written. So the entries are looked up by their index names,
// "00", "01", ... up to the first one missing, and come back in the order of the save on
// both, with "LastFormat" naming the same entry. Every other value (a name written by
// hand, an index past a gap) follows in the registry's own order: the saved indexes keep
// their entries, and such a value, rewritten under its index at the next close, is then
// loaded twice.
void LoadHistory(HWND box, HKEY history, char* name, char* data)
{
    int loaded = 0;
    EntryRead read;
    for (;;) {
        wsprintfA(name, "%2.2d", loaded);
        read = ReadEntry(history, name, data);
        if (read != ENTRY_READ)
            break;
        AddEntry(box, data);
        ++loaded;
    }
    if (read == ENTRY_FAILED)
        return;

    for (DWORD index = 0;; ++index) {
        DWORD nameLength = TEXT_CAPACITY;
        name[0] = '\0';
        LONG result = RegEnumValueA(history, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_SUCCESS) {
            int at = ParseHistoryIndex(name);
            if (at >= 0 && at < loaded)
                continue;
            read = ReadEntry(history, name, data);
            if (read == ENTRY_FAILED)
                return;
            if (read == ENTRY_MISSING)  // removed by another copy meanwhile
                continue;
        } else if (result == ERROR_MORE_DATA) {
            data[0] = '\0';  // a name too long to look the value up by
        } else {
            // The end, or an error that every further index would give again, such as
            // the key deleted by another process.
            return;
        }
        AddEntry(box, data);
    }
}

// CB_GETLBTEXT takes no capacity: the length is checked first, and an entry longer than a
// text block (none that this program adds) reads as an empty text.
bool ReadListEntry(HWND box, LRESULT index, char* text)
{
    text[0] = '\0';
    LRESULT length = SendMessageA(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0 || length >= TEXT_CAPACITY)
        return false;
    return SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)) != CB_ERR;
}

// A whole-text search that ignores case. CB_FINDSTRINGEXACT never matches an empty text,
// not even an empty entry (Wine), so every close with an empty box would add another.
LRESULT FindEntry(HWND box, const char* text)
{
    LRESULT found = SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    if (found != CB_ERR || text[0] != '\0')
        return found;
    LRESULT count = SendMessageA(box, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index)
        if (SendMessageA(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0) == 0)
            return index;
    return CB_ERR;
}

// The entry to show at the next start when the list already holds the text: the one the
// user picked, -1 when the text was typed. The box keeps its selection when its text is
// replaced by a message (the pattern picker does that), so a selected entry that is not
// the text shown was not the user's choice either.
LRESULT PickedEntry(HWND box, const char* text, char* entry)
{
    LRESULT selected = SendMessageA(box, CB_GETCURSEL, 0, 0);
    if (selected < 0 || !ReadListEntry(box, selected, entry) || lstrcmpA(entry, text) != 0)
        return CB_ERR;
    return selected;
}

}  // namespace

int ParseHistoryIndex(const char* name)
{
    // Exactly what "%2.2d" makes: two digits or more, a leading zero only below 10.
    int length = lstrlenA(name);
    if (length < 2 || length > MAX_INDEX_DIGITS || (length > 2 && name[0] == '0'))
        return -1;
    int index = 0;
    for (int at = 0; at < length; ++at) {
        if (name[at] < '0' || name[at] > '9')
            return -1;
        index = index * 10 + (name[at] - '0');
    }
    return index;
}

BOOL LoadPreferences(HWND window)
{
    // Full access although the load only reads: where the account may not write the
    // default profile, the options and the history are not shown at all.
    HKEY preferences = OpenKey(HKEY_USERS, PreferencesKey, "bool", KEY_ALL_ACCESS);
    if (preferences == nullptr)
        return FALSE;

    ApplyOptionFlags(window, ReadWord(preferences, "Flag", FLAG_PRESET));
    DWORD lastFormat = ReadWord(preferences, "LastFormat", LAST_FORMAT_PRESET);

    HKEY history = OpenKey(preferences, "MRU", "string", KEY_QUERY_VALUE);
    if (history != nullptr) {
        HWND box = GetDlgItem(window, IDC_PATTERNS);
        {
            GlobalBlock name(TEXT_CAPACITY);
            GlobalBlock data(TEXT_CAPACITY);
            if (name && data)
                LoadHistory(box, history, name.text(), data.text());
        }
        // -1, or an index past the list, selects nothing and leaves the box empty.
        SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(lastFormat), 0);
        RegCloseKey(history);
    }
    RegCloseKey(preferences);
    return TRUE;
}

BOOL SavePreferences(HWND window)
{
    GlobalBlock text(TEXT_CAPACITY);
    GlobalBlock entry(TEXT_CAPACITY);
    GlobalBlock name(VALUE_NAME_CAPACITY);
    if (!text || !entry || !name)
        return FALSE;
    HKEY preferences = OpenKey(HKEY_USERS, PreferencesKey, "bool", KEY_ALL_ACCESS);
    if (preferences == nullptr)
        return FALSE;

    HWND box = GetDlgItem(window, IDC_PATTERNS);
    WriteWord(preferences, "Flag", ReadOptionFlags(window));

    // Only the text left in the box at closing enters the history, and only once.
    GetWindowTextA(box, text.text(), TEXT_CAPACITY);
    LRESULT lastFormat;
    if (FindEntry(box, text.text()) == CB_ERR)
        lastFormat = SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.text()));
    else
        lastFormat = PickedEntry(box, text.text(), entry.text());
    WriteWord(preferences, "LastFormat", static_cast<DWORD>(lastFormat));

    // Every entry is rewritten under its index; values past the count are left alone, and
    // the history is never trimmed. Another copy closing later rewrites the same names.
    HKEY history = OpenKey(preferences, "MRU", "bool", KEY_ALL_ACCESS);
    if (history != nullptr) {
        LRESULT count = SendMessageA(box, CB_GETCOUNT, 0, 0);
        for (LRESULT index = 0; index < count; ++index) {
            ReadListEntry(box, index, entry.text());
            wsprintfA(name.text(), "%2.2d", static_cast<int>(index));
            // The text's length, without its terminator: the layout other readers expect.
            RegSetValueExA(history, name.text(), 0, REG_SZ, reinterpret_cast<const BYTE*>(entry.text()),
                           static_cast<DWORD>(lstrlenA(entry.text())));
        }
        RegCloseKey(history);
    }
    RegCloseKey(preferences);
    return TRUE;
}
