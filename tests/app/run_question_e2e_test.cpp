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

// The system's own making full, once.
std::string FullOnce(const std::string& typed)
{
    char full[4096] = "";
    GetFullPathNameA(typed.c_str(), sizeof full, full, nullptr);
    return full;
}

// A pattern that names no file in any folder of these cases: every question is answered
// No all the same, so that no run could start even where it would.
std::string NoSuchFile()
{
    return "brumix-no-such-file-" + std::to_string(GetCurrentProcessId()) + ".none";
}

// The question names the folder that the run will walk, and the box shows it so: a
// relative text is read against the current directory (here the folder the program was
// started in), an empty one or "\" is the root of its drive, a text in quotes names the
// folder inside them, a "\\?\" text is kept as typed ("\\.\" taken as "\\?\"), and the text is
// made full once: made full twice, "dots..\" would be "dots.\" in the box and "dots\" in the
// question.
TEST(RunQuestionE2E, FolderTextIsMadeFullInTheBoxAndInTheQuestion)
{
    struct Case { std::string typed, used; };
    TempFolder start;
    start.MakeFolder("sub");
    const std::string drive = start.path().substr(0, 3);
    const std::string self = start.path().substr(0, start.path().size() - 1);
    const std::string dots = start / "dots..\\";
    ASSERT_NE(FullOnce(FullOnce(dots)), FullOnce(dots));
    const Case cases[] = {
        {self, start.path()},
        {start.path(), start.path()},
        {"sub", start / "sub\\"},
        {"sub\\..\\other\\.", start / "other\\"},
        {dots, FullOnce(dots)},
        {"\"" + start / "sub\"", start / "sub\\"},
        {"\"sub\"", start / "sub\\"},
        {"\\\\?\\" + start / "sub", "\\\\?\\" + start / "sub\\"},
        {"\\\\.\\" + start / "sub", "\\\\?\\" + start / "sub\\"},
        {"", drive},
        {"\\", drive},
    };
    // Three safeguards, as two cases name the drive's root: a pattern that names nothing
    // real, No to the summary, and the per-file question on, so that even a run that
    // started would only ask.
    const std::string pattern = NoSuchFile();
    BrumixApp app;
    ASSERT_TRUE(app.Start(start.path()));
    app.SetChecked(IDC_RECURSE, false);
    app.SetChecked(IDC_CONFIRM, true);
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.typed + "\"");
        app.SetText(IDC_FOLDER, c.typed);
        app.SetText(IDC_PATTERNS, pattern);
        app.Press(IDOK);
        MessageBoxSeen box;
        ASSERT_TRUE(app.WaitForMessageBox(box));
        EXPECT_EQ(app.Text(IDC_FOLDER), c.used);
        EXPECT_EQ(box.text, "On va effacer les fichiers " + pattern + "\nà partir de " + c.used +
                                "\nOn ne fait pas du récursif\net on demande une confirmation");
        ASSERT_TRUE(app.Answer(box, IDNO));
        ASSERT_TRUE(app.WaitIdle());
    }
    EXPECT_TRUE(app.Close());
}

// What the question names is what the run walks: a folder in quotes, or named through
// "\\?\" or "\\.\", loses exactly the files named in it.
TEST(RunQuestionE2E, FolderInQuotesOrInDeviceFormIsTheFolderWalked)
{
    TempFolder start;
    BrumixApp app;
    ASSERT_TRUE(app.Start(start.path()));
    app.SetChecked(IDC_RECURSE, false);
    app.SetChecked(IDC_CONFIRM, false);
    // The relative one first: each run leaves the current directory in the folder walked.
    for (const std::string& typed :
         {std::string("\"sub\\\""), "\"" + start / "sub\"", "\\\\?\\" + start / "sub", "\\\\.\\" + start / "sub\\"}) {
        SCOPED_TRACE(typed);
        start.MakeFile("named.obj");
        start.MakeFile("sub\\named.obj");
        start.MakeFile("sub\\kept.txt");
        ASSERT_TRUE(app.BeginRun(typed, "*.obj", false, false));
        ASSERT_TRUE(app.WaitIdle());
        EXPECT_EQ(start.Files(), (std::vector<std::string>{"named.obj", "sub\\kept.txt"}));
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
        EXPECT_FALSE(driver::IsQuestionDialog(box.window)) << "a short question is the platform's message box";
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

RECT WorkArea()
{
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

bool Inside(HWND window, const RECT& area)
{
    RECT frame;
    GetWindowRect(window, &frame);
    return frame.left >= area.left && frame.top >= area.top && frame.right <= area.right &&
           frame.bottom <= area.bottom;
}

// A list of a few hundred characters, with no blank: a message box under Wine would be far
// wider than the screen. The question is asked whole inside the work area, read, and
// answered as a message box would be.
TEST(RunQuestionE2E, SummaryOfAFewHundredCharactersIsAskedWholeInsideTheWorkArea)
{
    TempFolder folder;
    std::string patterns;
    for (int i = 0; i < 60; ++i)
        patterns += (i > 0 ? ";*.e" : "*.e") + std::to_string(1000 + i);
    ASSERT_GT(patterns.size(), 400u);
    BrumixApp app;
    ASSERT_TRUE(app.Start(folder.path()));
    for (int way = 0; way < 4; ++way) {
        SCOPED_TRACE(way == 0 ? "No" : way == 1 ? "Escape" : way == 2 ? "close box" : "Yes");
        folder.MakeFile("a.e1000");
        folder.MakeFile("b.e1059");
        folder.MakeFile("kept.e999");
        app.SetText(IDC_FOLDER, folder.path());
        app.SetText(IDC_PATTERNS, patterns);
        app.SetChecked(IDC_RECURSE, true);
        app.SetChecked(IDC_CONFIRM, false);
        app.Press(IDOK);
        MessageBoxSeen box;
        ASSERT_TRUE(app.WaitForMessageBox(box));
        EXPECT_TRUE(Inside(box.window, WorkArea()));
        EXPECT_EQ(box.caption, "Veuillez confirmer");
        EXPECT_EQ(box.text, Summary(patterns, folder.path(), true, false));
        EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
        EXPECT_EQ(driver::ShownIcon(box), MB_ICONQUESTION);
        if (way == 0)
            ASSERT_TRUE(app.Answer(box, IDNO));
        else if (way == 1)
            ASSERT_TRUE(app.AnswerWithKey(box, VK_ESCAPE));
        else if (way == 2)
            ASSERT_TRUE(app.AnswerWithCloseBox(box));
        else
            ASSERT_TRUE(app.AnswerWithKey(box, VK_RETURN));
        ASSERT_TRUE(app.WaitIdle());
        std::vector<std::string> left = {"a.e1000", "b.e1059", "kept.e999"};
        if (way == 3)
            left = {"kept.e999"};
        EXPECT_EQ(folder.Files(), left);
    }
    EXPECT_TRUE(app.Close());
}

// The per-file question of a path too long to show in a message box: Oui, Non and Annuler,
// no icon, the path whole; Escape and the close box cancel the run.
TEST(RunQuestionE2E, FileQuestionOfALongPathIsAskedWholeInsideTheWorkArea)
{
    TempFolder root;
    // One name too wide for any screen, with nothing to break a line at.
    std::string inside = std::string(250, 'd') + "\\";
    root.MakeFile(inside + "a.obj");
    root.MakeFile(inside + "b.obj");
    BrumixApp app;
    ASSERT_TRUE(app.Start(root.path()));
    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(way == 0 ? "Escape" : "close box");
        ASSERT_TRUE(app.BeginRun(root / inside, "*.obj", false, true));
        MessageBoxSeen box;
        ASSERT_TRUE(app.WaitForMessageBox(box));
        EXPECT_TRUE(Inside(box.window, WorkArea()));
        EXPECT_EQ(box.caption, "Confirmation d'effacement");
        EXPECT_EQ(box.text, "D'accord pour détruire\n" + root / inside + "a.obj\n?");
        EXPECT_EQ(box.buttons, (std::vector<int>{IDCANCEL, IDYES, IDNO}));
        EXPECT_FALSE(box.showsIcon);
        ASSERT_TRUE(way == 0 ? app.AnswerWithKey(box, VK_ESCAPE) : app.AnswerWithCloseBox(box));
        ASSERT_TRUE(app.WaitIdle());
        EXPECT_EQ(root.Files(), (std::vector<std::string>{inside + "a.obj", inside + "b.obj"}));
    }
    EXPECT_TRUE(app.Close());
}

// A pattern that can name no file (a folder part, a character no name can hold) stops the
// run before the summary question, with a message that names it; nothing is deleted.
TEST(RunQuestionE2E, PatternThatCanNameNoFileStopsTheRunWithAMessage)
{
    TempFolder folder;
    folder.MakeFile("a.obj");
    folder.MakeFile("sub\\b.obj");
    struct Case { std::string patterns, pattern, reason; };
    const std::string folderPart =
        "il contient un chemin ou un lecteur. Un motif ne désigne que des fichiers du répertoire à parcourir.";
    const Case cases[] = {
        {"*.obj;sub\\*.obj", "sub\\*.obj", folderPart},
        {"C:\\*.obj", "C:\\*.obj", folderPart},
        {"*.obj a|b", "a|b", "il contient «\u00a0|\u00a0», qu'aucun nom de fichier ne peut contenir."},
    };
    BrumixApp app;
    ASSERT_TRUE(app.Start(folder.path()));
    app.SetChecked(IDC_RECURSE, true);
    app.SetChecked(IDC_CONFIRM, false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.patterns);
        app.SetText(IDC_FOLDER, folder.path());
        app.SetText(IDC_PATTERNS, c.patterns);
        app.Press(IDOK);
        MessageBoxSeen box;
        ASSERT_TRUE(app.WaitForMessageBox(box));
        EXPECT_EQ(box.caption, "Brumix");
        EXPECT_EQ(box.text, "Le motif «\u00a0" + c.pattern + "\u00a0» ne peut désigner aucun fichier\u00a0: " +
                                c.reason + "\n\nRien n'a été effacé.");
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
        EXPECT_EQ(driver::ShownIcon(box), MB_ICONEXCLAMATION);
        ASSERT_TRUE(app.Answer(box, IDOK));
        // No summary question follows.
        ASSERT_TRUE(app.WaitIdle());
        EXPECT_EQ(folder.Files(), (std::vector<std::string>{"a.obj", "sub\\b.obj"}));
    }
    EXPECT_TRUE(app.Close());
}

// An edit field keeps only 30,000 pasted characters unless told otherwise. Cut there, the
// list below would end in "*", which names every file, and the folder text would name the
// folder above "sub". Both arrive whole, and only the named files go.
TEST(RunQuestionE2E, PastedTextsOfAnyLengthArriveWhole)
{
    TempFolder start;
    for (const char* name : {"named.tmp", "kept.txt", "sub\\named.tmp", "sub\\kept.txt"})
        start.MakeFile(name);
    std::string patterns = std::string(29999, ';') + "*.tmp";
    ASSERT_EQ(patterns.size(), 30004u);
    ASSERT_EQ(patterns[29999], '*');
    std::string folder;
    for (int i = 0; i < 15000; ++i)
        folder += ".\\";
    folder += "sub";
    BrumixApp app;
    ASSERT_TRUE(app.Start(start.path()));
    app.SetChecked(IDC_RECURSE, false);
    app.SetChecked(IDC_CONFIRM, false);
    ASSERT_TRUE(app.PasteUtf8(IDC_FOLDER, folder));
    ASSERT_TRUE(app.PasteUtf8(IDC_PATTERNS, patterns));
    EXPECT_EQ(app.Text(IDC_FOLDER).size(), folder.size());
    EXPECT_EQ(app.Text(IDC_PATTERNS).size(), patterns.size());
    app.Press(IDOK);
    MessageBoxSeen box;
    ASSERT_TRUE(app.WaitForMessageBox(box));
    EXPECT_EQ(app.Text(IDC_FOLDER), start / "sub\\");
    EXPECT_EQ(box.text, Summary(patterns, start / "sub\\", false, false));
    ASSERT_TRUE(app.Answer(box, IDYES));
    ASSERT_TRUE(app.WaitIdle());
    EXPECT_EQ(start.Files(), (std::vector<std::string>{"kept.txt", "named.tmp", "sub\\kept.txt"}));
    EXPECT_TRUE(app.Close());
}

}  // namespace
