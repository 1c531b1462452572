// Whole runs in the running program: every question read and answered as a person would,
// and the files left on disk afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "driver/app_driver.h"
#include "res/resource.h"
#include "support/question_answerer.h"
#include "support/temp_folder.h"

using driver::BrumixApp;
using driver::MessageBoxSeen;

namespace {

typedef std::vector<std::string> Names;

void MakeTree(TempFolder& root)
{
    for (const char* file : {"a.obj", "b.res", "c.obj", "keep.txt", "sub\\d.obj", "sub\\deep\\e.res",
                             "sub\\deep\\f.res", "sub2\\g.obj"})
        root.MakeFile(file);
}

// Starts the program on `folder`, fills in the run and says Yes to the summary.
void StartRun(BrumixApp& app, const std::string& folder, const std::string& patterns, bool recurse, bool confirm)
{
    ASSERT_TRUE(app.Start(folder));
    ASSERT_TRUE(app.BeginRun(folder, patterns, recurse, confirm));
}

// Waits for the next file question, checks it whole, and gives it back to be answered.
MessageBoxSeen ExpectQuestion(BrumixApp& app, const std::string& path)
{
    MessageBoxSeen box;
    EXPECT_TRUE(app.WaitForMessageBox(box));
    EXPECT_EQ(box.caption, "Confirmation d'effacement");
    EXPECT_EQ(box.text, FileQuestion(path));
    EXPECT_EQ(box.buttons, (std::vector<int>{IDCANCEL, IDYES, IDNO}));
    EXPECT_FALSE(box.showsIcon);
    return box;
}

void Close(BrumixApp& app)
{
    ASSERT_TRUE(app.WaitIdle());
    EXPECT_TRUE(app.Close());
}

TEST(DeletionE2E, QuestionsComeInWalkOrderAndEachAnswerIsObeyed)
{
    TempFolder root;
    MakeTree(root);
    BrumixApp app;
    StartRun(app, root.path(), ";*.obj,, *.res ;", true, true);
    ASSERT_TRUE(app.Answer(ExpectQuestion(app, root / "a.obj"), IDYES));
    ASSERT_TRUE(app.Answer(ExpectQuestion(app, root / "c.obj"), IDNO));
    // Yes is the default button: Enter deletes.
    ASSERT_TRUE(app.AnswerWithKey(ExpectQuestion(app, root / "b.res"), VK_RETURN));
    ASSERT_TRUE(app.Answer(ExpectQuestion(app, root / "sub\\d.obj"), IDNO));
    ASSERT_TRUE(app.Answer(ExpectQuestion(app, root / "sub\\deep\\e.res"), IDYES));
    ASSERT_TRUE(app.Answer(ExpectQuestion(app, root / "sub\\deep\\f.res"), IDNO));
    ASSERT_TRUE(app.Answer(ExpectQuestion(app, root / "sub2\\g.obj"), IDYES));
    ASSERT_TRUE(app.WaitIdle());
    EXPECT_EQ(root.Files(), (Names{"c.obj", "keep.txt", "sub\\d.obj", "sub\\deep\\f.res"}));
    Close(app);
}

TEST(DeletionE2E, CancelEscapeAndCloseBoxDeepInTheTreeStopEverything)
{
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way == 0 ? "Cancel" : way == 1 ? "Escape" : "close box");
        TempFolder root;
        MakeTree(root);
        BrumixApp app;
        StartRun(app, root.path(), "*.obj;*.res", true, true);
        for (const char* file : {"a.obj", "c.obj", "b.res", "sub\\d.obj"})
            ASSERT_TRUE(app.Answer(ExpectQuestion(app, root / file), IDYES));
        MessageBoxSeen deep = ExpectQuestion(app, root / "sub\\deep\\e.res");
        if (way == 0)
            ASSERT_TRUE(app.Answer(deep, IDCANCEL));
        else if (way == 1)
            ASSERT_TRUE(app.AnswerWithKey(deep, VK_ESCAPE));
        else
            ASSERT_TRUE(app.AnswerWithCloseBox(deep));
        ASSERT_TRUE(app.WaitIdle());
        EXPECT_EQ(root.Files(), (Names{"keep.txt", "sub2\\g.obj", "sub\\deep\\e.res", "sub\\deep\\f.res"}));

        // The next run starts afresh.
        app.SetChecked(IDC_CONFIRM, false);
        app.Press(IDOK);
        MessageBoxSeen summary;
        ASSERT_TRUE(app.WaitForMessageBox(summary));
        ASSERT_TRUE(app.Answer(summary, IDYES));
        ASSERT_TRUE(app.WaitIdle());
        EXPECT_EQ(root.Files(), Names{"keep.txt"});
        Close(app);
    }
}

// The program starts in the tree, which is then its current directory: a run that fell
// back on it would delete there.
TEST(DeletionE2E, StartFolderThatIsMissingOrIsAFileDeletesNothingNotEvenInTheCurrentDirectory)
{
    for (const char* named : {"missing", "a.obj"}) {
        SCOPED_TRACE(named);
        TempFolder root;
        MakeTree(root);
        Names before = root.Files();
        BrumixApp app;
        ASSERT_TRUE(app.Start(root.path()));
        ASSERT_TRUE(app.BeginRun(root / named, "*.obj;*.res", true, false));
        ASSERT_TRUE(app.WaitIdle());
        EXPECT_EQ(root.Files(), before);
        Close(app);
    }
}

// Typed key by key, a folder named in another script is the very folder run: read through
// code page 1252, "Ωmega" became its look-alike "Omega", a folder that exists here, and
// each of "日本" a "?".
TEST(DeletionE2E, FolderTypedInAnotherScriptIsTheOneRun)
{
    for (const std::string& name : {std::string(u8"Ωmega"), std::string(u8"日本")}) {
        SCOPED_TRACE(name);
        TempFolder root;
        for (const std::string& file : {name + "\\a.obj", name + "\\keep.c", std::string("Omega\\a.obj"),
                                         std::string("a.obj")})
            root.MakeFile(file);
        BrumixApp app;
        ASSERT_TRUE(app.Start(root.path()));
        app.TypeUtf8(IDC_FOLDER, root / name);
        app.SetText(IDC_PATTERNS, "*.obj");
        app.SetChecked(IDC_RECURSE, false);
        app.SetChecked(IDC_CONFIRM, true);
        app.Press(IDOK);
        MessageBoxSeen summary;
        ASSERT_TRUE(app.WaitForMessageBox(summary));
        EXPECT_EQ(app.Utf8Text(IDC_FOLDER), root / name + "\\");
        EXPECT_EQ(summary.utf8Text, u8"On va effacer les fichiers *.obj\nà partir de " + root / name +
                                        u8"\\\nOn ne fait pas du récursif\net on demande une confirmation");
        ASSERT_TRUE(app.Answer(summary, IDYES));
        MessageBoxSeen question;
        ASSERT_TRUE(app.WaitForMessageBox(question));
        ASSERT_EQ(question.utf8Text, FileQuestionUtf8(root / name + "\\a.obj"));
        ASSERT_TRUE(app.Answer(question, IDYES));
        ASSERT_TRUE(app.WaitIdle());
        Names left = {name + "\\keep.c", "Omega\\a.obj", "a.obj"};
        std::sort(left.begin(), left.end());
        EXPECT_EQ(root.Files(), left);
        Close(app);
    }
}

TEST(DeletionE2E, WithoutQuestionsEveryNamedFileGoesAndNothingElse)
{
    TempFolder root;
    MakeTree(root);
    root.MakeFile("page.html");
    root.MakeFile(".hidden\\a.obj");
    // Set here: Wine marks a dot-named folder hidden by itself, Windows does not.
    root.SetAttributes(".hidden", FILE_ATTRIBUTE_HIDDEN);
    BrumixApp app;
    StartRun(app, root.path(), "*.obj *.res *.htm", true, false);
    ASSERT_TRUE(app.WaitIdle());
    EXPECT_EQ(root.Files(), (Names{".hidden\\a.obj", "keep.txt", "page.html"}));
    Close(app);
}

TEST(DeletionE2E, NamesInAnyScriptAreAskedAboutExactlyOneByOne)
{
    // a with macron, Japanese "nihon" and "deeta": none of them has a code page 1252 form.
    const std::string macron = "\xC4\x81", nihon = "\xE6\x97\xA5\xE6\x9C\xAC",
                      data = "\xE3\x83\x87\xE3\x83\xBC\xE3\x82\xBF";
    TempFolder root;
    Names named = {"a.obj", macron + ".obj", nihon + ".obj", data + "\\y.obj"};
    for (const std::string& file : named)
        root.MakeFile(file);
    root.MakeFile(data + "\\keep.c");
    BrumixApp app;
    StartRun(app, root.path(), "*.obj", true, true);
    Names asked;
    for (size_t i = 0; i < named.size(); ++i) {
        MessageBoxSeen box;
        ASSERT_TRUE(app.WaitForMessageBox(box));
        EXPECT_EQ(box.caption, "Confirmation d'effacement");
        asked.push_back(box.utf8Text);
        // "a.obj" is spared; its look-alike goes.
        ASSERT_TRUE(app.Answer(box, box.utf8Text == FileQuestionUtf8(root / "a.obj") ? IDNO : IDYES));
    }
    ASSERT_TRUE(app.WaitIdle());
    Names expected;
    for (const std::string& file : named)
        expected.push_back(FileQuestionUtf8(root / file));
    std::sort(asked.begin(), asked.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(asked, expected);
    EXPECT_EQ(root.Files(), (Names{"a.obj", data + "\\keep.c"}));
    Close(app);
}

// Omega and "nihon" have no code page 1252 form: read through it, "Ω" became its look-alike
// "O" and each of "日本" a "?" wildcard, and the run deleted "ba.obj" and "xy.obj" instead.
TEST(DeletionE2E, PatternInAnotherScriptDeletesExactlyTheFilesItNames)
{
    const std::string patterns = u8"Ω*.obj;日本.obj";
    for (bool typed : {false, true}) {
        SCOPED_TRACE(typed ? "typed" : "pasted");
        TempFolder root;
        for (const std::string& file : {std::string(u8"Ωa.obj"), std::string(u8"日本.obj"), std::string("ba.obj"),
                                         std::string("xy.obj"), std::string("q.obj"), std::string("Oa.obj")})
            root.MakeFile(file);
        BrumixApp app;
        ASSERT_TRUE(app.Start(root.path()));
        app.SetText(IDC_FOLDER, root.path());
        if (typed)
            app.TypeUtf8(IDC_PATTERNS, patterns);
        else
            app.SetUtf8Text(IDC_PATTERNS, patterns);
        app.SetChecked(IDC_RECURSE, false);
        app.SetChecked(IDC_CONFIRM, false);
        app.Press(IDOK);
        MessageBoxSeen summary;
        ASSERT_TRUE(app.WaitForMessageBox(summary));
        const std::string expected = u8"On va effacer les fichiers Ω*.obj;日本.obj\nà partir de " + root.path() +
                                     u8"\nOn ne fait pas du récursif\net on ne demande pas une confirmation";
        EXPECT_EQ(summary.utf8Text, expected);
        ASSERT_TRUE(app.Answer(summary, IDYES));
        ASSERT_TRUE(app.WaitIdle());
        EXPECT_EQ(root.Files(), (Names{"Oa.obj", "ba.obj", "q.obj", "xy.obj"}));
        Close(app);
    }
}

// Windows' "?" is one character, or none at a dot or at the end of the name: "f??" names
// "f12" and never "f.c", "a?.obj" names "a.obj". Wine's own listing says otherwise.
TEST(DeletionE2E, QuestionMarksNameWhatTheyNameOnWindows)
{
    TempFolder root;
    for (const char* file : {"f", "f1", "f12", "f.c", "f123", "a.obj", "ab.obj", "abc.obj", "sub\\f12"})
        root.MakeFile(file);
    BrumixApp app;
    StartRun(app, root.path(), "f?? a?.obj", false, false);
    ASSERT_TRUE(app.WaitIdle());
    EXPECT_EQ(root.Files(), (Names{"abc.obj", "f.c", "f123", "sub\\f12"}));
    Close(app);
}

}  // namespace
