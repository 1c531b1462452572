// The walk against the real file system, in process: which files go, in which order
// they are offered, and how the answers steer the run. The files left are the assertion.
#include <gtest/gtest.h>
#include <windows.h>

#include "engine/folder_walk.h"
#include "support/temp_folder.h"
#include "support/unix_files.h"
#include "run_in_process.h"

namespace {

const OptionFlags BOTH = OPT_RECURSE | OPT_CONFIRM;

// Deleted above, kept below: a tree where every rule of the walk shows.
void MakeTree(TempFolder& root)
{
    for (const char* file : {"a.obj", "b.res", "c.obj", "keep.txt", "sub1\\d.obj", "sub1\\deep\\e.res",
                             "sub1\\deep\\keep.c", "sub2\\f.obj", "sub2\\x.res"})
        root.MakeFile(file);
}

TEST(FolderWalk, SeparatorsAroundPatternsChangeNothing)
{
    for (const char* patterns : {";*.obj,, *.res ;", "*.obj;*.res"}) {
        SCOPED_TRACE(patterns);
        TempFolder root;
        MakeTree(root);
        EXPECT_EQ(RunInProcess(root.path(), patterns, BOTH),
                  (Names{FileQuestion(root / "a.obj"), FileQuestion(root / "c.obj"), FileQuestion(root / "b.res"),
                         FileQuestion(root / "sub1\\d.obj"), FileQuestion(root / "sub1\\deep\\e.res"),
                         FileQuestion(root / "sub2\\f.obj"), FileQuestion(root / "sub2\\x.res")}));
        EXPECT_EQ(root.Files(), (Names{"keep.txt", "sub1\\deep\\keep.c"}));
    }
}

TEST(FolderWalk, EmptyListDeletesNothingButStillWalksEveryPlainSubfolder)
{
    for (const char* patterns : {"", " ;, ,"}) {
        SCOPED_TRACE(patterns);
        TempFolder root;
        MakeTree(root);
        root.MakeFolder("sub3\\last");
        Names before = root.Files();
        EXPECT_EQ(RunInProcess(root.path(), patterns, BOTH), Names{});
        EXPECT_EQ(root.Files(), before);
        EXPECT_EQ(CurrentDirectory(), root / "sub3\\last\\") << "the walk ends in the last folder entered";
    }
}

TEST(FolderWalk, WithoutTheOptionOnlyTheStartFolderIsHandled)
{
    TempFolder root;
    MakeTree(root);
    RunInProcess(root.path(), "*.obj;*.res", 0);
    EXPECT_EQ(root.Files(), (Names{"keep.txt", "sub1\\d.obj", "sub1\\deep\\e.res", "sub1\\deep\\keep.c",
                                   "sub2\\f.obj", "sub2\\x.res"}));
    EXPECT_EQ(CurrentDirectory(), root.path());
}

TEST(FolderWalk, StarDotStarTakesEveryFileOfEveryFolderWalked)
{
    TempFolder root;
    MakeTree(root);
    root.MakeFile("noext");
    RunInProcess(root.path(), "*.*", OPT_RECURSE);
    EXPECT_EQ(root.Files(), Names{});
}

TEST(FolderWalk, OnlyFoldersWhoseAttributeWordIsExactlyDirectoryAreEntered)
{
    TempFolder root;
    root.MakeFile("plain\\a.obj");
    root.MakeFile("hidden\\a.obj");
    root.MakeFile("system\\a.obj");
    root.MakeFile(".dotted\\a.obj");
    root.MakeFile("plain\\inner\\a.obj");
    SetFileAttributesA((root / "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((root / "system").c_str(), FILE_ATTRIBUTE_SYSTEM);
    RunInProcess(root.path(), "*.obj", OPT_RECURSE);
    EXPECT_EQ(root.Files(), (Names{".dotted\\a.obj", "hidden\\a.obj", "system\\a.obj"}));
}

TEST(FolderWalk, SubfolderNamedLikeAPatternIsNeitherOfferedNorDeleted)
{
    TempFolder root;
    root.MakeFolder("lib.obj");
    root.MakeFile("lib.obj\\inner.txt");
    root.MakeFile("x.obj");
    EXPECT_EQ(RunInProcess(root.path(), "*.obj", OPT_CONFIRM), Names{FileQuestion(root / "x.obj")});
    EXPECT_TRUE(root.Exists("lib.obj"));
    EXPECT_EQ(root.Files(), Names{"lib.obj\\inner.txt"});
}

TEST(FolderWalk, HiddenSystemAndReadOnlyFilesAreOfferedLikeAnyOther)
{
    TempFolder root;
    for (const char* name : {"h.obj", "r.obj", "s.obj"})
        root.MakeFile(name);
    SetFileAttributesA((root / "h.obj").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((root / "r.obj").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA((root / "s.obj").c_str(), FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(RunInProcess(root.path(), "*.obj", OPT_CONFIRM),
              (Names{FileQuestion(root / "h.obj"), FileQuestion(root / "r.obj"), FileQuestion(root / "s.obj")}));
    // A read-only file cannot be deleted: it stays, silently, and the run goes on.
    EXPECT_EQ(root.Files(), Names{"r.obj"});
}

TEST(FolderWalk, NoKeepsTheFileAndGoesOnAndASparedFileIsOfferedForEachPatternItMatches)
{
    TempFolder root;
    for (const char* name : {"a.obj", "b.obj", "c.obj"})
        root.MakeFile(name);
    EXPECT_EQ(RunInProcess(root.path(), "*.obj;b.*;*.obj", OPT_CONFIRM, {IDNO, IDNO, IDYES, IDNO, IDYES, IDNO}),
              (Names{FileQuestion(root / "a.obj"), FileQuestion(root / "b.obj"), FileQuestion(root / "c.obj"),
                     FileQuestion(root / "b.obj"), FileQuestion(root / "a.obj"), FileQuestion(root / "b.obj")}));
    EXPECT_EQ(root.Files(), (Names{"b.obj"}));
}

TEST(FolderWalk, CancelDeepInTheTreeStopsEverything)
{
    TempFolder root;
    MakeTree(root);
    root.MakeFile("sub1\\deep\\more.res");
    // Yes, Yes, Yes, Yes, then Cancel on e.res: more.res, sub2 and the rest of every
    // folder above stay, with no further question.
    EXPECT_EQ(RunInProcess(root.path(), "*.obj;*.res", BOTH, {IDYES, IDYES, IDYES, IDYES, IDCANCEL}),
              (Names{FileQuestion(root / "a.obj"), FileQuestion(root / "c.obj"), FileQuestion(root / "b.res"),
                     FileQuestion(root / "sub1\\d.obj"), FileQuestion(root / "sub1\\deep\\e.res")}));
    EXPECT_EQ(g_cancelRequested, 1);
    EXPECT_EQ(root.Files(), (Names{"keep.txt", "sub1\\deep\\e.res", "sub1\\deep\\keep.c", "sub1\\deep\\more.res",
                                   "sub2\\f.obj", "sub2\\x.res"}));
    EXPECT_EQ(CurrentDirectory(), root / "sub1\\deep\\");

    // The next run starts afresh.
    EXPECT_EQ(RunInProcess(root.path(), "*.res", OPT_RECURSE), Names{});
    EXPECT_EQ(g_cancelRequested, 0);
    EXPECT_EQ(root.Files(), (Names{"keep.txt", "sub1\\deep\\keep.c", "sub2\\f.obj"}));
}

TEST(FolderWalk, AQuestionThatCannotBeShownStopsTheRun)
{
    TempFolder root;
    root.MakeFile("a.obj");
    root.MakeFile("b.obj");
    // A window that no longer exists cannot own a box: MessageBoxA gives 0.
    HWND gone = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    g_mainWindow = gone;
    QuestionAnswerer answerer(YesToSummaryThen({}));
    RunDeletion(nullptr, root.path().c_str(), "*.obj", OPT_CONFIRM);
    g_mainWindow = nullptr;
    EXPECT_EQ(answerer.seen().size(), 1u) << "only the summary showed";
    EXPECT_EQ(g_cancelRequested, 1);
    EXPECT_EQ(root.Files(), (Names{"a.obj", "b.obj"}));
}

TEST(FolderWalk, MissingStartFolderDeletesNothingHereNorInTheCurrentDirectory)
{
    TempFolder root;
    root.MakeFile("a.obj");
    root.MakeFile("sub\\b.obj");
    SetCurrentDirectoryA(root.path().c_str());
    for (const char* start : {"missing\\", "a.obj\\"}) {
        SCOPED_TRACE(start);
        EXPECT_EQ(RunInProcess(root / start, "*.obj", BOTH), Names{});
        EXPECT_EQ(RunInProcess(start, "*.obj", BOTH), Names{});
        EXPECT_EQ(root.Files(), (Names{"a.obj", "sub\\b.obj"}));
        EXPECT_EQ(CurrentDirectory(), root.path());
    }
}

TEST(FolderWalk, RelativeStartFolderIsTakenFromTheCurrentDirectoryOnce)
{
    // Without making it full, "sub\\" + "a.obj" would be looked up again from inside sub
    // and name sub\sub\a.obj.
    TempFolder root;
    root.MakeFile("sub\\a.obj");
    root.MakeFile("sub\\sub\\a.obj");
    SetCurrentDirectoryA(root.path().c_str());
    EXPECT_EQ(RunInProcess("sub\\", "*.obj", OPT_CONFIRM), Names{FileQuestion(root / "sub\\a.obj")});
    EXPECT_EQ(root.Files(), Names{"sub\\sub\\a.obj"});

    SetCurrentDirectoryA((root / "sub").c_str());
    EXPECT_EQ(RunInProcess("..\\sub\\.\\sub\\", "*.obj", OPT_CONFIRM), Names{FileQuestion(root / "sub\\sub\\a.obj")});
    EXPECT_EQ(root.Files(), Names{});
}

TEST(FolderWalk, DriveRootStartFolderIsTheRootOfTheCurrentDrive)
{
    // "\\" names the root of the drive of the current directory. A pattern that no file
    // there has keeps this harmless; the question would show where the walk went.
    TempFolder root;
    root.MakeFile("brumix-root-probe.none");
    SetCurrentDirectoryA(root.path().c_str());
    std::string drive = root.path().substr(0, 3);
    EXPECT_EQ(RunInProcess("\\", "brumix-no-such-file-*.none", OPT_CONFIRM), Names{});
    EXPECT_EQ(CurrentDirectory(), drive);
}

// Paths in the fixture can pass the old 260-character limit: build them through the
// long-path form.
void MakeLongFolder(const std::string& path)
{
    CreateDirectoryW(Wide("\\\\?\\" + path).c_str(), nullptr);
}

void MakeLongFile(const std::string& path)
{
    HANDLE file = CreateFileW(Wide("\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
}

bool LongExists(const std::string& path)
{
    return GetFileAttributesW(Wide("\\\\?\\" + path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(FolderWalk, PathsTooLongForTheirBlocksAreSkippedNeverCut)
{
    TempFolder root;
    std::string base = root.path();
    ASSERT_LT(base.size(), 200u);
    // Folders whose path, closing backslash included, is 255 and 256 characters.
    std::string fits = base + std::string(FOLDER_PATH_LIMIT - 1 - base.size(), 'f') + "\\";
    std::string over = base + std::string(FOLDER_PATH_LIMIT - base.size(), 'g') + "\\";
    ASSERT_EQ(fits.size(), 255u);
    ASSERT_EQ(over.size(), 256u);
    MakeLongFolder(fits);
    MakeLongFolder(over);
    // In the 255-character folder: file paths of 259 and 260 characters.
    std::string fileFits = fits + std::string(259 - fits.size() - 4, 'a') + ".obj";
    std::string fileOver = fits + std::string(260 - fits.size() - 4, 'b') + ".obj";
    MakeLongFile(fileFits);
    MakeLongFile(fileOver);
    MakeLongFile(over + "c.obj");
    ASSERT_TRUE(LongExists(fileFits) && LongExists(fileOver) && LongExists(over + "c.obj"));

    EXPECT_EQ(RunInProcess(base, "*.obj", BOTH), Names{FileQuestion(fileFits)});
    EXPECT_FALSE(LongExists(fileFits));
    EXPECT_TRUE(LongExists(fileOver));
    EXPECT_TRUE(LongExists(over + "c.obj"));
}

}  // namespace
