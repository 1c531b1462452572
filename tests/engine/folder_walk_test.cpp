// The walk against the real file system, in process: which files go, in which order
// they are offered, and how the answers steer the run. The files left are the assertion.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "engine/folder_walk.h"
#include "engine/native_files.h"
#include "engine/pattern_list.h"
#include "driver/app_driver.h"
#include "exact_names.h"
#include "support/import_patch.h"
#include "support/temp_folder.h"
#include "support/unix_files.h"
#include "run_in_process.h"

namespace {

const OptionFlags BOTH = OPT_RECURSE | OPT_CONFIRM;

// A walk started by hand on `root`, as RunDeletion starts it but without its summary and
// its worker threads, its questions owned by `owner`, its entries checked as `check` says.
void WalkByHand(const std::string& root, const char* patternList, OptionFlags options, EntryCheck check,
                HWND owner = nullptr)
{
    std::wstring list = Wide(patternList);
    std::wstring patterns(list.size() + 1, L'\0');
    std::vector<char> batch(LISTING_BATCH_BYTES), names(OBJECT_NAME_BYTES);
    std::wstring last(MAX_PATH, L'\0');
    DeletionJob job = {};
    job.owner = owner;
    job.options = options;
    job.patterns = &patterns[0];
    job.patternCount = TakePatterns(&list[0], job.patterns, static_cast<int>(patterns.size()));
    job.batch = batch.data();
    job.nameBlock = names.data();
    job.lastFolder = &last[0];
    job.entryCheck = check;
    std::wstring start = Wide(root);
    HANDLE handle = OpenFolder(nullptr, start.c_str(), static_cast<int>(start.size()));
    ASSERT_NE(handle, nullptr);
    int length = 0;
    const WCHAR* found = QueryObjectName(handle, names.data(), length);
    ASSERT_NE(found, nullptr);
    WalkedFolder* folder = MakeWalkedFolder(handle, found, length, start.c_str(), static_cast<int>(start.size()), L"", 0);
    ASSERT_NE(folder, nullptr);
    g_cancelRequested = 0;
    WalkFolder(job, *folder);
    ReleaseFolder(folder);
}

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

// A list that is empty, made only of separators, or whose patterns match no file of a tree
// that has files: nothing is asked or deleted, and every plain subfolder is still walked.
TEST(FolderWalk, PatternsThatNameNoFileAskNothingAndKeepEveryFileYetEveryFolderIsWalked)
{
    for (const char* patterns : {"", " ;, ,", "*.zzz", "nothing.obj", "*.o;*.objx;a.ob?x", "*x*.c;d.res"}) {
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

// Wine keeps no archive flag on a folder: it shows every folder as 0x10 and every file
// with 0x20, whatever was set. Where a folder set archived does not read back so, the walk
// is shown it where it reads attributes: the listing calls of this test program (which
// holds the walk's code) go through ShowArchived, which adds the flag to that folder's
// entries as a listing on Windows holds it.
ImportPatch* g_listingPatch;
std::wstring g_archivedName;

typedef NTSTATUS(NTAPI* ListingFunction)(HANDLE, HANDLE, PVOID, PVOID, PIO_STATUS_BLOCK, PVOID, ULONG,
                                         FILE_INFORMATION_CLASS, BOOLEAN, PUNICODE_STRING, BOOLEAN);

// Where each listing record that carries attributes holds its name.
size_t NameOffset(FILE_INFORMATION_CLASS kind)
{
    switch (static_cast<int>(kind)) {
    case 1: return offsetof(FILE_DIRECTORY_INFORMATION, FileName);
    case 2: return offsetof(FILE_FULL_DIR_INFORMATION, FileName);
    case 3: return offsetof(FILE_BOTH_DIR_INFORMATION, FileName);
    case 37: return offsetof(FILE_ID_BOTH_DIR_INFORMATION, FileName);
    case 38: return offsetof(FILE_ID_FULL_DIR_INFORMATION, FileName);
    }
    return 0;
}

NTSTATUS NTAPI ShowArchived(HANDLE folder, HANDLE event, PVOID apc, PVOID apcContext, PIO_STATUS_BLOCK status,
                            PVOID buffer, ULONG bytes, FILE_INFORMATION_CLASS kind, BOOLEAN single,
                            PUNICODE_STRING mask, BOOLEAN restart)
{
    auto real = reinterpret_cast<ListingFunction>(g_listingPatch->original());
    NTSTATUS result = real(folder, event, apc, apcContext, status, buffer, bytes, kind, single, mask, restart);
    size_t nameOffset = NameOffset(kind);
    if (result != 0 || nameOffset == 0)
        return result;
    for (auto* record = static_cast<BYTE*>(buffer);;) {
        auto* entry = reinterpret_cast<FILE_DIRECTORY_INFORMATION*>(record);
        std::wstring name(reinterpret_cast<const WCHAR*>(record + nameOffset), entry->FileNameLength / sizeof(WCHAR));
        if (name == g_archivedName)
            entry->FileAttributes |= FILE_ATTRIBUTE_ARCHIVE;
        if (entry->NextEntryOffset == 0)
            break;
        record += entry->NextEntryOffset;
    }
    return result;
}

TEST(FolderWalk, OnlyFoldersWhoseAttributeWordIsExactlyDirectoryAreEntered)
{
    TempFolder root;
    for (const char* folder : {"plain", "hidden", "system", ".dotted", "read-only", "archived", "plain\\inner"})
        root.MakeFile(std::string(folder) + "\\a.obj");
    SetFileAttributesA((root / "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    // Set here: Wine marks a dot-named folder hidden by itself, Windows does not.
    SetFileAttributesA((root / ".dotted").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((root / "system").c_str(), FILE_ATTRIBUTE_SYSTEM);
    // Wine keeps no read-only flag set on a folder either, but reads one from its Unix mode.
    SetFileAttributesA((root / "read-only").c_str(), FILE_ATTRIBUTE_READONLY);
    if (!(GetFileAttributesA((root / "read-only").c_str()) & FILE_ATTRIBUTE_READONLY)) {
        ASSERT_TRUE(driver::RunningUnderWine() && MakeUnixReadOnly(root / "read-only"));
    }
    SetFileAttributesA((root / "archived").c_str(), FILE_ATTRIBUTE_ARCHIVE);
    std::optional<ImportPatch> showArchived;
    if (!(GetFileAttributesA((root / "archived").c_str()) & FILE_ATTRIBUTE_ARCHIVE)) {
        showArchived.emplace("ntdll.dll", "NtQueryDirectoryFile", reinterpret_cast<void*>(ShowArchived));
        ASSERT_TRUE(showArchived->applied()) << "the walk's listings do not call NtQueryDirectoryFile";
        g_listingPatch = &*showArchived;
        g_archivedName = L"archived";
    }
    RunInProcess(root.path(), "*.obj", OPT_RECURSE);
    showArchived.reset();
    EXPECT_EQ(root.Files(), (Names{".dotted\\a.obj", "archived\\a.obj", "hidden\\a.obj", "read-only\\a.obj",
                                   "system\\a.obj"}));
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
    // A window that no longer exists cannot own a box: MessageBoxW gives 0. The summary
    // would fail the same way, so the walk is started by hand, as RunDeletion does.
    HWND gone = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    QuestionAnswerer answerer(YesToSummaryThen({}));
    WalkByHand(root.path(), "*.obj", OPT_CONFIRM, CHECK_BY_PLATFORM, gone);
    EXPECT_TRUE(answerer.seen().empty());
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
        // No folder to start in: Cancel to any question.
        EXPECT_EQ(RunInProcess(root / start, "*.obj", BOTH, YesOnlyTo({})), Names{});
        EXPECT_EQ(RunInProcess(start, "*.obj", BOTH, YesOnlyTo({})), Names{});
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
    // "\\" names the root of the drive of the current directory. A file made there for
    // this test alone, and named exactly, shows where the walk went.
    TempFolder root;
    SetCurrentDirectoryA(root.path().c_str());
    std::string drive = root.path().substr(0, 3);
    std::string probe = "brumix-root-probe-" + std::to_string(GetCurrentProcessId()) + ".none";
    HANDLE made = CreateFileA((drive + probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (made == INVALID_HANDLE_VALUE)
        GTEST_SKIP() << "no file can be made at the root of " << drive;
    CloseHandle(made);
    // Yes to the probe's own question alone: a run that reached any other file there would
    // stop at its question, and delete nothing the test did not make.
    EXPECT_EQ(RunInProcess("\\", probe, OPT_CONFIRM, YesOnlyTo({FileQuestion(drive + probe)})),
              Names{FileQuestion(drive + probe)});
    bool stayed = GetFileAttributesA((drive + probe).c_str()) != INVALID_FILE_ATTRIBUTES;
    DeleteFileA((drive + probe).c_str());
    EXPECT_FALSE(stayed) << "the file named at the drive's root stayed";
    EXPECT_EQ(CurrentDirectory(), drive);
}

TEST(FolderWalk, PathsOfAnyLengthAreWalkedWhole)
{
    // Seven levels of 45-character names: files at 300 characters and more, a question
    // that shows the whole path, and the files that no pattern names kept.
    TempFolder root;
    std::string level = std::string(41, 'n') + "name";
    std::string relative;
    for (int depth = 0; depth < 7; ++depth) {
        relative += level + std::to_string(depth) + "\\";
        root.MakeFile(relative + "x.obj");
        root.MakeFile(relative + "keep.c");
    }
    std::string deepest = root / (relative + "x.obj");
    ASSERT_GT(deepest.size(), 300u);
    Names questions = RunInProcess(root.path(), "*.obj", BOTH, {IDNO, IDNO, IDNO, IDNO, IDNO, IDNO, IDYES});
    ASSERT_EQ(questions.size(), 7u);
    EXPECT_EQ(questions.back(), FileQuestion(deepest));
    Names left = root.Files();
    EXPECT_EQ(left.size(), 13u);
    EXPECT_EQ(std::count(left.begin(), left.end(), relative + "x.obj"), 0) << "the deepest file stayed";

    RunInProcess(root.path(), "*.obj", OPT_RECURSE);
    for (const std::string& file : root.Files())
        EXPECT_EQ(file.substr(file.size() - 6), "keep.c");
    EXPECT_EQ(root.Files().size(), 7u);
}

TEST(FolderWalk, AHundredAndSixtyLevelsDeepEveryNamedFileGoes)
{
    TempFolder root;
    std::string relative;
    for (int depth = 0; depth < 160; ++depth) {
        relative += "d\\";
        root.MakeFile(relative + "x.obj");
        root.MakeFile(relative + "x.c");
    }
    ASSERT_GT((root / relative).size(), 320u);
    RunInProcess(root.path(), "*.obj", OPT_RECURSE);
    Names left = root.Files();
    EXPECT_EQ(left.size(), 160u);
    for (const std::string& file : left)
        EXPECT_EQ(file.substr(file.size() - 3), "x.c");
}

TEST(FolderWalk, CheckedByIdANameEndingInADotIsAFileOfItsOwn)
{
    // Where names are reported as they are (Windows), "x.obj" and "x.obj." are two files,
    // each deleted when a pattern names it. Where they are not (Wine), the two cannot be
    // told apart and both stay. Both checks run here on plain files.
    struct Case { EntryCheck check; const char* patterns; Names left; };
    for (const Case& c : {Case{CHECK_BY_ID, "*.obj", {"keep.c", "sub\\y.obj.", "x.obj."}},
                          // A "?" never takes a dot: "*.obj*" names the dotted ones too.
                          Case{CHECK_BY_ID, "*.obj*", {"keep.c"}},
                          Case{CHECK_BY_NAME, "*.obj*", {"keep.c", "sub\\y.obj", "sub\\y.obj.", "x.obj", "x.obj."}}}) {
        SCOPED_TRACE(std::string(c.check == CHECK_BY_ID ? "by id, " : "by name, ") + c.patterns);
        TempFolder root;
        for (const char* file : {"x.obj", "keep.c", "sub\\y.obj"})
            root.MakeFile(file);
        ASSERT_TRUE(MakeExactEntry(root.path(), L"x.obj."));
        ASSERT_TRUE(MakeExactEntry(root / "sub", L"y.obj."));
        WalkByHand(root.path(), c.patterns, OPT_RECURSE, c.check);
        EXPECT_EQ(root.Files(), c.left);
    }
}

#ifndef _WIN64
// This thread sees System32 itself only while redirection is off.
struct RedirectionOff {
    PVOID previous = nullptr;
    BOOL off = Wow64DisableWow64FsRedirection(&previous);
    ~RedirectionOff()
    {
        if (off)
            Wow64RevertWow64FsRedirection(previous);
    }
};

// A fixture folder in System32 itself: made, and removed on every path, with redirection
// off, since with it on the same path names SysWOW64.
class FolderInSystem32 {
public:
    explicit FolderInSystem32(const std::string& system)
    {
        RedirectionOff redirection;
        if (redirection.off)
            folder_.reset(new TempFolder(system + "\\"));
    }
    ~FolderInSystem32()
    {
        RedirectionOff redirection;
        folder_.reset();
    }
    FolderInSystem32(const FolderInSystem32&) = delete;
    FolderInSystem32& operator=(const FolderInSystem32&) = delete;

    TempFolder* operator->() const { return folder_.get(); }
    bool made() const { return folder_ != nullptr; }

private:
    std::unique_ptr<TempFolder> folder_;
};

// Its twin under SysWOW64, where a redirected walk would go instead, removed on every path.
struct TwinInSysWow64 {
    std::string path;
    ~TwinInSysWow64()
    {
        DeleteFileA((path + "a.obj").c_str());
        RemoveDirectoryA(path.c_str());
    }
};
#endif

TEST(FolderWalk, AStartFolderBelowSystem32IsWalkedThereAndNotInSysWow64)
{
#ifdef _WIN64
    GTEST_SKIP() << "file-system redirection bends the paths of the 32-bit build only: this test runs in the 32-bit "
                    "suite, where 32-bit Wine or Windows runs it";
#else
    BOOL wow64 = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &wow64) || !wow64)
        GTEST_SKIP() << "a 32-bit system has no SysWOW64 to be redirected to";
    char system[MAX_PATH] = "", wow[MAX_PATH] = "";
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    ASSERT_GT(GetSystemWow64DirectoryA(wow, MAX_PATH), 0u);
    FolderInSystem32 inSystem(system);
    ASSERT_TRUE(inSystem.made());
    {
        RedirectionOff redirection;
        inSystem->MakeFile("a.obj");
        inSystem->MakeFile("keep.c");
    }
    std::string start = inSystem->path();
    TwinInSysWow64 twin = {std::string(wow) + start.substr(lstrlenA(system))};
    ASSERT_TRUE(CreateDirectoryA(twin.path.c_str(), nullptr));
    CloseHandle(CreateFileA((twin.path + "a.obj").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));

    EXPECT_EQ(RunInProcess(start, "*.obj", OPT_CONFIRM), Names{FileQuestion(start + "a.obj")});

    EXPECT_NE(GetFileAttributesA((twin.path + "a.obj").c_str()), INVALID_FILE_ATTRIBUTES) << "SysWOW64 was walked";
    RedirectionOff redirection;
    EXPECT_EQ(inSystem->Files(), Names{"keep.c"});
#endif
}

// A run stops before it walks on a pattern that can name no file; the walk itself, started
// by hand, still leaves out every pattern that is not plain: each would list another
// folder, or match in ways that the walk does not know, while the path built names this one.
TEST(FolderWalk, PatternsThatAreNotPlainAreLeftOutByTheWalkItself)
{
    TempFolder root;
    root.MakeFolder("start");
    for (const char* name : {"keep.obj", "start\\keep.obj", "start\\sub\\keep.obj", "start\\sub\\sub.obj"})
        root.MakeFile(name);
    std::string list = "sub\\*.obj;sub/*.obj;..\\*.obj;" + root.path().substr(0, 2) + "*.obj;" + root.path() +
                       "*.obj;<.obj;keep>obj;keep\".obj;sub\\sub.obj;\"sub\\*.obj\"";
    SetCurrentDirectoryA(root.path().c_str());
    WalkByHand(root / "start\\", list.c_str(), OPT_RECURSE, CHECK_BY_PLATFORM);
    EXPECT_EQ(root.Files(), (Names{"keep.obj", "start\\keep.obj", "start\\sub\\keep.obj", "start\\sub\\sub.obj"}));
}

}  // namespace
