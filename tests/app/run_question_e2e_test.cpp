// OK in the running program: the folder text completed, the controls switched off, and
// the summary question asked exactly.
#include <gtest/gtest.h>
#include <windows.h>

#include "driver/app_driver.h"
#include "res/resource.h"
#include "support/temp_folder.h"

using driver::BrumixApp;
using driver::MessageBoxSeen;

namespace {

std::string Summary(const std::string& patterns, const std::string& folder, bool recurse, bool confirm)
{
    return "On va effacer les fichiers " + patterns + "\nà partir de " + folder +
           (recurse ? "\nOn fait du récursif" : "\nOn ne fait pas du récursif") +
           (confirm ? "\net on demande une confirmation" : "\net on ne demande pas une confirmation");
}

// The question names the folder that the run will walk, and the box shows it so: a
// relative text is read against the current directory (here the folder the program was
// started in), an empty one or "\" is the root of its drive.
TEST(RunQuestionE2E, FolderTextIsMadeFullInTheBoxAndInTheQuestion)
{
    struct Case { std::string typed, used; };
    TempFolder start;
    start.MakeFolder("sub");
    const std::string drive = start.path().substr(0, 3);
    const Case cases[] = {
        {"C:\\Temp", "C:\\Temp\\"},
        {"C:\\Temp\\", "C:\\Temp\\"},
        {"C:\\", "C:\\"},
        {"sub", start / "sub\\"},
        {"sub\\..\\other\\.", start / "other\\"},
        {"", drive},
        {"\\", drive},
    };
    BrumixApp app;
    ASSERT_TRUE(app.Start(start.path()));
    app.SetChecked(IDC_RECURSE, false);
    app.SetChecked(IDC_CONFIRM, false);
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.typed + "\"");
        app.SetText(IDC_FOLDER, c.typed);
        app.SetText(IDC_PATTERNS, "*.obj");
        app.Press(IDOK);
        MessageBoxSeen box;
        ASSERT_TRUE(app.WaitForMessageBox(box));
        EXPECT_EQ(app.Text(IDC_FOLDER), c.used);
        EXPECT_EQ(box.text, "On va effacer les fichiers *.obj\nà partir de " + c.used +
                                "\nOn ne fait pas du récursif\net on ne demande pas une confirmation");
        ASSERT_TRUE(app.Answer(box, IDNO));
        ASSERT_TRUE(app.WaitIdle());
    }
    EXPECT_TRUE(app.Close());
}

// A run leaves the current directory in the last folder it entered: the same relative
// text then names another folder, and the question says which.
TEST(RunQuestionE2E, RelativeFolderTextIsReadWhereThePreviousRunLeftOff)
{
    TempFolder start;
    start.MakeFile("top.obj");
    start.MakeFile("sub\\a.obj");
    start.MakeFile("sub\\sub\\b.obj");
    BrumixApp app;
    ASSERT_TRUE(app.Start(start.path()));
    app.SetChecked(IDC_RECURSE, false);
    app.SetChecked(IDC_CONFIRM, false);
    for (const std::string& used : {start / "sub\\", start / "sub\\sub\\"}) {
        SCOPED_TRACE(used);
        app.SetText(IDC_FOLDER, "sub");
        app.SetText(IDC_PATTERNS, "*.obj");
        app.Press(IDOK);
        MessageBoxSeen box;
        ASSERT_TRUE(app.WaitForMessageBox(box));
        EXPECT_EQ(app.Text(IDC_FOLDER), used);
        EXPECT_EQ(box.text, "On va effacer les fichiers *.obj\nà partir de " + used +
                                "\nOn ne fait pas du récursif\net on ne demande pas une confirmation");
        ASSERT_TRUE(app.Answer(box, IDYES));
        ASSERT_TRUE(app.WaitIdle());
    }
    EXPECT_EQ(start.Files(), std::vector<std::string>{"top.obj"});
    EXPECT_TRUE(app.Close());
}

// Each wording of the options is composed in process; here each check box is seen reach
// the question, checked and unchecked.
TEST(RunQuestionE2E, SummaryQuestionSaysWhatTheCheckBoxesHold)
{
    TempFolder folder;
    BrumixApp app;
    ASSERT_TRUE(app.Start(folder.path()));
    app.SetText(IDC_FOLDER, folder.path());
    for (int flags : {1, 2}) {
        bool recurse = flags & 1, confirm = flags & 2;
        SCOPED_TRACE(testing::Message() << "recurse " << recurse << ", confirm " << confirm);
        app.SetChecked(IDC_RECURSE, recurse);
        app.SetChecked(IDC_CONFIRM, confirm);
        app.SetText(IDC_PATTERNS, "*.obj;*.res");
        app.Press(IDOK);
        MessageBoxSeen box;
        ASSERT_TRUE(app.WaitForMessageBox(box));
        EXPECT_EQ(box.caption, "Veuillez confirmer");
        EXPECT_EQ(box.text, Summary("*.obj;*.res", folder.path(), recurse, confirm));
        EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
        EXPECT_EQ(driver::ShownIcon(box), MB_ICONQUESTION);
        ASSERT_TRUE(app.Answer(box, IDNO));
        ASSERT_TRUE(app.WaitIdle());
    }
    EXPECT_TRUE(app.Close());
}

// Read through 260-character blocks, the folder text lost its last component and named its
// parent, and the pattern list lost the ".tmp" of its last pattern, which then named every
// file. Both are 300 characters here, and both are used whole.
TEST(RunQuestionE2E, FolderAndPatternTextsOf300CharactersAreUsedWhole)
{
    TempFolder root;
    // The parent's path, with its backslash, is 259 characters; the folder's is 300.
    std::string parent = root.path() + std::string(258 - root.path().size(), 'p');
    std::string folder = parent + "\\" + std::string(300 - parent.size() - 1, 'f');
    ASSERT_EQ(parent.size() + 1, 259u);
    ASSERT_EQ(folder.size(), 300u);
    root.MakeFile(parent.substr(root.path().size()) + "\\parent.tmp");
    std::string inside = folder.substr(root.path().size()) + "\\";
    root.MakeFile(inside + "named.tmp");
    root.MakeFile(inside + "kept.txt");
    // The "*" of "*.tmp" is the 259th character.
    std::string patterns = std::string(258, ';') + "*.tmp;" + std::string(36, ';');
    ASSERT_EQ(patterns.size(), 300u);
    ASSERT_EQ(patterns[258], '*');

    BrumixApp app;
    ASSERT_TRUE(app.Start(root.path()));
    app.SetChecked(IDC_RECURSE, false);
    app.SetChecked(IDC_CONFIRM, false);
    app.SetText(IDC_FOLDER, folder);
    app.SetText(IDC_PATTERNS, patterns);
    app.Press(IDOK);
    MessageBoxSeen box;
    ASSERT_TRUE(app.WaitForMessageBox(box));
    EXPECT_EQ(app.Text(IDC_FOLDER), folder + "\\");
    EXPECT_EQ(box.text, "On va effacer les fichiers " + patterns + "\nà partir de " + folder +
                            "\\\nOn ne fait pas du récursif\net on ne demande pas une confirmation");
    ASSERT_TRUE(app.Answer(box, IDYES));
    ASSERT_TRUE(app.WaitIdle());
    EXPECT_EQ(root.Files(), (std::vector<std::string>{inside + "kept.txt",
                                                      parent.substr(root.path().size()) + "\\parent.tmp"}));
    EXPECT_TRUE(app.Close());
}

TEST(RunQuestionE2E, InputControlsAreDisabledWhileTheQuestionIsUp)
{
    TempFolder folder;
    BrumixApp app;
    ASSERT_TRUE(app.Start(folder.path()));
    app.SetText(IDC_FOLDER, folder.path());
    for (int answer : {IDYES, IDNO}) {
        SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
        app.Press(IDOK);
        MessageBoxSeen box;
        ASSERT_TRUE(app.WaitForMessageBox(box));
        for (int id : driver::BUSY_CONTROLS)
            EXPECT_FALSE(IsWindowEnabled(app.Control(id))) << "control " << id;
        ASSERT_TRUE(app.Answer(box, answer));
        ASSERT_TRUE(app.WaitIdle());
        for (int id : driver::BUSY_CONTROLS)
            EXPECT_TRUE(IsWindowEnabled(app.Control(id))) << "control " << id;
        EXPECT_FALSE(IsWindowEnabled(app.Control(IDC_TITLE)));
    }
    EXPECT_TRUE(app.Close());
}

// A Yes/No question has no Cancel. Windows keeps it open on Escape and on its close box;
// Wine closes it with IDCANCEL, and the program must take that as No. Each time a file
// that the run would delete without a question is there.
TEST(RunQuestionE2E, NoEscapeAndCloseBoxOnTheQuestionNeverMeanYes)
{
    TempFolder folder;
    folder.MakeFile("keep.obj");
    BrumixApp app;
    ASSERT_TRUE(app.Start(folder.path()));
    app.SetText(IDC_FOLDER, folder.path());
    app.SetText(IDC_PATTERNS, "*.obj");
    app.SetChecked(IDC_CONFIRM, false);
    for (int way = 0; way < 4; ++way) {
        SCOPED_TRACE(way == 0 ? "No" : way == 1 ? "Escape" : way == 2 ? "close box" : "Cancel command");
        app.Press(IDOK);
        MessageBoxSeen box;
        ASSERT_TRUE(app.WaitForMessageBox(box));
        if (way == 0) {
            ASSERT_TRUE(app.Answer(box, IDNO));
        } else if (driver::RunningUnderWine()) {
            if (way == 1)
                ASSERT_TRUE(app.AnswerWithKey(box, VK_ESCAPE));
            else if (way == 2)
                ASSERT_TRUE(app.AnswerWithCloseBox(box));
            else
                ASSERT_TRUE(app.Answer(box, IDCANCEL));
        } else {
            if (way == 1)
                app.PressKey(VK_ESCAPE);
            else
                app.ClickCloseBox(box.window);
            ASSERT_TRUE(app.CatchUp());
            EXPECT_TRUE(IsWindowVisible(box.window)) << "Windows keeps a Yes/No box open";
            ASSERT_TRUE(app.Answer(box, IDNO));
        }
        ASSERT_TRUE(app.WaitIdle());
        EXPECT_EQ(folder.Files(), std::vector<std::string>{"keep.obj"});
    }
    EXPECT_TRUE(app.Close());
}

}  // namespace
