#include "app/dialog_preferences.h"

#include "app/box_text.h"
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

// Set on the dialog while its pattern box holds only part of the stored history.
constexpr WCHAR PARTIAL_HISTORY[] = L"BrumixPartialHistory";

}  // namespace

BOOL LoadDialogPreferences(HWND window)
{
    Preferences loaded = {};
    BOOL read = LoadPreferences(loaded);
    ApplyOptionFlags(window, loaded.flags);
    HWND box = GetDlgItem(window, IDC_PATTERNS);
    // An entry that the box refuses (out of memory) ends the load, as a failed registry
    // read does: every entry behind it would take another index.
    bool whole = read && loaded.historyWhole;
    const WCHAR* entry = loaded.history.texts;
    for (int index = 0; index < loaded.history.count; ++index, entry = NextText(entry)) {
        if (SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry)) < 0) {
            whole = false;
            break;
        }
    }
    // -1, or an index past the list, selects nothing and leaves the box empty.
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(loaded.lastFormat), 0);
    if (whole)
        RemovePropW(window, PARTIAL_HISTORY);
    else
        SetPropW(window, PARTIAL_HISTORY, reinterpret_cast<HANDLE>(1));
    ReleaseTextList(loaded.history);
    return read;
}

BOOL SaveDialogPreferences(HWND window)
{
    HWND box = GetDlgItem(window, IDC_PATTERNS);
    Preferences closing = {};
    closing.flags = ReadOptionFlags(window);
    // A history that was not loaded whole leaves the stored one as it is.
    closing.historyWhole = GetPropW(window, PARTIAL_HISTORY) == nullptr;
    BOOL saved = FALSE;
    // A history that cannot be read whole is not written at all: a shorter one would
    // move every entry behind the gap to another index. Nor is one whose text shown
    // cannot be read, which would enter it as an empty entry.
    WCHAR* shown = ReadBoxText(box);
    if (shown != nullptr && ReadHistory(box, closing.history)) {
        int selected = static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
        TakeShownPatterns(closing, shown, selected);
        saved = SavePreferences(closing);
    }
    if (shown != nullptr)
        GlobalFree(shown);
    ReleaseTextList(closing.history);
    return saved;
}
