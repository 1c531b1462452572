// The pattern picker of the running program: files picked in the real Explorer-style
// dialog, the repeat boxes answered, and the pattern box read.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "driver/app_driver.h"
#include "res/resource.h"
#include "support/file_dialogs.h"
#include "support/temp_folder.h"

using driver::BrumixApp;
using file_dialogs::EXPLORER_NAME_BOX;

namespace {

const char OLD_PATTERNS[] = "*.old";

class PatternPickerE2E : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"a.obj", "b.res", "c.OBJ", "x.c", "y.C", "z.c", "Makefile", "a.c",
                                 "a.tar.gz", ".cvsrc", "report.config", "sub\\d.map", u8"a.日本", u8"b.日本"})
            fixture_.MakeFile(name);
        ASSERT_TRUE(app_.Start(fixture_.path()));
    }

    void TearDown() override { app_.Close(); }

    HWND OpenPicker()
    {
        app_.SetText(IDC_PATTERNS, OLD_PATTERNS);
        app_.Press(IDC_BROWSE_PATTERNS);
        return file_dialogs::WaitForFileDialog(app_.processId(), EXPLORER_NAME_BOX);
    }

    // Answers the message boxes that the program shows once the picker is gone, one after
    // the other, until it has handled everything and shows none; gives their texts in UTF-8.
    std::vector<std::string> AnswerBoxes()
    {
        std::vector<std::string> texts;
        while (app_.CatchUp() && app_.HasMessageBox()) {
            driver::MessageBoxSeen box;
            if (!app_.WaitForMessageBox(box, driver::ANY_OWNER))
                break;
            texts.push_back(box.utf8Text);
            EXPECT_EQ(GetWindow(box.window, GW_OWNER), nullptr) << "a box with an owner";
            // Task-modal: the main dialog takes no command (no run, no close, no second
            // picker) until the last box is answered.
            EXPECT_FALSE(IsWindowEnabled(app_.dialog())) << "the main dialog takes commands under the box";
            EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
            EXPECT_FALSE(box.showsIcon);
            if (!app_.Answer(box, IDOK))
                break;
        }
        return texts;
    }

    TempFolder fixture_;
    BrumixApp app_;
};

TEST_F(PatternPickerE2E, PickedFilesGiveTheirExtensionPatternsRepeatsDroppedWithABoxEach)
{
    struct Case {
        std::string typed;
        std::string patterns;
        std::vector<std::string> boxes;
    };
    // The rule for each name is tested in process, on blocks made by hand; here the
    // dialog's own blocks, for several names and for one.
    const Case cases[] = {
        {"\"x.c\" \"y.C\" \"z.c\" \"a.obj\"", "*.c;*.obj", {"*.c", "*.c"}},
        {"a.tar.gz", "*.gz", {}},
        {"notes.", "*.", {}},
        // Through the ANSI dialog, "日本" came back as "??", two wildcards.
        {u8"\"a.日本\" \"b.obj\" \"b.日本\"", u8"*.日本;*.obj", {u8"*.日本"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        HWND dialog = OpenPicker();
        ASSERT_NE(dialog, nullptr);
        file_dialogs::AcceptUtf8(dialog, EXPLORER_NAME_BOX, c.typed);
        file_dialogs::WaitGone(dialog);
        EXPECT_EQ(AnswerBoxes(), c.boxes);
        // The text replaces what the box held.
        EXPECT_EQ(file_dialogs::WaitForUtf8Text(app_.Control(IDC_PATTERNS), c.patterns), c.patterns);
    }
}

TEST_F(PatternPickerE2E, LargeSelectionYieldsEveryExtension)
{
    // 1,000 names of 30 characters, each with an extension of its own: a selection of
    // some 30,000 characters, and a pattern list of 10,000.
    std::string typed, patterns;
    for (int i = 0; i < 1000; ++i) {
        char name[48], pattern[16];
        wsprintfA(name, "\"a_rather_long_file_name.e%04d\" ", i);
        wsprintfA(pattern, "*.e%04d", i);
        typed += name;
        patterns += (patterns.empty() ? "" : ";") + std::string(pattern);
    }
    HWND dialog = OpenPicker();
    ASSERT_NE(dialog, nullptr);
    file_dialogs::Accept(dialog, EXPLORER_NAME_BOX, typed);
    file_dialogs::WaitGone(dialog);
    EXPECT_EQ(file_dialogs::WaitForText(app_.Control(IDC_PATTERNS), patterns), patterns);
    EXPECT_EQ(AnswerBoxes(), std::vector<std::string>{});
}

TEST_F(PatternPickerE2E, SelectionTooLongForTheBufferOrCancelChangesNothing)
{
    // 2,100 names of 32 characters: more than the 65,536 characters of the selection
    // block. Every name has the same extension, so reading any of it would also show boxes.
    std::string many;
    for (int i = 0; i < 2100; ++i) {
        char name[48];
        wsprintfA(name, "\"a_rather_long_file_name_%04d.obj\" ", i);
        many += name;
    }
    HWND dialog = OpenPicker();
    ASSERT_NE(dialog, nullptr);
    file_dialogs::Accept(dialog, EXPLORER_NAME_BOX, many);
    file_dialogs::WaitGone(dialog);
    EXPECT_EQ(AnswerBoxes(), std::vector<std::string>{});
    EXPECT_EQ(app_.Text(IDC_PATTERNS), OLD_PATTERNS);

    dialog = OpenPicker();
    ASSERT_NE(dialog, nullptr);
    file_dialogs::SetName(dialog, EXPLORER_NAME_BOX, "\"a.obj\" \"c.OBJ\"");
    file_dialogs::Cancel(dialog);
    file_dialogs::WaitGone(dialog);
    EXPECT_EQ(AnswerBoxes(), std::vector<std::string>{});
    EXPECT_EQ(app_.Text(IDC_PATTERNS), OLD_PATTERNS);
}

TEST_F(PatternPickerE2E, PickersLeaveTheCurrentDirectoryAsTheyFoundIt)
{
    // Walk into the subfolder and pick there.
    HWND dialog = OpenPicker();
    ASSERT_NE(dialog, nullptr);
    file_dialogs::Accept(dialog, EXPLORER_NAME_BOX, fixture_ / "sub");
    EXPECT_TRUE(driver::WaitUntil([&] { return driver::WindowText(GetDlgItem(dialog, EXPLORER_NAME_BOX)).empty(); }));
    file_dialogs::Accept(dialog, EXPLORER_NAME_BOX, "d.map");
    file_dialogs::WaitGone(dialog);
    EXPECT_EQ(file_dialogs::WaitForText(app_.Control(IDC_PATTERNS), "*.map"), "*.map");

    // Then the folder picker: it opens in the process's current directory, which is
    // what it gives back when accepted at once.
    app_.Press(IDC_BROWSE_FOLDER);
    dialog = app_.WaitForDialog("Répertoire à parcourir");
    ASSERT_NE(dialog, nullptr);
    file_dialogs::Accept(dialog, file_dialogs::CLASSIC_NAME_BOX, "sub\\$$$.$$$");
    file_dialogs::WaitGone(dialog);
    EXPECT_EQ(file_dialogs::WaitForText(app_.Control(IDC_FOLDER), fixture_ / "sub\\"), fixture_ / "sub\\");

    app_.Press(IDC_BROWSE_FOLDER);
    dialog = app_.WaitForDialog("Répertoire à parcourir");
    ASSERT_NE(dialog, nullptr);
    file_dialogs::PressOpen(dialog);
    file_dialogs::WaitGone(dialog);
    EXPECT_EQ(file_dialogs::WaitForText(app_.Control(IDC_FOLDER), fixture_.path()), fixture_.path());
}

}  // namespace
