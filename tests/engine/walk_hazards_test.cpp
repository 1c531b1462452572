// Ways in which a path text built by the walk names another file than the one found.
// Each fixture loses a file outside what the user named if its guard is missing.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "driver/app_driver.h"
#include "support/temp_folder.h"
#include "support/unix_files.h"
#include "support/utf8.h"
#include "run_in_process.h"

namespace {

const OptionFlags BOTH = OPT_RECURSE | OPT_CONFIRM;

#define SKIP_UNLESS_WINE()                                                    \
    if (!driver::RunningUnderWine())                                          \
        GTEST_SKIP() << "the fixture needs Unix links and names, under Wine"

TEST(WalkHazards, LinkToAFileElsewhereIsPassedOverAndItsTargetStays)
{
    SKIP_UNLESS_WINE();
    // The tree with the links goes first, while what they lead to still exists.
    TempFolder outside, root;
    outside.MakeFile("target.obj");
    root.MakeFile("own.obj");
    ASSERT_TRUE(MakeUnixLink(outside / "target.obj", root.path(), "link.obj"));
    // Under Wine the link shows as a plain file, and deleting it by name deletes the target.
    EXPECT_EQ(RunInProcess(root.path(), "*.obj", BOTH), Names{FileQuestion(root / "own.obj")});
    EXPECT_EQ(outside.Files(), Names{"target.obj"});
    EXPECT_TRUE(IsListed(root.path(), "link.obj"));
}

TEST(WalkHazards, LinkedFolderIsNotEntered)
{
    SKIP_UNLESS_WINE();
    // A plain folder beside the link is entered, and its file goes.
    TempFolder outside, root;
    outside.MakeFile("a.obj");
    root.MakeFile("sub\\b.obj");
    ASSERT_TRUE(MakeUnixLink(outside.path(), root.path(), "linked"));
    EXPECT_EQ(RunInProcess(root.path(), "*.obj", BOTH), Names{FileQuestion(root / "sub\\b.obj")});
    EXPECT_EQ(outside.Files(), Names{"a.obj"});
    EXPECT_EQ(root.Files(), Names{});
}

TEST(WalkHazards, FolderNameWithATrailingDotDoesNotLeadIntoItsNamesake)
{
    SKIP_UNLESS_WINE();
    // "evil." is a plain folder; Wine drops the dot and enters "evil", a link out. The start
    // folder's own file goes.
    TempFolder outside, root;
    outside.MakeFile("a.obj");
    root.MakeFile("own.obj");
    ASSERT_TRUE(MakeUnixFolder(root.path(), "evil."));
    ASSERT_TRUE(MakeUnixLink(outside.path(), root.path(), "evil"));
    EXPECT_EQ(RunInProcess(root.path(), "*.obj", BOTH), Names{FileQuestion(root / "own.obj")});
    EXPECT_EQ(outside.Files(), Names{"a.obj"});
    EXPECT_EQ(CurrentDirectory(), root.path()) << "the walk went into another folder";
    EXPECT_TRUE(IsListed(root.path(), "evil."));
    EXPECT_FALSE(root.Exists("own.obj"));
}

TEST(WalkHazards, FileNameWithATrailingDotOrBlankDoesNotDeleteItsNamesake)
{
    SKIP_UNLESS_WINE();
    // "x*" names "x" and "x.", which Wine cannot tell apart (it would delete "x" for "x."):
    // neither is acted on, nor "y" and "y ". "z.", with no namesake, is asked about and goes.
    TempFolder root;
    root.MakeFile("x");
    root.MakeFile("y");
    ASSERT_TRUE(MakeUnixFile(root.path(), "x."));
    ASSERT_TRUE(MakeUnixFile(root.path(), "y "));
    ASSERT_TRUE(MakeUnixFile(root.path(), "z."));
    EXPECT_EQ(RunInProcess(root.path(), "x*;y*;z*", OPT_CONFIRM), Names{FileQuestion(root / "z.")});
    EXPECT_TRUE(root.Exists("x"));
    EXPECT_TRUE(root.Exists("y"));
    EXPECT_TRUE(IsListed(root.path(), "x."));
    EXPECT_TRUE(IsListed(root.path(), "y "));
    EXPECT_FALSE(IsListed(root.path(), "z."));
}

TEST(WalkHazards, LinkToASiblingWhoseNameEndsWithADotKeepsIt)
{
    SKIP_UNLESS_WINE();
    // Wine reports the link "x.obj" opened as its target "x.obj." without the dot: the
    // name check alone would pass, and "*.obj" does not name "x.obj.".
    TempFolder root;
    root.MakeFile("y.obj");
    ASSERT_TRUE(RunUnixScript(root.path(), "touch 'x.obj.' && ln -s 'x.obj.' 'x.obj'", "x.obj"));
    for (OptionFlags options : {OptionFlags(0), OPT_CONFIRM}) {
        SCOPED_TRACE(options);
        RunInProcess(root.path(), "*.obj", options);
        EXPECT_TRUE(IsListed(root.path(), "x.obj."));
        EXPECT_FALSE(root.Exists("y.obj"));
        root.MakeFile("y.obj");
    }
}

TEST(WalkHazards, LinkThroughAFolderNamedWithADotKeepsItsTarget)
{
    SKIP_UNLESS_WINE();
    // "f\\y.obj" leads to "f.\\y.obj", which Wine reports as "f\\y.obj".
    TempFolder root;
    root.MakeFile("other\\z.obj");
    // Each script waits for the entry that it makes last.
    ASSERT_TRUE(RunUnixScript(root.path(), "mkdir 'f.' && touch 'f./y.obj' && mkdir f", "f"));
    ASSERT_TRUE(RunUnixScript(root / "f\\", "ln -s '../f./y.obj' y.obj", "y.obj"));
    EXPECT_EQ(RunInProcess(root.path(), "*.obj", BOTH), Names{FileQuestion(root / "other\\z.obj")});
    RunInProcess(root.path(), "*.obj", OPT_RECURSE);
    EXPECT_TRUE(UnixPathExists(root.path(), "f./y.obj"));
    EXPECT_TRUE(IsListed(root / "f\\", "y.obj"));
    EXPECT_FALSE(root.Exists("other\\z.obj"));
}

TEST(WalkHazards, StartFolderWithANamesakeBesideItDeletesNothing)
{
    SKIP_UNLESS_WINE();
    // From inside "tree" a link reaches "tree.\\z.obj", reported as "tree\\z.obj": the run
    // cannot tell what is inside its start folder, so it deletes nothing.
    TempFolder root;
    root.MakeFile("tree\\own.obj");
    root.MakeFile("tree\\sub\\deep.obj");
    ASSERT_TRUE(RunUnixScript(root / "tree\\", "mkdir ../tree. && touch ../tree./z.obj && ln -s ../tree./z.obj z.obj",
                              "z.obj"));
    for (const char* start : {"tree\\", "tree\\sub\\"}) {
        SCOPED_TRACE(start);
        EXPECT_EQ(RunInProcess(root / start, "*.obj", BOTH), Names{});
        RunInProcess(root / start, "*.obj", OPT_RECURSE);
        EXPECT_TRUE(UnixPathExists(root.path(), "tree./z.obj"));
        EXPECT_TRUE(root.Exists("tree\\own.obj"));
        EXPECT_TRUE(root.Exists("tree\\sub\\deep.obj"));
    }
    // A start folder beside them with no namesake is walked as any other.
    root.MakeFile("plain\\own.obj");
    EXPECT_EQ(RunInProcess(root / "plain\\", "*.obj", BOTH), Names{FileQuestion(root / "plain\\own.obj")});
    EXPECT_FALSE(root.Exists("plain\\own.obj"));
}

TEST(WalkHazards, NamesMadeOnlyOfDotsOrBlanksNameNothingElse)
{
    SKIP_UNLESS_WINE();
    // Without its trailing dots and blanks such a name is empty: "start\..." names the
    // start folder itself under Wine, and "start\...\a.obj" the start folder's own a.obj,
    // which the user spares here while saying Yes to everything else.
    TempFolder root;
    root.MakeFile("start\\a.obj");
    root.MakeFile("keep.obj");
    ASSERT_TRUE(RunUnixScript(root / "start\\", "mkdir '...' '  ' && touch '.../a.obj' '  /a.obj' '. .' ' ' last",
                              "last"));
    DeleteFileA((root / "start\\last").c_str());
    std::string spared = FileQuestion(root / "start\\a.obj");
    QuestionAnswerer answerer([&](const QuestionSeen& question) {
        return question.caption == "Veuillez confirmer" || question.text != spared ? IDYES : IDNO;
    });
    RunDeletion(nullptr, Wide(root / "start\\").c_str(), L"*", BOTH);
    EXPECT_EQ(answerer.Texts(1), Names{spared});
    EXPECT_TRUE(root.Exists("start\\a.obj"));

    RunInProcess(root / "start\\", "*", OPT_RECURSE);
    EXPECT_FALSE(root.Exists("start\\a.obj"));
    EXPECT_TRUE(root.Exists("start"));
    EXPECT_TRUE(root.Exists("keep.obj"));
}

TEST(WalkHazards, PatternsMadeOnlyOfDotsNameNothing)
{
    // Without its trailing dots such a pattern is empty, or names the folder itself.
    // A pattern that names a file, after them in the list, still takes it.
    TempFolder root;
    root.MakeFile("start\\a.obj");
    root.MakeFile("start\\sub\\b");
    root.MakeFile("keep.obj");
    for (const std::string patterns : {".", "..", "...", ". .. ...", ".;..", "...."}) {
        SCOPED_TRACE(patterns);
        root.MakeFile("start\\sub\\named.c");
        EXPECT_EQ(RunInProcess(root / "start\\", patterns + " *.c", BOTH),
                  Names{FileQuestion(root / "start\\sub\\named.c")});
        root.MakeFile("start\\sub\\named.c");
        RunInProcess(root / "start\\", patterns + ";*.c", OPT_RECURSE);
        EXPECT_EQ(root.Files(), (Names{"keep.obj", "start\\a.obj", "start\\sub\\b"}));
    }
}

TEST(WalkHazards, FileHeldOpenWithoutDeleteSharingStaysAndTheFilesAfterItGo)
{
    for (OptionFlags options : {OptionFlags(0), OPT_CONFIRM}) {
        SCOPED_TRACE(options);
        TempFolder root;
        for (const char* name : {"a.obj", "b.obj", "c.obj", "d.obj"})
            root.MakeFile(name);
        HANDLE held = CreateFileA((root / "b.obj").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        Names questions = RunInProcess(root.path(), "*.obj", options);
        CloseHandle(held);
        EXPECT_EQ(root.Files(), Names{"b.obj"});
        EXPECT_EQ(g_runProgress.filesDeleted, 3) << "the file that stayed was counted";
        if (options & OPT_CONFIRM) {
            EXPECT_EQ(questions, (Names{FileQuestion(root / "a.obj"), FileQuestion(root / "c.obj"),
                                        FileQuestion(root / "d.obj")}));
        }
    }
}

TEST(WalkHazards, NamesOutsideTheCodePageAreUsedAsTheyAreNeverAsLookAlikes)
{
    // "\xC4\x81" (a with macron) comes back from an ANSI listing as "a", here a hidden folder that is
    // never to be entered, and "a.obj" as a file answered No.
    const std::string macron = "\xC4\x81", omega = "\xCE\xA9", nihon = "\xE6\x97\xA5\xE6\x9C\xAC",
                      data = "\xE3\x83\x87\xE3\x83\xBC\xE3\x82\xBF";
    TempFolder root;
    for (const std::string& file : {std::string("a.obj"), macron + ".obj", omega + "mega.obj", nihon + ".obj",
                                     data + "\\y.obj", macron + "\\inside.obj", std::string("a\\keep.obj"),
                                     nihon + ".c"})
        root.MakeFile(file);
    root.SetAttributes("a", FILE_ATTRIBUTE_HIDDEN);

    QuestionAnswerer answerer([&](const QuestionSeen& question) {
        if (question.caption == "Veuillez confirmer")
            return IDYES;
        return question.utf8Text == FileQuestionUtf8(root / "a.obj") ? IDNO : IDYES;
    });
    RunDeletion(nullptr, Wide(root.path()).c_str(), L"*.obj", BOTH);
    Names asked = answerer.Utf8Texts(1);
    std::sort(asked.begin(), asked.end());
    Names expected;
    for (const std::string& file : {std::string("a.obj"), macron + ".obj", omega + "mega.obj", nihon + ".obj",
                                     data + "\\y.obj", macron + "\\inside.obj"})
        expected.push_back(FileQuestionUtf8(root / file));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(asked, expected);
    EXPECT_EQ(root.Files(), (Names{"a.obj", "a\\keep.obj", nihon + ".c"}));
}

TEST(WalkHazards, OnlyTheLongNameIsMatchedNeverTheShortOne)
{
    TempFolder root;
    for (const char* name : {"page.htm", "page.html", "x.obj", "x.objx", "noext", "with.dot"})
        root.MakeFile(name);
    RunInProcess(root.path(), "*.htm;*.obj", 0);
    EXPECT_EQ(root.Files(), (Names{"noext", "page.html", "with.dot", "x.objx"}));
    RunInProcess(root.path(), "*.", 0);
    EXPECT_EQ(root.Files(), (Names{"page.html", "with.dot", "x.objx"}));
}

TEST(WalkHazards, PatternWithAFolderPartOrAnExtraWildcardMatchesNothing)
{
    // Each would make the enumeration list another folder, or match in ways that the
    // walk does not know, while the path built names this folder. None can name a file of
    // the folder walked: the run stops before its summary question, with one message that
    // names the pattern, and the walk, which leaves such patterns out, never starts.
    TempFolder root;
    root.MakeFolder("start");
    for (const char* name : {"keep.obj", "start\\keep.obj", "start\\sub\\keep.obj", "start\\sub\\sub.obj"})
        root.MakeFile(name);
    std::string drivePattern = root.path().substr(0, 2) + "*.obj";
    for (const std::string& pattern : {std::string("sub\\*.obj"), std::string("sub/*.obj"), std::string("..\\*.obj"),
                                       drivePattern, root.path() + "*.obj", std::string("<.obj"),
                                       std::string("keep>obj"), std::string("keep\".obj"), std::string("sub\\sub.obj")}) {
        SCOPED_TRACE(pattern);
        SetCurrentDirectoryA(root.path().c_str());
        // OK to the message that names the pattern; Cancel to any other question, since
        // such a pattern could reach past the folder were the run to start.
        QuestionAnswerer answerer(
            [](const QuestionSeen& question) { return question.caption == "Brumix" ? IDOK : IDCANCEL; });
        RunDeletion(nullptr, Wide(root / "start\\").c_str(), Wide(pattern).c_str(), OPT_CONFIRM);
        ASSERT_EQ(answerer.seen().size(), 1u);
        EXPECT_EQ(answerer.seen()[0].caption, "Brumix");
        EXPECT_EQ(root.Files(), (Names{"keep.obj", "start\\keep.obj", "start\\sub\\keep.obj", "start\\sub\\sub.obj"}));
    }
}

}  // namespace
