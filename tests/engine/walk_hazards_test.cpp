// Ways in which a path text built by the walk names another file than the one found.
// Each fixture loses a file outside what the user named if its guard is missing.
#include <gtest/gtest.h>
#include <windows.h>

#include "driver/app_driver.h"
#include "support/temp_folder.h"
#include "support/unix_files.h"
#include "run_in_process.h"

namespace {

const OptionFlags BOTH = OPT_RECURSE | OPT_CONFIRM;

#define SKIP_UNLESS_WINE()                                                    \
    if (!driver::RunningUnderWine())                                          \
        GTEST_SKIP() << "the fixture needs Unix links and names, under Wine"

TEST(WalkHazards, LinkToAFileElsewhereIsPassedOverAndItsTargetStays)
{
    SKIP_UNLESS_WINE();
    TempFolder root, outside;
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
    TempFolder root, outside;
    outside.MakeFile("a.obj");
    ASSERT_TRUE(MakeUnixLink(outside.path(), root.path(), "linked"));
    EXPECT_EQ(RunInProcess(root.path(), "*.obj", BOTH), Names{});
    EXPECT_EQ(outside.Files(), Names{"a.obj"});
}

TEST(WalkHazards, FolderNameWithATrailingDotDoesNotLeadIntoItsNamesake)
{
    SKIP_UNLESS_WINE();
    // "evil." is a plain folder; Wine drops the dot and enters "evil", a link out.
    TempFolder root, outside;
    outside.MakeFile("a.obj");
    ASSERT_TRUE(MakeUnixFolder(root.path(), "evil."));
    ASSERT_TRUE(MakeUnixLink(outside.path(), root.path(), "evil"));
    EXPECT_EQ(RunInProcess(root.path(), "*.obj", BOTH), Names{});
    EXPECT_EQ(outside.Files(), Names{"a.obj"});
    EXPECT_EQ(CurrentDirectory(), root.path()) << "the walk went into another folder";
    EXPECT_TRUE(IsListed(root.path(), "evil."));
}

TEST(WalkHazards, FileNameWithATrailingDotOrBlankDoesNotDeleteItsNamesake)
{
    SKIP_UNLESS_WINE();
    // "x?" names "x." but not "x"; Wine would delete "x" for "x.".
    TempFolder root;
    root.MakeFile("x");
    root.MakeFile("y");
    ASSERT_TRUE(MakeUnixFile(root.path(), "x."));
    ASSERT_TRUE(MakeUnixFile(root.path(), "y "));
    EXPECT_EQ(RunInProcess(root.path(), "x?;y?", OPT_CONFIRM), Names{});
    EXPECT_TRUE(root.Exists("x"));
    EXPECT_TRUE(root.Exists("y"));
    EXPECT_TRUE(IsListed(root.path(), "x."));
    EXPECT_TRUE(IsListed(root.path(), "y "));
}

TEST(WalkHazards, NameOutsideTheCodePageDoesNotLeadIntoItsLookAlike)
{
    // "ā" comes back from the ANSI enumeration as "a", which is another folder here,
    // hidden and so never to be entered.
    TempFolder root;
    ASSERT_TRUE(CreateDirectoryW(Wide(root.path() + "\xC4\x81").c_str(), nullptr));
    HANDLE file = CreateFileW(Wide(root.path() + "\xC4\x81\\inside.obj").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    root.MakeFile("a\\keep.obj");
    SetFileAttributesA((root / "a").c_str(), FILE_ATTRIBUTE_HIDDEN);
    // Both folders come back as "a" where the system maps the name to a look-alike.
    int namedA = 0;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((root / "*").c_str(), &entry);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do
        namedA += std::string(entry.cFileName) == "a";
    while (FindNextFileA(find, &entry));
    FindClose(find);
    if (namedA != 2)
        GTEST_SKIP() << "this system does not show the name as a look-alike";

    EXPECT_EQ(RunInProcess(root.path(), "*.obj", BOTH), Names{});
    EXPECT_TRUE(root.Exists("a\\keep.obj"));
    EXPECT_NE(GetFileAttributesW(Wide(root.path() + "\xC4\x81\\inside.obj").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(WalkHazards, FolderThatCannotBeEnteredIsSkippedWithoutActingOnTheCurrentOne)
{
    // "中" comes back as "?", which no folder call accepts. The folder walked just
    // before must not be taken for it.
    TempFolder root;
    root.MakeFile("a\\spared.obj");
    ASSERT_TRUE(CreateDirectoryW(Wide(root.path() + "\xE4\xB8\xAD").c_str(), nullptr));
    EXPECT_EQ(RunInProcess(root.path(), "*.obj", BOTH, {IDNO}), Names{FileQuestion(root / "a\\spared.obj")});
    EXPECT_EQ(root.Files(), Names{"a\\spared.obj"});
    EXPECT_EQ(CurrentDirectory(), root / "a\\");
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
    // walk does not know, while the path built names this folder.
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
        EXPECT_EQ(RunInProcess(root / "start\\", pattern, OPT_CONFIRM), Names{});
        EXPECT_EQ(root.Files(), (Names{"keep.obj", "start\\keep.obj", "start\\sub\\keep.obj", "start\\sub\\sub.obj"}));
    }
}

}  // namespace
