// The preferences store: "Flag" and "LastFormat" words in the preferences key, and one
// text value per history entry in its "MRU" subkey, named by the entry's index. Every text
// goes through the registry's UTF-16 calls, whole: a history entry in any script and of
// any length comes back exactly as it was saved.
#include "prefs/preferences.h"

#include "base/global_block.h"

namespace {

constexpr OptionFlags FLAG_PRESET = OPT_RECURSE | OPT_CONFIRM;
constexpr DWORD LAST_FORMAT_PRESET = 0;
constexpr DWORD NO_ENTRY = 0xFFFFFFFF;

// Room for "%2.2d" of any index a list can hold.
constexpr int INDEX_NAME_CAPACITY = 32;
// The registry's longest value name, 16,383 characters, and its terminator: every value of
// the history can be looked up by the name its enumeration gives.
constexpr DWORD VALUE_NAME_CAPACITY = 16384;
// A value that keeps growing while it is read (another program rewriting it) is given up
// after this many tries, as an empty entry.
constexpr int READ_TRIES = 4;

// More digits could not be an index of the list: they would overflow an int.
constexpr int MAX_INDEX_DIGITS = 9;

enum EntryRead { ENTRY_READ, ENTRY_MISSING, ENTRY_FAILED };

HKEY OpenKey(HKEY parent, const WCHAR* path, const WCHAR* keyClass, REGSAM access)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(parent, path, 0, const_cast<WCHAR*>(keyClass), REG_OPTION_NON_VOLATILE, access, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

// Opens a key that is already there, for the reading that the load does; never creates one.
HKEY OpenForReading(HKEY parent, const WCHAR* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

// Only a real 4-byte word replaces the preset: a shorter value would leave some of the
// preset's bytes in place, and a text would be taken for its character codes.
DWORD ReadWord(HKEY key, const WCHAR* name, DWORD preset)
{
    DWORD word = 0;
    DWORD type = REG_NONE;
    DWORD size = sizeof word;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&word), &size) == ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof word)
        return word;
    return preset;
}

void WriteWord(HKEY key, const WCHAR* name, DWORD word)
{
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&word), sizeof word);
}

// The count tells where a text ends: a value may lack its terminator (the earlier program
// wrote none), and a zero-length one leaves the buffer as it was (Wine). A value whose
// byte count is odd has no whole last character, which is left out.
SIZE_T TextLength(const WCHAR* data, DWORD size)
{
    SIZE_T length = 0;
    SIZE_T characters = size / sizeof(WCHAR);
    while (length < characters && data[length] != L'\0')
        ++length;
    return length;
}

bool SameText(const WCHAR* one, const WCHAR* other, BOOL ignoreCase)
{
    return CompareStringOrdinal(one, -1, other, -1, ignoreCase) == CSTR_EQUAL;
}

// True when an entry of `history` is `text` in any letter case.
bool HoldsText(const TextList& history, const WCHAR* text)
{
    const WCHAR* entry = history.texts;
    for (int index = 0; index < history.count; ++index, entry = NextText(entry))
        if (SameText(entry, text, TRUE))
            return true;
    return false;
}

// One history value as the next entry of `history`, unless `onlyIfNew` and an entry holds
// its text already. Whatever is not a text still takes its place in the list, as an empty
// entry: a number or binary data read as text could turn into a pattern such as "*". A
// text written through the ANSI calls comes back as the system read it in then, in its
// code page.
EntryRead ReadEntry(HKEY key, const WCHAR* name, TextList& history, bool onlyIfNew)
{
    for (int attempt = 0; attempt < READ_TRIES; ++attempt) {
        DWORD type = REG_NONE;
        DWORD size = 0;
        LONG result = RegQueryValueExW(key, name, nullptr, &type, nullptr, &size);
        if (result == ERROR_FILE_NOT_FOUND)
            return ENTRY_MISSING;
        if (result != ERROR_SUCCESS)
            return ENTRY_FAILED;
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            break;
        GlobalBlock data(static_cast<SIZE_T>(size) + sizeof(WCHAR));
        if (!data)
            return ENTRY_FAILED;
        result = RegQueryValueExW(key, name, nullptr, &type, data.as<BYTE>(), &size);
        if (result == ERROR_MORE_DATA)
            continue;
        if (result == ERROR_FILE_NOT_FOUND)
            return ENTRY_MISSING;
        if (result != ERROR_SUCCESS)
            return ENTRY_FAILED;
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            break;
        WCHAR* text = data.as<WCHAR>();
        SIZE_T length = TextLength(text, size);
        text[length] = L'\0';
        if (onlyIfNew && HoldsText(history, text))
            return ENTRY_READ;
        return AddText(history, text, length) ? ENTRY_READ : ENTRY_FAILED;
    }
    if (onlyIfNew && HoldsText(history, L""))
        return ENTRY_READ;
    return AddText(history, L"", 0) ? ENTRY_READ : ENTRY_FAILED;
}

// Wine enumerates a key's values sorted by name ("10", "100", "11"), Windows in the order
// in which they were first written. So the entries are looked up by their index names,
// "00", "01", ... up to the first one missing, and come back in the order of the save on
// both, with "LastFormat" naming the same entry. Every other value (a name written by
// hand, an index past a gap) follows in the registry's own order: the saved indexes keep
// their entries. Such a value is rewritten under its index at the next close and stays
// under its own name too; from then on its text is in the list already, and it is not
// added again. True when the history was read to its end.
bool LoadHistory(HKEY key, TextList& history)
{
    GlobalBlock name(VALUE_NAME_CAPACITY * sizeof(WCHAR));
    if (!name)
        return false;
    WCHAR* text = name.as<WCHAR>();
    int loaded = 0;
    EntryRead read;
    for (;;) {
        wsprintfW(text, L"%2.2d", loaded);
        read = ReadEntry(key, text, history, false);
        if (read != ENTRY_READ)
            break;
        ++loaded;
    }
    if (read == ENTRY_FAILED)
        return false;

    for (DWORD index = 0;; ++index) {
        DWORD nameLength = VALUE_NAME_CAPACITY;
        text[0] = L'\0';
        LONG result = RegEnumValueW(key, index, text, &nameLength, nullptr, nullptr, nullptr, nullptr);
        // The end, or an error that every further index would give again, such as the key
        // deleted by another process.
        if (result != ERROR_SUCCESS)
            return result == ERROR_NO_MORE_ITEMS;
        int at = ParseHistoryIndex(text);
        if (at >= 0 && at < loaded)
            continue;
        read = ReadEntry(key, text, history, true);
        if (read == ENTRY_FAILED)
            return false;
        // ENTRY_MISSING: removed by another copy meanwhile.
    }
}

}  // namespace

int ParseHistoryIndex(const WCHAR* name)
{
    // Exactly what "%2.2d" makes: two digits or more, a leading zero only below 10.
    int length = lstrlenW(name);
    if (length < 2 || length > MAX_INDEX_DIGITS || (length > 2 && name[0] == L'0'))
        return -1;
    int index = 0;
    for (int at = 0; at < length; ++at) {
        if (name[at] < L'0' || name[at] > L'9')
            return -1;
        index = index * 10 + (name[at] - L'0');
    }
    return index;
}

BOOL LoadPreferences(Preferences& loaded)
{
    // The presets stand wherever the key cannot be read, as on a first start: the safety
    // option is never silently off.
    loaded.flags = FLAG_PRESET;
    loaded.lastFormat = LAST_FORMAT_PRESET;
    loaded.history = TextList{};
    loaded.historyWhole = false;

    // Full access makes the keys on a first start. An account that may not write the
    // default profile (on current Windows, every program not run elevated) is refused it,
    // and still reads what was stored there, creating nothing.
    HKEY preferences = OpenKey(HKEY_USERS, PreferencesKey, L"bool", KEY_ALL_ACCESS);
    bool mayWrite = preferences != nullptr;
    if (!mayWrite)
        preferences = OpenForReading(HKEY_USERS, PreferencesKey);
    if (preferences == nullptr)
        return FALSE;

    loaded.flags = ReadWord(preferences, L"Flag", FLAG_PRESET);
    loaded.lastFormat = ReadWord(preferences, L"LastFormat", LAST_FORMAT_PRESET);
    HKEY history =
        mayWrite ? OpenKey(preferences, L"MRU", L"string", KEY_QUERY_VALUE) : OpenForReading(preferences, L"MRU");
    if (history != nullptr) {
        loaded.historyWhole = LoadHistory(history, loaded.history);
        RegCloseKey(history);
    }
    RegCloseKey(preferences);
    return TRUE;
}

void TakeShownPatterns(Preferences& closing, const WCHAR* shown, int selected)
{
    // The same text in another letter case names the same files: it is not added again.
    int found = -1;
    const WCHAR* entry = closing.history.texts;
    const WCHAR* selectedEntry = nullptr;
    for (int index = 0; index < closing.history.count; ++index, entry = NextText(entry)) {
        if (found < 0 && SameText(entry, shown, TRUE))
            found = index;
        if (index == selected)
            selectedEntry = entry;
    }
    if (found < 0) {
        int added = closing.history.count;
        closing.lastFormat = AddText(closing.history, shown, lstrlenW(shown)) ? static_cast<DWORD>(added) : NO_ENTRY;
        return;
    }
    // The box keeps its selection when its text is replaced by a message (the pattern
    // picker does that), so a selected entry that is not the text shown was not the
    // user's choice either.
    closing.lastFormat =
        selectedEntry != nullptr && SameText(selectedEntry, shown, FALSE) ? static_cast<DWORD>(selected) : NO_ENTRY;
}

BOOL SavePreferences(const Preferences& closing)
{
    HKEY preferences = OpenKey(HKEY_USERS, PreferencesKey, L"bool", KEY_ALL_ACCESS);
    if (preferences == nullptr)
        return FALSE;
    WriteWord(preferences, L"Flag", closing.flags & (OPT_RECURSE | OPT_CONFIRM));
    if (!closing.historyWhole) {
        RegCloseKey(preferences);
        return TRUE;
    }
    WriteWord(preferences, L"LastFormat", closing.lastFormat);

    // Every entry is rewritten under its index; values past the count are left alone, and
    // the history is never trimmed. Another copy closing later rewrites the same names.
    HKEY history = OpenKey(preferences, L"MRU", L"bool", KEY_ALL_ACCESS);
    if (history != nullptr) {
        WCHAR name[INDEX_NAME_CAPACITY];
        const WCHAR* entry = closing.history.texts;
        for (int index = 0; index < closing.history.count; ++index, entry = NextText(entry)) {
            wsprintfW(name, L"%2.2d", index);
            // The text's length, without its terminator: the layout other readers expect.
            RegSetValueExW(history, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(entry),
                           static_cast<DWORD>(lstrlenW(entry) * sizeof(WCHAR)));
        }
        RegCloseKey(history);
    }
    RegCloseKey(preferences);
    return TRUE;
}
