// The options, the pattern history and its selection across restarts of brumix.exe: each
// test writes the registry state it starts from, uses and closes the program as a person
// would, reads the values left in the registry and starts the program again.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "driver/app_driver.h"
#include "res/resource.h"
#include "support/pattern_box.h"
#include "support/registry_state.h"
#include "support/temp_folder.h"
#include "support/utf8.h"

using driver::BrumixApp;
using registry::HISTORY_PATH;
using registry::PREFERENCES_PATH;
using Texts = std::vector<std::string>;

namespace {

using driver::BY_CLOSE_BOX;
using driver::BY_ESCAPE;
using driver::BY_FERMER;

void Close(BrumixApp& app, driver::CloseWay way = BY_FERMER)
{
    ASSERT_TRUE(app.Close(way));
}

// What the pattern box shows at start.
struct Shown {
    Texts entries;
    int selection;
    std::string text;
};

Shown ShownBy(const BrumixApp& app)
{
    HWND box = app.Control(IDC_PATTERNS);
    return {pattern_box::Entries(box), pattern_box::Selection(box), app.Text(IDC_PATTERNS)};
}

void ExpectShown(const BrumixApp& app, const Texts& entries, int selection)
{
    Shown shown = ShownBy(app);
    EXPECT_EQ(shown.entries, entries);
    EXPECT_EQ(shown.selection, selection);
    EXPECT_EQ(shown.text, selection >= 0 && selection < static_cast<int>(entries.size()) ? entries[selection] : "");
}

class PreferencesE2E : public testing::Test {
protected:
    void SetUp() override { registry::ClearPreferences(); }

    registry::SavedRegistry saved_;
    TempFolder folder_;
};

TEST_F(PreferencesE2E, EmptyRegistryShowsThePresetsAndNothingIsWrittenBeforeTheFirstClose)
{
    BrumixApp app;
    ASSERT_TRUE(app.Start(folder_.path()));
    EXPECT_TRUE(app.IsChecked(IDC_RECURSE));
    EXPECT_TRUE(app.IsChecked(IDC_CONFIRM));
    ExpectShown(app, {}, -1);

    EXPECT_EQ(registry::KeyClass(PREFERENCES_PATH), "bool");
    EXPECT_EQ(registry::KeyClass(HISTORY_PATH), "string");
    EXPECT_TRUE(registry::Values(PREFERENCES_PATH).empty());
    EXPECT_TRUE(registry::Values(HISTORY_PATH).empty());

    // Closed with the box empty: an empty entry, written with no bytes at all.
    Close(app);
    EXPECT_EQ(registry::Word(PREFERENCES_PATH, "Flag"), 3u);
    EXPECT_EQ(registry::Word(PREFERENCES_PATH, "LastFormat"), 0u);
    std::vector<registry::Value> history = registry::Values(HISTORY_PATH);
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].name, "00");
    EXPECT_EQ(history[0].type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(history[0].bytes, "");

    BrumixApp again;
    ASSERT_TRUE(again.Start(folder_.path()));
    ExpectShown(again, {""}, 0);
    Close(again);
}

// Read through code page 1252, "Ω*.obj" came back as "O*.obj", a pattern naming other
// files, and the Japanese letters as "?" wildcards.
TEST_F(PreferencesE2E, HistoryInGreekAndJapaneseSurvivesARestartExactly)
{
    const Texts texts = {u8"Ω*.obj;*.αρχείο", u8"日本.obj *.データ"};
    Texts history;
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        BrumixApp app;
        ASSERT_TRUE(app.Start(folder_.path()));
        app.TypeUtf8(IDC_PATTERNS, text);
        Close(app);
        history.push_back(text);

        // Stored as UTF-16 text. The system adds the terminator that the byte count
        // leaves out, as Windows NT does, so nothing but that may follow the text.
        registry::Value stored;
        ASSERT_TRUE(registry::ReadWideValue(HISTORY_PATH, registry::IndexName(static_cast<int>(history.size()) - 1),
                                            stored));
        EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
        std::wstring wide = Wide(text);
        EXPECT_EQ(stored.bytes.substr(0, 2 * wide.size()), std::string(reinterpret_cast<const char*>(wide.data()), 2 * wide.size()));
        EXPECT_LE(stored.bytes.size(), 2 * wide.size() + 2);
        EXPECT_EQ(registry::HistoryUtf8Texts(), history);

        BrumixApp again;
        ASSERT_TRUE(again.Start(folder_.path()));
        EXPECT_EQ(pattern_box::Utf8Entries(again.Control(IDC_PATTERNS)), history);
        EXPECT_EQ(again.Utf8Text(IDC_PATTERNS), text);
        Close(again);
    }
}

TEST_F(PreferencesE2E, CloseAddsTheTextOnlyWhenTheListLacksItAndRemembersThePick)
{
    const Texts three = {"*.obj", "*.res", "*.map"};
    enum Action { TYPE, PICK };
    struct Case {
        const char* what;
        Action action;
        std::string typed;
        int picked;
        bool recurse, confirm;
        driver::CloseWay way;
        Texts history;
        DWORD lastFormat;
    };
    const Case cases[] = {
        {"a new text", TYPE, "*.obj;*.res", 0, false, true, BY_FERMER,
         {"*.obj", "*.res", "*.map", "*.obj;*.res"}, 3},
        {"entry 1 picked", PICK, "", 1, true, false, BY_ESCAPE, three, 1},
        {"an entry typed in capitals", TYPE, "*.OBJ", 0, false, false, BY_CLOSE_BOX, three, 0xFFFFFFFF},
        {"an empty box", TYPE, "", 0, true, true, BY_FERMER, {"*.obj", "*.res", "*.map", ""}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.what << ", closed with " << driver::CloseWayName(c.way));
        registry::ClearPreferences();
        registry::WriteHistory(three);
        registry::WriteWord(PREFERENCES_PATH, "LastFormat", 0);

        BrumixApp app;
        ASSERT_TRUE(app.Start(folder_.path()));
        ExpectShown(app, three, 0);
        if (c.action == TYPE)
            app.TypeUtf8(IDC_PATTERNS, c.typed);
        else
            pattern_box::Pick(app.Control(IDC_PATTERNS), c.picked);
        app.SetChecked(IDC_RECURSE, c.recurse);
        app.SetChecked(IDC_CONFIRM, c.confirm);
        Close(app, c.way);

        EXPECT_EQ(registry::Word(PREFERENCES_PATH, "Flag"), (c.recurse ? 1u : 0u) | (c.confirm ? 2u : 0u));
        EXPECT_EQ(registry::Word(PREFERENCES_PATH, "LastFormat"), c.lastFormat);
        EXPECT_EQ(registry::HistoryTexts(), c.history);
        EXPECT_EQ(registry::Values(HISTORY_PATH).size(), c.history.size());
        registry::Value last;
        ASSERT_TRUE(registry::ReadValue(HISTORY_PATH, registry::IndexName(static_cast<int>(c.history.size()) - 1), last));
        if (c.history.back().empty()) {
            EXPECT_EQ(last.bytes.size(), 0u) << "an empty entry has no bytes";
        }

        BrumixApp again;
        ASSERT_TRUE(again.Start(folder_.path()));
        ExpectShown(again, c.history, static_cast<int>(c.lastFormat));
        EXPECT_EQ(again.IsChecked(IDC_RECURSE), c.recurse);
        EXPECT_EQ(again.IsChecked(IDC_CONFIRM), c.confirm);
        Close(again);
    }
}

// Read through 260-character blocks, an entry lost its end. This one has 300 characters,
// and the "*" of its "*.tmp" is the 259th: cut there, it named every file. It comes up
// whole, is run whole and is saved back whole.
TEST_F(PreferencesE2E, HistoryEntryOf300CharactersIsShownRunAndSavedWhole)
{
    const std::string entry = std::string(258, ';') + "*.tmp;" + std::string(36, ';');
    ASSERT_EQ(entry.size(), 300u);
    registry::WriteHistory({"*.obj", entry});
    registry::WriteWord(PREFERENCES_PATH, "LastFormat", 1);
    folder_.MakeFile("named.tmp");
    folder_.MakeFile("kept.txt");

    BrumixApp app;
    ASSERT_TRUE(app.Start(folder_.path()));
    ExpectShown(app, {"*.obj", entry}, 1);
    app.SetText(IDC_FOLDER, folder_.path());
    app.SetChecked(IDC_RECURSE, false);
    app.SetChecked(IDC_CONFIRM, false);
    app.Press(IDOK);
    driver::MessageBoxSeen summary;
    ASSERT_TRUE(app.WaitForMessageBox(summary));
    EXPECT_EQ(summary.text, "On va effacer les fichiers " + entry + "\nà partir de " + folder_.path() +
                                "\nOn ne fait pas du récursif\net on ne demande pas une confirmation");
    ASSERT_TRUE(app.Answer(summary, IDYES));
    ASSERT_TRUE(app.WaitIdle());
    EXPECT_EQ(folder_.Files(), Texts{"kept.txt"});
    Close(app);

    EXPECT_EQ(registry::HistoryTexts(), (Texts{"*.obj", entry}));
    EXPECT_EQ(registry::Word(PREFERENCES_PATH, "LastFormat"), 1u);
    BrumixApp again;
    ASSERT_TRUE(again.Start(folder_.path()));
    ExpectShown(again, {"*.obj", entry}, 1);
    Close(again);
}

// Wine hands the values out sorted by name, so "100" would come back between "10" and "11".
// The order of every kind of name is tested in process; here a long history goes through
// the program's closes and starts.
TEST_F(PreferencesE2E, LongHistoryComesBackInCreationOrder)
{
    const int total = 101;
    Texts history;
    for (int index = 0; index < total - 1; ++index)
        history.push_back("*.e" + std::to_string(index));
    registry::WriteHistory(history);
    registry::WriteWord(PREFERENCES_PATH, "LastFormat", 10);

    BrumixApp app;
    ASSERT_TRUE(app.Start(folder_.path()));
    ExpectShown(app, history, 10);
    app.TypeUtf8(IDC_PATTERNS, "*.newest");
    Close(app);
    history.push_back("*.newest");
    registry::Value newest;
    ASSERT_TRUE(registry::ReadValue(HISTORY_PATH, "100", newest));
    EXPECT_EQ(newest.bytes.substr(0, newest.bytes.find('\0')), "*.newest");
    EXPECT_EQ(registry::Word(PREFERENCES_PATH, "LastFormat"), 100u);

    BrumixApp again;
    ASSERT_TRUE(again.Start(folder_.path()));
    ExpectShown(again, history, 100);
    // An entry whose name sorts far from its index ("10" before "100").
    pattern_box::Pick(again.Control(IDC_PATTERNS), 10);
    Close(again, BY_ESCAPE);
    EXPECT_EQ(registry::Word(PREFERENCES_PATH, "LastFormat"), 10u);

    BrumixApp third;
    ASSERT_TRUE(third.Start(folder_.path()));
    ExpectShown(third, history, 10);
    Close(third);
}

TEST_F(PreferencesE2E, TwoCopiesOpenAtOnceTheLastToCloseWinsForWhatItWrites)
{
    registry::WriteHistory({"*.obj", "*.res", "*.map"});
    registry::WriteWord(PREFERENCES_PATH, "LastFormat", 0);

    // The first to close adds an entry that the second never saw: it stays.
    BrumixApp first, second;
    ASSERT_TRUE(first.Start(folder_.path()));
    ASSERT_TRUE(second.Start(folder_.path()));
    first.TypeUtf8(IDC_PATTERNS, "*.first");
    first.SetChecked(IDC_RECURSE, false);
    Close(first);
    pattern_box::Pick(second.Control(IDC_PATTERNS), 1);
    second.SetChecked(IDC_CONFIRM, false);
    Close(second, BY_CLOSE_BOX);
    EXPECT_EQ(registry::HistoryTexts(), (Texts{"*.obj", "*.res", "*.map", "*.first"}));
    EXPECT_EQ(registry::Word(PREFERENCES_PATH, "Flag"), 1u);
    EXPECT_EQ(registry::Word(PREFERENCES_PATH, "LastFormat"), 1u);

    // Both add an entry at the same index: the one closed last is kept, whole.
    BrumixApp third, fourth;
    ASSERT_TRUE(third.Start(folder_.path()));
    ASSERT_TRUE(fourth.Start(folder_.path()));
    fourth.TypeUtf8(IDC_PATTERNS, "*.fourth;*.longer-than-the-other");
    fourth.SetChecked(IDC_CONFIRM, true);
    Close(fourth);
    EXPECT_EQ(registry::Word(PREFERENCES_PATH, "Flag"), 3u);
    third.TypeUtf8(IDC_PATTERNS, "*.third");
    Close(third, BY_ESCAPE);
    EXPECT_EQ(registry::HistoryTexts(), (Texts{"*.obj", "*.res", "*.map", "*.first", "*.third"}));
    registry::Value added;
    ASSERT_TRUE(registry::ReadValue(HISTORY_PATH, "04", added));
    EXPECT_EQ(added.bytes.substr(0, added.bytes.find('\0')), "*.third");
    EXPECT_LE(added.bytes.size(), 8u) << "nothing left of the longer text";
    EXPECT_EQ(registry::Word(PREFERENCES_PATH, "Flag"), 1u);
    EXPECT_EQ(registry::Word(PREFERENCES_PATH, "LastFormat"), 4u);

    BrumixApp after;
    ASSERT_TRUE(after.Start(folder_.path()));
    ExpectShown(after, {"*.obj", "*.res", "*.map", "*.first", "*.third"}, 4);
    Close(after);
}

// Stored: only confirmation on, and a history of one entry, selected. Where the key may
// only be read, that comes up; where it cannot be read at all, the presets do, as on a
// first start. Nothing is written either way, and the program closes as always.
TEST_F(PreferencesE2E, KeyThatMayNotBeWrittenShowsWhatCanBeReadAndTheDialogCloses)
{
    struct Case {
        const char* what;
        void (*prepare)();
        bool readable;
        bool recurse, confirm;
        Texts entries;
        int selection;
    };
    const Case cases[] = {
        {"key readable only",
         [] {
             registry::AllowOnlyReading(HISTORY_PATH);
             registry::AllowOnlyReading(PREFERENCES_PATH);
         },
         true, false, true, {"*.obj"}, 0},
        {"key closed to this account", [] { registry::DenyAllAccess(PREFERENCES_PATH); }, false, true, true, {}, -1},
        {"parent key volatile", [] { registry::MakeVolatile(registry::BRUMIX_PATH); }, false, true, true, {}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        registry::ClearPreferences();
        registry::WriteWord(PREFERENCES_PATH, "Flag", 2);
        registry::WriteWord(PREFERENCES_PATH, "LastFormat", 0);
        registry::WriteHistory({"*.obj"});
        c.prepare();

        BrumixApp app;
        ASSERT_TRUE(app.Start(folder_.path()));
        EXPECT_EQ(app.IsChecked(IDC_RECURSE), c.recurse);
        EXPECT_EQ(app.IsChecked(IDC_CONFIRM), c.confirm);
        ExpectShown(app, c.entries, c.selection);
        app.TypeUtf8(IDC_PATTERNS, "*.new");
        app.SetChecked(IDC_RECURSE, !c.recurse);
        ASSERT_TRUE(app.CatchUp());
        EXPECT_FALSE(app.HasMessageBox());
        Close(app);
        if (c.readable) {
            EXPECT_EQ(registry::Word(PREFERENCES_PATH, "Flag"), 2u);
            EXPECT_EQ(registry::Word(PREFERENCES_PATH, "LastFormat"), 0u);
            EXPECT_EQ(registry::HistoryTexts(), Texts{"*.obj"});
        }
    }
    EXPECT_FALSE(registry::KeyExists(PREFERENCES_PATH));
}

}  // namespace
