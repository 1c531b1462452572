#include "app/dialog_preferences.h"

#include "app/main_dialog.h"
#include "base/global_block.h"
#include "prefs/preferences.h"

namespace {

// The history entries of the pattern box, in list order, each read whole.
bool ReadHistory(HWND box, TextList& history)
{
    LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        // CB_GETLBTEXT takes no capacity: the length comes first, the block is sized to it.
        LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length < 0)
            return false;
        GlobalBlock entry((static_cast<SIZE_T>(length) + 1) * sizeof(WCHAR));
        if (!entry)
            return false;
        WCHAR* text = entry.as<WCHAR>();
        LRESULT copied = SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        if (copied < 0 || !AddText(history, text, static_cast<SIZE_T>(lstrlenW(text))))
            return false;
    }
    return true;
}

}  // namespace

BOOL LoadDialogPreferences(HWND window)
{
    Preferences loaded = {};
    BOOL read = LoadPreferences(loaded);
    ApplyOptionFlags(window, loaded.flags);
    HWND box = GetDlgItem(window, IDC_PATTERNS);
    const WCHAR* entry = loaded.history.texts;
    for (int index = 0; index < loaded.history.count; ++index, entry = NextText(entry))
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    // -1, or an index past the list, selects nothing and leaves the box empty.
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(loaded.lastFormat), 0);
    ReleaseTextList(loaded.history);
    return read;
}

BOOL SaveDialogPreferences(HWND window)
{
    HWND box = GetDlgItem(window, IDC_PATTERNS);
    Preferences closing = {};
    closing.flags = ReadOptionFlags(window);
    BOOL saved = FALSE;
    // A history that cannot be read whole is not written at all: a shorter one would
    // move every entry behind the gap to another index.
    int shownLength = GetWindowTextLengthW(box);
    GlobalBlock shown((static_cast<SIZE_T>(shownLength) + 1) * sizeof(WCHAR));
    if (shown && ReadHistory(box, closing.history)) {
        GetWindowTextW(box, shown.as<WCHAR>(), shownLength + 1);
        int selected = static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
        TakeShownPatterns(closing, shown.as<WCHAR>(), selected);
        saved = SavePreferences(closing);
    }
    ReleaseTextList(closing.history);
    return saved;
}
