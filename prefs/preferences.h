// The options, the pattern history and the last selection, kept in the registry. The store
// knows nothing of the dialog: it reads and writes plain values, which the dialog puts into
// its controls and takes from them.
#ifndef BRUMIX_PREFERENCES_H
#define BRUMIX_PREFERENCES_H

#include <windows.h>

#include "base/option_flags.h"
#include "base/text_list.h"

// Below HKEY_USERS; shared by every account of the machine and by every running copy.
constexpr WCHAR PreferencesKey[] = L".Default\\Software\\Nuvaro\\Brumix\\Preferences\\";

// Everything the store keeps.
struct Preferences {
    OptionFlags flags;     // "Flag"
    DWORD lastFormat;      // "LastFormat": the history entry to show at start; 0xFFFFFFFF for none
    TextList history;      // "MRU": the pattern history, in list order
    // False when the stored history was not read whole: a save then writes "Flag" alone,
    // and the stored history and its selection stay as they are, rather than be written
    // over from a list that lacks some of their entries.
    bool historyWhole;
};

// Reads the stored values into `loaded`, each missing or unfit one as its preset (both
// options on, entry 0, an empty history), the history whole and in the order of the save,
// or as far as it could be read (loaded.historyWhole tells which). A value whose name is not
// an index adds its text only when no entry holds it yet in any letter case: the save
// writes it under its index, and the next start would find it twice. A key that this
// account may read but not write is read all the same. False, with `loaded` holding the
// presets, when the preferences key can be neither opened nor created. The caller
// releases loaded.history.
BOOL LoadPreferences(Preferences& loaded);

// The text left in the pattern box at closing enters the history, once: it is added at the
// end when no entry holds it in any letter case, and "LastFormat" then names it. When an
// entry holds it, "LastFormat" is the entry `selected` if that entry is exactly the text
// shown, else none (the text was typed, or put in by the pattern picker).
void TakeShownPatterns(Preferences& closing, const WCHAR* shown, int selected);

// Writes "Flag", "LastFormat" and every history entry under its index; "Flag" alone when
// closing.historyWhole is false. False when the preferences key can be neither opened nor
// created with the right to write it: nothing is written then.
BOOL SavePreferences(const Preferences& closing);

// The history index that a value name of the "MRU" subkey stands for: the names that the
// save writes ("%2.2d": "00" to "99", then "100", ...). -1 for any other name.
int ParseHistoryIndex(const WCHAR* name);

#endif
