// The preferences loaded into and saved from the main dialog's template made in the test's
// own process, against registry states that each test writes itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/dialog_preferences.h"
#include "app/main_dialog.h"
#include "prefs/preferences.h"
#include "res/resource.h"
#include "support/dialog_template.h"
#include "support/import_patch.h"
#include "support/pattern_box.h"
#include "support/registry_state.h"
#include "support/utf8.h"

using registry::HISTORY_PATH;
using registry::PREFERENCES_PATH;
using Texts = std::vector<std::string>;

namespace {

std::string Bytes(const void* data, size_t size)
{
    return std::string(static_cast<const char*>(data), size);
}

std::string WordBytes(DWORD word)
{
    return Bytes(&word, sizeof word);
}

class PreferencesInProcess : public testing::Test {
protected:
    void SetUp() override
    {
        registry::ClearPreferences();
        Reopen();
    }

    void TearDown() override { DestroyWindow(window_); }

    // A new dialog, as at the next start of the program; the test calls the load itself.
    void Reopen()
    {
        if (window_ != nullptr)
            DestroyWindow(window_);
        window_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                                     QuietDialogProc, 0);
        ASSERT_NE(window_, nullptr);
        box_ = GetDlgItem(window_, IDC_PATTERNS);
    }

    bool Checked(int id) const { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }

    std::string BoxText() const
    {
        char text[1024] = "";
        GetWindowTextA(box_, text, sizeof text);
        return text;
    }

    std::string BoxUtf8Text() const
    {
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(box_)) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(box_, &text[0], static_cast<int>(text.size()))));
        return Utf8(text);
    }

    registry::SavedRegistry saved_;
    HWND window_ = nullptr;
    HWND box_ = nullptr;
};

TEST(PreferencesKey, IsTheDefaultProfilesKeyWithItsTrailingBackslash)
{
    EXPECT_EQ(std::wstring(PreferencesKey), L".Default\\Software\\Nuvaro\\Brumix\\Preferences\\");
}

TEST(HistoryIndexNames, OnlyTheNamesThatTheSaveWritesAreIndexes)
{
    struct Case { const char* name; int index; };
    for (const Case& c : {Case{"00", 0}, Case{"07", 7}, Case{"10", 10}, Case{"99", 99}, Case{"100", 100},
                          Case{"149", 149}, Case{"123456789", 123456789}, Case{"0", -1}, Case{"7", -1},
                          Case{"007", -1}, Case{"010", -1}, Case{"000", -1}, Case{"", -1}, Case{"1a", -1},
                          Case{" 12", -1}, Case{"-1", -1}, Case{"+12", -1}, Case{"Perso", -1},
                          Case{"1234567890", -1}}) {
        EXPECT_EQ(ParseHistoryIndex(Wide(c.name).c_str()), c.index) << '"' << c.name << '"';
    }
}

TEST_F(PreferencesInProcess, EmptyRegistryGivesThePresetsAndCreatesBothKeysEmpty)
{
    ASSERT_FALSE(registry::KeyExists(PREFERENCES_PATH));
    EXPECT_TRUE(LoadDialogPreferences(window_));

    EXPECT_TRUE(Checked(IDC_RECURSE));
    EXPECT_TRUE(Checked(IDC_CONFIRM));
    EXPECT_EQ(BoxText(), "");
    EXPECT_EQ(pattern_box::Entries(box_), Texts{});
    EXPECT_EQ(pattern_box::Selection(box_), -1);

    EXPECT_EQ(registry::KeyClass(PREFERENCES_PATH), "bool");
    EXPECT_EQ(registry::KeyClass(HISTORY_PATH), "string");
    EXPECT_TRUE(registry::Values(PREFERENCES_PATH).empty()) << "nothing is written before a close";
    EXPECT_TRUE(registry::Values(HISTORY_PATH).empty());
}

TEST_F(PreferencesInProcess, FlagCountsOnlyAsAFourByteWord)
{
    struct Case { const char* what; DWORD type; std::string bytes; bool recurse, confirm; };
    const Case cases[] = {
        {"0", REG_DWORD, WordBytes(0), false, false},
        {"1", REG_DWORD, WordBytes(1), true, false},
        {"2", REG_DWORD, WordBytes(2), false, true},
        {"other bits only", REG_DWORD, WordBytes(0xFFFFFFFC), false, false},
        {"missing", REG_NONE, "", true, true},
        // Read as raw bytes, each of these would have mixed with the preset.
        {"text \"0\"", REG_SZ, Bytes("0", 2), true, true},
        {"2-byte word", REG_DWORD, Bytes("\0\0", 2), true, true},
        {"2-byte binary", REG_BINARY, Bytes("\0\0", 2), true, true},
        {"4-byte binary", REG_BINARY, WordBytes(0), true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        registry::ClearPreferences();
        if (c.type != REG_NONE)
            registry::WriteValue(PREFERENCES_PATH, "Flag", c.type, c.bytes);
        Reopen();
        ASSERT_TRUE(LoadDialogPreferences(window_));
        EXPECT_EQ(Checked(IDC_RECURSE), c.recurse);
        EXPECT_EQ(Checked(IDC_CONFIRM), c.confirm);
    }
}

TEST_F(PreferencesInProcess, LastFormatSelectsItsEntryOrNothing)
{
    const Texts five = {"*.obj", "*.res", "*.map", "*.sym", "*.bak"};
    struct Case { const char* what; DWORD type; std::string bytes; int selected; };
    const Case cases[] = {
        {"3", REG_DWORD, WordBytes(3), 3},
        {"7 with five entries", REG_DWORD, WordBytes(7), -1},
        {"-1", REG_DWORD, WordBytes(0xFFFFFFFF), -1},
        {"missing", REG_NONE, "", 0},
        {"text \"3\"", REG_SZ, Bytes("3", 2), 0},
        {"2-byte binary", REG_BINARY, Bytes("\x02\x00", 2), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        registry::ClearPreferences();
        registry::WriteHistory(five);
        if (c.type != REG_NONE)
            registry::WriteValue(PREFERENCES_PATH, "LastFormat", c.type, c.bytes);
        Reopen();
        ASSERT_TRUE(LoadDialogPreferences(window_));
        EXPECT_EQ(pattern_box::Entries(box_), five);
        EXPECT_EQ(pattern_box::Selection(box_), c.selected);
        EXPECT_EQ(BoxText(), c.selected < 0 ? "" : five[c.selected]);
    }
}

// Every value here is written through the ANSI calls, as the earlier program wrote them.
TEST_F(PreferencesInProcess, HistoryValuesAreReadByTheirSizeAndType)
{
    struct Case { const char* what; DWORD type; std::string bytes; std::string entry; };
    const Case cases[] = {
        {"0 bytes", REG_SZ, "", ""},
        {"258 characters and their zero: 259 bytes", REG_SZ, std::string(258, 'a') + '\0',
         std::string(258, 'a')},
        {"259 characters, no zero: 259 bytes", REG_SZ, std::string(259, 'b'), std::string(259, 'b')},
        {"259 characters and their zero: 260 bytes", REG_SZ, std::string(259, 'c') + '\0',
         std::string(259, 'c')},
        {"260 characters, no zero: 260 bytes", REG_SZ, std::string(260, 'd'), std::string(260, 'd')},
        {"10,000 bytes", REG_SZ, std::string(9999, 'e') + '\0', std::string(9999, 'e')},
        {"a zero inside", REG_SZ, Bytes("*.ab\0*.cd\0", 10), "*.ab"},
        {"expandable text", REG_EXPAND_SZ, Bytes("*.tmp\0", 6), "*.tmp"},
        {"word 42, a \"*\" if taken as text", REG_DWORD, WordBytes(42), ""},
        {"binary", REG_BINARY, "*.x", ""},
        {"after all of them, a plain one", REG_SZ, Bytes("*.obj\0", 6), "*.obj"},
    };
    Texts expected;
    for (size_t index = 0; index < sizeof cases / sizeof cases[0]; ++index) {
        const Case& c = cases[index];
        std::string name = registry::IndexName(static_cast<int>(index));
        registry::WriteValue(HISTORY_PATH, name, c.type, c.bytes);
        registry::Value stored;
        ASSERT_TRUE(registry::ReadValue(HISTORY_PATH, name, stored));
        ASSERT_EQ(stored.bytes.size(), c.bytes.size()) << c.what << ": the fixture stored other bytes";
        expected.push_back(c.entry);
    }

    ASSERT_TRUE(LoadDialogPreferences(window_));
    Texts entries = pattern_box::Entries(box_);
    ASSERT_EQ(entries.size(), expected.size());
    for (size_t index = 0; index < expected.size(); ++index)
        EXPECT_EQ(entries[index], expected[index]) << cases[index].what;
}

TEST_F(PreferencesInProcess, HistoryWrittenThroughTheAnsiCallsReadsBackAsBefore)
{
    // Code page 1252 bytes, no terminator, as the earlier program stored its entries;
    // 0x80 is the euro sign and 0x8C the OE ligature there, none of Latin-1.
    registry::WriteValue(HISTORY_PATH, "00", REG_SZ, "*.\xE9t\xE9");
    registry::WriteValue(HISTORY_PATH, "01", REG_SZ, "\x80*.obj;\x8Cuvre.*");
    registry::WriteValue(HISTORY_PATH, "02", REG_SZ, "*.obj *.res");
    registry::WriteWord(PREFERENCES_PATH, "LastFormat", 1);

    ASSERT_TRUE(LoadDialogPreferences(window_));
    EXPECT_EQ(pattern_box::Utf8Entries(box_), (Texts{u8"*.été", u8"€*.obj;Œuvre.*", "*.obj *.res"}));
    EXPECT_EQ(BoxUtf8Text(), u8"€*.obj;Œuvre.*");

    // Saved again, in the UTF-16 form, and read back the same.
    ASSERT_TRUE(SaveDialogPreferences(window_));
    Reopen();
    ASSERT_TRUE(LoadDialogPreferences(window_));
    EXPECT_EQ(pattern_box::Utf8Entries(box_), (Texts{u8"*.été", u8"€*.obj;Œuvre.*", "*.obj *.res"}));
}

TEST_F(PreferencesInProcess, EntryOfAnyLengthSurvivesARestartWhole)
{
    ASSERT_TRUE(LoadDialogPreferences(window_));
    // Past the 259 characters of a box's old reading block, with a last pattern that any
    // cut would change into one naming other files.
    std::string text = std::string(294, ';') + "*.tmp";
    SetWindowTextA(box_, text.c_str());
    ASSERT_TRUE(SaveDialogPreferences(window_));
    EXPECT_EQ(registry::HistoryUtf8Texts(), Texts{text});

    Reopen();
    ASSERT_TRUE(LoadDialogPreferences(window_));
    EXPECT_EQ(pattern_box::Entries(box_), Texts{text});
    EXPECT_EQ(BoxText(), text);
}

// Wine enumerates values sorted by name: "!" and "0" before "00", "100" before "11".
TEST_F(PreferencesInProcess, IndexedEntriesComeInIndexOrderAndOtherNamesAfterThem)
{
    Texts indexed;
    for (int index = 0; index < 120; ++index)
        indexed.push_back("*." + std::to_string(index));
    registry::WriteHistory(indexed);
    // Written in name order, so that Windows (order of creation) and Wine agree on them.
    registry::WriteText(HISTORY_PATH, "!hand", "*.hand");
    registry::WriteText(HISTORY_PATH, "0", "*.zero");
    registry::WriteText(HISTORY_PATH, "121", "*.past-a-gap");
    registry::WriteText(HISTORY_PATH, "Perso", "*.perso");
    // A name of any length is looked up too.
    registry::WriteText(HISTORY_PATH, std::string(300, 'z'), "*.long-name");
    registry::WriteWord(PREFERENCES_PATH, "LastFormat", 105);

    ASSERT_TRUE(LoadDialogPreferences(window_));
    Texts expected = indexed;
    for (const char* other : {"*.hand", "*.zero", "*.past-a-gap", "*.perso", "*.long-name"})
        expected.push_back(other);
    EXPECT_EQ(pattern_box::Entries(box_), expected);
    EXPECT_EQ(BoxText(), "*.105");

    // Each is rewritten under its place in the list and stays under its own name too,
    // but for "121", which is now an index name inside the list. From then on its text is
    // in the list already: it is not added again, at this start or any later one.
    ASSERT_TRUE(SaveDialogPreferences(window_));
    EXPECT_EQ(registry::HistoryTexts(), expected);
    EXPECT_EQ(registry::Word(PREFERENCES_PATH, "LastFormat"), 105u);
    for (int start = 0; start < 2; ++start) {
        SCOPED_TRACE(start == 0 ? "next start" : "the start after");
        Reopen();
        ASSERT_TRUE(LoadDialogPreferences(window_));
        EXPECT_EQ(pattern_box::Entries(box_), expected);
        EXPECT_EQ(BoxText(), "*.105");
        ASSERT_TRUE(SaveDialogPreferences(window_));
        EXPECT_EQ(registry::HistoryTexts(), expected);
    }
}

// The "MRU" key deleted by another process while the load reads it: every further read
// fails the same way, and the load must still end. The key goes as soon as the first
// value's text has been read.
ImportPatch* g_queryPatch;
int g_valueReads;

LONG WINAPI QueryDeletingTheHistory(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                    LPDWORD size)
{
    auto real = reinterpret_cast<LONG(WINAPI*)(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD)>(
        g_queryPatch->original());
    LONG result = real(key, name, reserved, type, data, size);
    if (data != nullptr && result == ERROR_SUCCESS && ++g_valueReads == 1)
        registry::DeleteTree(HISTORY_PATH);
    if (g_valueReads > 10000) {
        std::fputs("the load never ends once the history key is deleted\n", stderr);
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 1);
    }
    return result;
}

TEST_F(PreferencesInProcess, LoadEndsWhenTheHistoryKeyIsDeletedMeanwhile)
{
    struct Case { const char* what; std::vector<const char*> names; };
    for (const Case& c : {Case{"index names", {"00", "01", "02"}}, Case{"other names", {"a", "b", "c"}}}) {
        SCOPED_TRACE(c.what);
        registry::ClearPreferences();
        for (const char* name : c.names)
            registry::WriteText(HISTORY_PATH, name, std::string("*.") + name);
        Reopen();
        g_valueReads = 0;
        ImportPatch patch("advapi32.dll", "RegQueryValueExW", reinterpret_cast<void*>(QueryDeletingTheHistory));
        ASSERT_TRUE(patch.applied());
        g_queryPatch = &patch;
        EXPECT_TRUE(LoadDialogPreferences(window_));
        g_queryPatch = nullptr;
        EXPECT_EQ(pattern_box::Entries(box_), Texts{std::string("*.") + c.names[0]});
        EXPECT_FALSE(registry::KeyExists(HISTORY_PATH));
    }
}

// A history that could not be loaded whole (a registry read that fails, an entry that the
// box refuses) ends the load there, and the close does not write the list in the box over
// the stored one: "01" and the entries behind it stay, and so does the selection. The
// options are saved as ever. Each failure strikes the second entry.
ImportPatch* g_failPatch;

LONG WINAPI QueryFailingForTheSecondEntry(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                          LPDWORD size)
{
    if (name != nullptr && lstrcmpW(name, L"01") == 0)
        return ERROR_ACCESS_DENIED;
    auto real = reinterpret_cast<LONG(WINAPI*)(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD)>(
        g_failPatch->original());
    return real(key, name, reserved, type, data, size);
}

int g_additions;

LRESULT WINAPI SendRefusingTheSecondEntry(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == CB_ADDSTRING && ++g_additions == 2)
        return CB_ERRSPACE;
    auto real = reinterpret_cast<LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM)>(g_failPatch->original());
    return real(window, message, wParam, lParam);
}

TEST_F(PreferencesInProcess, HistoryLoadedOnlyInPartIsNotWrittenOver)
{
    struct Case { const char* what; const char* dll; const char* function; void* replacement; };
    const Case cases[] = {
        {"registry read fails", "advapi32.dll", "RegQueryValueExW", reinterpret_cast<void*>(QueryFailingForTheSecondEntry)},
        {"box refuses an entry", "user32.dll", "SendMessageW", reinterpret_cast<void*>(SendRefusingTheSecondEntry)},
    };
    const Texts stored = {"*.a", "*.b", "*.c"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        registry::ClearPreferences();
        registry::WriteHistory(stored);
        registry::WriteWord(PREFERENCES_PATH, "LastFormat", 2);
        registry::WriteWord(PREFERENCES_PATH, "Flag", 0);
        Reopen();
        g_additions = 0;
        {
            ImportPatch patch(c.dll, c.function, c.replacement);
            ASSERT_TRUE(patch.applied());
            g_failPatch = &patch;
            LoadDialogPreferences(window_);
            g_failPatch = nullptr;
        }
        EXPECT_EQ(pattern_box::Entries(box_), Texts{"*.a"});
        SetWindowTextA(box_, "*.new");
        CheckDlgButton(window_, IDC_RECURSE, BST_CHECKED);
        EXPECT_TRUE(SaveDialogPreferences(window_));
        EXPECT_EQ(registry::HistoryTexts(), stored);
        EXPECT_EQ(registry::Word(PREFERENCES_PATH, "LastFormat"), 2u);
        EXPECT_EQ(registry::Word(PREFERENCES_PATH, "Flag"), 1u);

        Reopen();
        ASSERT_TRUE(LoadDialogPreferences(window_));
        EXPECT_EQ(pattern_box::Entries(box_), stored);
    }
}

// A pattern box whose text cannot be read at closing: read as "", it would enter the
// history as an empty entry and be selected. Nothing is written.
int WINAPI GetWindowTextFailing(HWND, LPWSTR, int)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
}

TEST_F(PreferencesInProcess, PatternTextThatCannotBeReadIsNotSaved)
{
    registry::WriteHistory({"*.a"});
    registry::WriteWord(PREFERENCES_PATH, "LastFormat", 0);
    ASSERT_TRUE(LoadDialogPreferences(window_));
    SetWindowTextA(box_, "*.typed");
    {
        ImportPatch patch("user32.dll", "GetWindowTextW", reinterpret_cast<void*>(GetWindowTextFailing));
        ASSERT_TRUE(patch.applied());
        EXPECT_FALSE(SaveDialogPreferences(window_));
    }
    EXPECT_EQ(registry::HistoryTexts(), Texts{"*.a"});
    EXPECT_EQ(registry::Word(PREFERENCES_PATH, "LastFormat"), 0u);
}

// Stored options that differ from the presets, so that a load which reads nothing shows.
TEST_F(PreferencesInProcess, KeyThatCannotBeOpenedOrCreatedGivesThePresetsAndTakesNothing)
{
    struct Case { const char* what; void (*prepare)(); };
    const Case cases[] = {
        {"key closed to this account", [] { registry::DenyAllAccess(PREFERENCES_PATH); }},
        {"parent key volatile", [] { registry::MakeVolatile(registry::BRUMIX_PATH); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        registry::ClearPreferences();
        registry::WriteWord(PREFERENCES_PATH, "Flag", 0);
        registry::WriteHistory({"*.obj"});
        c.prepare();
        Reopen();

        EXPECT_FALSE(LoadDialogPreferences(window_));
        EXPECT_TRUE(Checked(IDC_RECURSE));
        EXPECT_TRUE(Checked(IDC_CONFIRM));
        EXPECT_EQ(BoxText(), "");
        EXPECT_EQ(pattern_box::Entries(box_), Texts{});

        SetWindowTextA(box_, "*.new");
        EXPECT_FALSE(SaveDialogPreferences(window_));
        EXPECT_EQ(pattern_box::Entries(box_), Texts{}) << "the box is not touched";
    }
    EXPECT_FALSE(registry::KeyExists(PREFERENCES_PATH)) << "nothing was created below the volatile key";
}

// As the default profile is on Windows to an account that is not an elevated
// administrator: the stored values come up, and nothing is created or written.
TEST_F(PreferencesInProcess, KeyThatMayOnlyBeReadIsReadAndNothingIsWritten)
{
    struct Case {
        const char* what;
        bool flagStored, historyStored;
        bool recurse, confirm;
        Texts entries;
        int selected;
    };
    const Case cases[] = {
        {"options, history and selection stored", true, true, false, true, {"*.obj", "*.res"}, 1},
        {"no history key", true, false, false, true, {}, -1},
        {"no options stored", false, true, true, true, {"*.obj", "*.res"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        registry::ClearPreferences();
        if (c.flagStored)
            registry::WriteWord(PREFERENCES_PATH, "Flag", 2);
        registry::WriteWord(PREFERENCES_PATH, "LastFormat", 1);
        if (c.historyStored) {
            registry::WriteHistory({"*.obj", "*.res"});
            registry::AllowOnlyReading(HISTORY_PATH);
        }
        registry::AllowOnlyReading(PREFERENCES_PATH);
        std::vector<registry::Value> stored = registry::Values(PREFERENCES_PATH);
        Reopen();

        EXPECT_TRUE(LoadDialogPreferences(window_));
        EXPECT_EQ(Checked(IDC_RECURSE), c.recurse);
        EXPECT_EQ(Checked(IDC_CONFIRM), c.confirm);
        EXPECT_EQ(pattern_box::Entries(box_), c.entries);
        EXPECT_EQ(pattern_box::Selection(box_), c.selected);
        EXPECT_EQ(registry::KeyExists(HISTORY_PATH), c.historyStored) << "the load made the history key";

        SetWindowTextA(box_, "*.new");
        CheckDlgButton(window_, IDC_RECURSE, BST_CHECKED);
        EXPECT_FALSE(SaveDialogPreferences(window_));
        EXPECT_EQ(registry::Values(PREFERENCES_PATH).size(), stored.size());
        EXPECT_EQ(registry::Word(PREFERENCES_PATH, "Flag"), c.flagStored ? 2u : 0xDEADBEEF);
        EXPECT_EQ(registry::Word(PREFERENCES_PATH, "LastFormat"), 1u);
        EXPECT_EQ(registry::HistoryTexts(), c.historyStored ? (Texts{"*.obj", "*.res"}) : Texts{});
        EXPECT_EQ(registry::KeyExists(HISTORY_PATH), c.historyStored) << "the save made the history key";
    }
}

TEST_F(PreferencesInProcess, SaveRewritesTheListAndLeavesEveryOtherValue)
{
    registry::WriteHistory({"*.0", "*.1", "*.2", "*.3", "*.4", "*.5"});
    registry::WriteText(HISTORY_PATH, "Perso", "*.perso");
    ASSERT_TRUE(LoadDialogPreferences(window_));

    // A shorter list than stored: the values past it are neither deleted nor trimmed.
    SendMessageA(box_, CB_RESETCONTENT, 0, 0);
    SendMessageA(box_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("*.a"));
    SetWindowTextA(box_, "*.b");
    CheckDlgButton(window_, IDC_RECURSE, BST_CHECKED);
    CheckDlgButton(window_, IDC_CONFIRM, BST_UNCHECKED);
    ASSERT_TRUE(SaveDialogPreferences(window_));

    EXPECT_EQ(registry::Word(PREFERENCES_PATH, "Flag"), 1u);
    EXPECT_EQ(registry::Word(PREFERENCES_PATH, "LastFormat"), 1u);
    EXPECT_EQ(registry::HistoryTexts(), (Texts{"*.a", "*.b", "*.2", "*.3", "*.4", "*.5"}));
    registry::Value perso;
    ASSERT_TRUE(registry::ReadValue(HISTORY_PATH, "Perso", perso));
    EXPECT_EQ(perso.bytes, Bytes("*.perso", 8));
}

TEST_F(PreferencesInProcess, HistoryKeyMadeByTheSaveHasClassBool)
{
    ASSERT_TRUE(LoadDialogPreferences(window_));
    ASSERT_TRUE(registry::DeleteTree(HISTORY_PATH));
    SetWindowTextA(box_, "*.obj");
    ASSERT_TRUE(SaveDialogPreferences(window_));
    EXPECT_EQ(registry::KeyClass(PREFERENCES_PATH), "bool");
    EXPECT_EQ(registry::KeyClass(HISTORY_PATH), "bool");
    EXPECT_EQ(registry::HistoryTexts(), Texts{"*.obj"});
    EXPECT_EQ(registry::Word(PREFERENCES_PATH, "LastFormat"), 0u);
}

TEST_F(PreferencesInProcess, EmptyBoxAddsOneEmptyEntryOnlyOnce)
{
    for (int close = 0; close < 3; ++close) {
        SCOPED_TRACE(close);
        Reopen();
        ASSERT_TRUE(LoadDialogPreferences(window_));
        EXPECT_EQ(BoxText(), "");
        ASSERT_TRUE(SaveDialogPreferences(window_));
        registry::Value entry;
        ASSERT_TRUE(registry::ReadValue(HISTORY_PATH, "00", entry));
        EXPECT_EQ(entry.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(entry.bytes.size(), 0u);
        EXPECT_FALSE(registry::ReadValue(HISTORY_PATH, "01", entry)) << "a second empty entry";
        EXPECT_EQ(registry::Word(PREFERENCES_PATH, "LastFormat"), 0u);
    }
}

TEST_F(PreferencesInProcess, SelectionCountsOnlyWhileItsEntryIsTheTextShown)
{
    registry::WriteHistory({"*.obj", "*.res", "*.map"});
    struct Case { const char* what; int picked; const char* text; DWORD lastFormat; };
    const Case cases[] = {
        {"entry 1 picked", 1, nullptr, 1},
        {"entry 1 picked, then entry 2's text put in by the pattern picker", 1, "*.map", 0xFFFFFFFF},
        {"entry 2 picked, then the same text in other case put in", 2, "*.MAP", 0xFFFFFFFF},
        {"nothing selected, an entry's text put in", -1, "*.res", 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Reopen();
        ASSERT_TRUE(LoadDialogPreferences(window_));
        pattern_box::Pick(box_, c.picked);
        if (c.text != nullptr)
            SetDlgItemTextA(window_, IDC_PATTERNS, c.text);
        ASSERT_TRUE(SaveDialogPreferences(window_));
        EXPECT_EQ(registry::Word(PREFERENCES_PATH, "LastFormat"), c.lastFormat);
        EXPECT_EQ(registry::HistoryTexts(), (Texts{"*.obj", "*.res", "*.map"}));
    }
}

}  // namespace
