// The engine's ways for the file systems a Windows user has: which entry check a platform
// gets, ids that are missing, folders met again, listings in older records, POSIX deletion
// per volume, reparse files that hold data, the rights a folder is opened with, and the
// order of question and open. What needs Windows itself (NTFS ids, SMB, access lists,
// cloud files, "\Device\" names) is shown through the procedures that decide, on tables;
// the rest against the real file system here.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/app_driver.h"
#include "engine/entry_check.h"
#include "engine/file_removal.h"
#include "engine/folder_walk.h"
#include "engine/native_files.h"
#include "engine/pattern_list.h"
#include "exact_names.h"
#include "run_in_process.h"
#include "support/temp_folder.h"
#include "support/unix_files.h"

namespace {

const NTSTATUS SUCCESS = 0;
const NTSTATUS NO_MORE_FILES = static_cast<NTSTATUS>(0x80000006);
const NTSTATUS INVALID_LEVEL = static_cast<NTSTATUS>(0xC0000148);
const NTSTATUS INVALID_DEVICE_REQUEST = static_cast<NTSTATUS>(0xC0000010);
const NTSTATUS ACCESS_DENIED = static_cast<NTSTATUS>(0xC0000022);

TEST(WindowsBranches, TheIdCheckIsChosenOnlyOnANameInWindowsOwnForm)
{
    struct Case { bool wineMark; const wchar_t* name; EntryCheck check; };
    for (const Case& c : {Case{false, L"\\Device\\HarddiskVolume3\\src", CHECK_BY_ID},
                          Case{false, L"\\Device\\Mup\\server\\share\\src", CHECK_BY_ID},
                          Case{false, L"\\Device\\HarddiskVolume3\\", CHECK_BY_ID},
                          // Wine names a folder by its drive, mark or no mark.
                          Case{false, L"\\??\\Z:\\tmp\\src", CHECK_BY_NAME}, Case{false, L"\\??\\C:\\", CHECK_BY_NAME},
                          Case{true, L"\\Device\\HarddiskVolume3\\src", CHECK_BY_NAME},
                          Case{false, L"\\Device", CHECK_BY_NAME}, Case{false, L"\\DeviceX\\a", CHECK_BY_NAME},
                          Case{false, L"\\device\\harddiskvolume3\\src", CHECK_BY_NAME}, Case{false, L"", CHECK_BY_NAME},
                          Case{false, nullptr, CHECK_BY_NAME}}) {
        SCOPED_TRACE(testing::Message() << c.wineMark << " " << (c.name != nullptr ? Utf8(c.name) : "(none)"));
        int length = c.name != nullptr ? lstrlenW(c.name) : 0;
        EXPECT_EQ(ChooseEntryCheck(c.wineMark, c.name, length), c.check);
    }
    // Here, the platform's own check follows from what it names its folders.
    int length = 0;
    std::vector<char> names(OBJECT_NAME_BYTES);
    WCHAR system[MAX_PATH];
    UINT systemLength = GetSystemDirectoryW(system, MAX_PATH);
    HANDLE folder = OpenFolder(nullptr, system, static_cast<int>(systemLength));
    ASSERT_NE(folder, nullptr);
    const WCHAR* found = QueryObjectName(folder, names.data(), length);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(ResolveEntryCheck(CHECK_BY_PLATFORM), ChooseEntryCheck(HasWineLoaderMark(), found, length));
    EXPECT_EQ(ResolveEntryCheck(CHECK_BY_PLATFORM), driver::RunningUnderWine() ? CHECK_BY_NAME : CHECK_BY_ID);
    CloseObject(folder);
}

bool NoWineMark()
{
    return false;
}

// Plays a Wine build that hides its loader's export, for as long as it lives.
struct HiddenWineMark {
    HiddenWineMark() { g_wineMarkProbe = NoWineMark; }
    ~HiddenWineMark() { g_wineMarkProbe = HasWineLoaderMark; }
    HiddenWineMark(const HiddenWineMark&) = delete;
    HiddenWineMark& operator=(const HiddenWineMark&) = delete;
};

TEST(WindowsBranches, AWineThatHidesItsMarkIsStillCheckedByNameAndALinkOutKeepsItsTarget)
{
    if (!driver::RunningUnderWine())
        GTEST_SKIP() << "the fixture needs a Unix link, under Wine";
    // The tree with the link goes first, while what it leads to still exists.
    TempFolder outside, root;
    outside.MakeFile("target.obj");
    root.MakeFile("own.obj");
    ASSERT_TRUE(MakeUnixLink(outside / "target.obj", root.path(), "link.obj"));
    HiddenWineMark hidden;
    ASSERT_FALSE(g_wineMarkProbe());
    for (OptionFlags options : {OPT_CONFIRM, OptionFlags(0)}) {
        SCOPED_TRACE(options);
        Names asked = RunInProcess(root.path(), "*.obj", options);
        if (options & OPT_CONFIRM) {
            EXPECT_EQ(asked, Names{FileQuestion(root / "own.obj")});
        }
        EXPECT_EQ(outside.Files(), Names{"target.obj"});
        EXPECT_TRUE(IsListed(root.path(), "link.obj"));
        EXPECT_FALSE(root.Exists("own.obj"));
        root.MakeFile("own.obj");
    }
}

TEST(WindowsBranches, AStartFolderWithoutANameIsWalkedWhereEntriesAreCheckedById)
{
    struct Case { EntryCheck check; bool named; bool walked; };
    for (const Case& c : {Case{CHECK_BY_ID, true, true}, Case{CHECK_BY_ID, false, true},
                          Case{CHECK_BY_NAME, true, true}, Case{CHECK_BY_NAME, false, false}}) {
        SCOPED_TRACE(testing::Message() << c.check << " " << c.named);
        EXPECT_EQ(StartCanBeWalked(c.check, c.named), c.walked);
    }
    // A walk checked by id never needs the start folder's name: a record without one,
    // as when the system would not name it, still deletes what the patterns name.
    TempFolder root;
    for (const char* file : {"a.obj", "keep.c", "sub\\b.obj"})
        root.MakeFile(file);
    std::wstring start = Wide(root.path());
    HANDLE handle = OpenFolder(nullptr, start.c_str(), static_cast<int>(start.size()));
    ASSERT_NE(handle, nullptr);
    WalkedFolder* folder = MakeWalkedFolder(handle, nullptr, 0, start.c_str(), static_cast<int>(start.size()), L"", 0);
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->found, nullptr);
    std::wstring list = L"*.obj", patterns(list.size() + 1, L'\0');
    std::vector<char> batch(LISTING_BATCH_BYTES), names(OBJECT_NAME_BYTES);
    std::wstring last(MAX_PATH, L'\0');
    DeletionJob job = {};
    job.options = OPT_RECURSE;
    job.patterns = &patterns[0];
    job.patternCount = TakePatterns(&list[0], job.patterns, static_cast<int>(patterns.size()));
    job.batch = batch.data();
    job.nameBlock = names.data();
    job.lastFolder = &last[0];
    job.entryCheck = CHECK_BY_ID;
    g_cancelRequested = 0;
    WalkFolder(job, *folder);
    ReleaseFolder(folder);
    EXPECT_EQ(root.Files(), Names{"keep.c"});
}

TEST(WindowsBranches, IdsOfZeroAndMinusOneAreNoIdsAndAnOpenedObjectWithoutOneIsCheckedByName)
{
    struct Case { LONGLONG listed; bool given; LONGLONG opened; IdVerdict verdict; };
    for (const Case& c : {Case{5, true, 5, ID_SAME}, Case{5, true, 6, ID_OTHER}, Case{-2, true, -2, ID_SAME},
                          Case{5, true, 0, ID_NOT_GIVEN}, Case{5, true, -1, ID_NOT_GIVEN},
                          Case{5, false, 5, ID_NOT_GIVEN}, Case{0, true, 5, ID_NOT_LISTED},
                          Case{-1, true, 5, ID_NOT_LISTED}, Case{0, false, 0, ID_NOT_LISTED}}) {
        SCOPED_TRACE(testing::Message() << c.listed << " " << c.given << " " << c.opened);
        EXPECT_EQ(CompareFileIds(c.listed, c.given, c.opened), c.verdict);
    }
    for (LONGLONG id : {0LL, -1LL})
        EXPECT_FALSE(HasFileId(id)) << id;
    for (LONGLONG id : {1LL, -2LL, 0x7FFFFFFFFFFFFFFFLL})
        EXPECT_TRUE(HasFileId(id)) << id;
}

// The start folder `root` and its subfolders along `path`, opened and listed as the walk
// opens them; released as a chain.
class OpenedChain {
public:
    OpenedChain(const TempFolder& root, const std::vector<std::wstring>& path)
    {
        std::wstring start = Wide(root.path());
        HANDLE handle = OpenFolder(nullptr, start.c_str(), static_cast<int>(start.size()));
        int length = 0;
        const WCHAR* found = handle != nullptr ? QueryObjectName(handle, names_.data(), length) : nullptr;
        folders_.push_back(MakeWalkedFolder(handle, found, length, start.c_str(), static_cast<int>(start.size()), L"", 0));
        for (const std::wstring& name : path) {
            WalkedFolder* parent = folders_.back();
            if (parent == nullptr || !ListFolder(parent->handle, batch_.data(), parent->listing, false))
                return;
            FolderEntry* entry = parent->listing.first;
            for (int i = 0; i < parent->listing.count && name != std::wstring(entry->name, entry->length); ++i)
                entry = NextEntry(entry);
            HANDLE child = OpenFolder(parent->handle, name.c_str(), static_cast<int>(name.size()));
            folders_.push_back(child != nullptr ? MakeSubfolder(*parent, child, *entry) : nullptr);
        }
    }
    ~OpenedChain()
    {
        for (auto at = folders_.rbegin(); at != folders_.rend(); ++at)
            if (*at != nullptr)
                ReleaseFolder(*at);
    }
    OpenedChain(const OpenedChain&) = delete;
    OpenedChain& operator=(const OpenedChain&) = delete;

    bool whole(size_t count) const
    {
        for (WalkedFolder* folder : folders_)
            if (folder == nullptr)
                return false;
        return folders_.size() == count;
    }
    WalkedFolder& operator[](size_t at) { return *folders_[at]; }

private:
    std::vector<char> names_ = std::vector<char>(OBJECT_NAME_BYTES);
    std::vector<char> batch_ = std::vector<char>(LISTING_BATCH_BYTES);
    std::vector<WalkedFolder*> folders_;
};

TEST(WindowsBranches, AFolderWhoseVolumeAndIdAreAnAncestorsIsMetAgain)
{
    struct Case { FolderKey one, other; bool same; };
    for (const Case& c : {Case{{7, 42}, {7, 42}, true}, Case{{7, 42}, {8, 42}, false}, Case{{7, 42}, {7, 43}, false},
                          Case{{7, 0}, {7, 0}, false}, Case{{7, -1}, {7, -1}, false},
                          Case{{0, 42}, {0, 42}, true}, Case{{0xFFFFFFFF, 42}, {0x7FFFFFFF, 42}, false}}) {
        SCOPED_TRACE(testing::Message() << c.one.serial << ":" << c.one.id << " " << c.other.serial << ":"
                                        << c.other.id);
        EXPECT_EQ(IsSameFolder(c.one, c.other), c.same);
    }

    // A server that follows its own links shows a plain folder whose key is an
    // ancestor's; here the keys are given by hand to real folders of one volume.
    TempFolder root;
    root.MakeFolder("a\\b");
    OpenedChain chain(root, {L"a", L"b"});
    ASSERT_TRUE(chain.whole(3));
    for (size_t at = 0; at < 3; ++at)
        ASSERT_TRUE(HasFileId(chain[at].id)) << at;
    EXPECT_NE(chain[1].id, chain[0].id);
    EXPECT_FALSE(RepeatsAnAncestor(chain[1]));
    EXPECT_FALSE(RepeatsAnAncestor(chain[2]));
    ULONG serial = 0, other = 0;
    ASSERT_TRUE(FolderVolumeSerial(chain[0], serial));
    ASSERT_TRUE(FolderVolumeSerial(chain[2], other));
    EXPECT_EQ(serial, other);
    LONGLONG own = chain[2].id;
    chain[2].id = chain[0].id;
    EXPECT_TRUE(RepeatsAnAncestor(chain[2])) << "the start folder, two levels up";
    chain[2].id = chain[1].id;
    EXPECT_TRUE(RepeatsAnAncestor(chain[2])) << "its parent";
    chain[2].serial = serial + 1;
    EXPECT_FALSE(RepeatsAnAncestor(chain[2])) << "the same id on another volume";
    chain[2].serialKnown = false;
    EXPECT_TRUE(RepeatsAnAncestor(chain[2])) << "the same id where the volume is not known";
    chain[2].serialKnown = true;
    chain[2].serial = serial;
    for (LONGLONG none : {0LL, -1LL}) {
        chain[2].id = none;
        chain[0].id = none;
        EXPECT_FALSE(RepeatsAnAncestor(chain[2])) << "no id names no folder: " << none;
    }
    chain[2].id = own;
}

TEST(WindowsBranches, AFileSystemThatRefusesAKindOfRecordIsAskedForTheNext)
{
    struct Case { NTSTATUS result; bool first; BatchOutcome outcome; };
    for (const Case& c : {Case{INVALID_LEVEL, true, BATCH_REFUSED}, Case{INVALID_DEVICE_REQUEST, true, BATCH_REFUSED},
                          Case{INVALID_LEVEL, false, BATCH_FAILED}, Case{INVALID_DEVICE_REQUEST, false, BATCH_FAILED},
                          Case{ACCESS_DENIED, true, BATCH_FAILED}, Case{NO_MORE_FILES, true, BATCH_END},
                          Case{SUCCESS, true, BATCH_FILLED}}) {
        SCOPED_TRACE(testing::Message() << std::hex << c.result << (c.first ? " first" : " later"));
        EXPECT_EQ(BatchOutcomeOf(c.result, c.outcome == BATCH_FILLED ? 100 : 0, c.first), c.outcome);
    }
    // Ids first; FindFirstFile's own record last, which every file system offers.
    EXPECT_EQ(LISTING_LAYOUTS[LEVEL_ID_FULL].informationClass, FileIdFullDirectoryInformation);
    EXPECT_EQ(LISTING_LAYOUTS[LEVEL_COUNT - 1].informationClass, FileBothDirectoryInformation);
    EXPECT_NE(LISTING_LAYOUTS[LEVEL_ID_FULL].idOffset, 0u);
    EXPECT_NE(LISTING_LAYOUTS[LEVEL_ID_BOTH].idOffset, 0u);
    EXPECT_EQ(LISTING_LAYOUTS[LEVEL_FULL].idOffset, 0u);
    EXPECT_EQ(LISTING_LAYOUTS[LEVEL_BOTH].idOffset, 0u);

    // Each kind of record, read by its layout, gives the names and ids that the system has.
    TempFolder root;
    root.MakeFile("x.obj");
    root.MakeFile("\xE6\x97\xA5\xE6\x9C\xAC.c");
    HANDLE folder = OpenFolderForNames(root.path());
    ASSERT_NE(folder, nullptr);
    HANDLE file = OpenFileForDeletion(folder, L"x.obj", 5);
    LONGLONG id = 0;
    ASSERT_TRUE(QueryFileId(file, id));
    CloseObject(file);
    std::vector<char> batch(LISTING_BATCH_BYTES);
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        SCOPED_TRACE(level);
        ASSERT_EQ(ListFolderBatch(folder, batch.data(), LISTING_BATCH_BYTES, true, static_cast<ListingLevel>(level)),
                  BATCH_FILLED);
        const ListingLayout& layout = LISTING_LAYOUTS[level];
        std::vector<std::wstring> listed;
        for (char* record = batch.data();;) {
            auto* common = reinterpret_cast<FILE_FULL_DIR_INFORMATION*>(record);
            std::wstring name(reinterpret_cast<WCHAR*>(record + layout.nameOffset), common->FileNameLength / 2);
            if (name != L"." && name != L"..")
                listed.push_back(name);
            if (name == L"x.obj" && layout.idOffset != 0) {
                EXPECT_EQ(*reinterpret_cast<LONGLONG*>(record + layout.idOffset), id);
            }
            if (common->NextEntryOffset == 0)
                break;
            record += common->NextEntryOffset;
        }
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(listed, (std::vector<std::wstring>{L"x.obj", L"\u65e5\u672c.c"}));
    }
    CloseHandle(folder);
}

TEST(WindowsBranches, NoPosixDeletionIsRememberedForEachVolumeApart)
{
    // Serials no volume here has: a share that says it has no POSIX deletion leaves the
    // others asked.
    const ULONG share = 0xB5A11001, disk = 0xB5A11002;
    EXPECT_FALSE(KnowsNoPosixDeletion(share));
    NoteNoPosixDeletion(share);
    NoteNoPosixDeletion(share);
    EXPECT_TRUE(KnowsNoPosixDeletion(share));
    EXPECT_FALSE(KnowsNoPosixDeletion(disk));

    // A file on a volume known to lack it still goes, the classic way.
    TempFolder root;
    root.MakeFile("a.obj");
    HANDLE folder = OpenFolderForNames(root.path());
    ASSERT_NE(folder, nullptr);
    HANDLE file = OpenFileForDeletion(folder, L"a.obj", 5);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(MarkForDeletion(file, share));
    CloseObject(file);
    CloseHandle(folder);
    EXPECT_FALSE(root.Exists("a.obj"));
}

TEST(WindowsBranches, OnlyReparseFilesThatAreNotLinksGoThroughTheirFilter)
{
    const DWORD FILE = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT;
    const DWORD FOLDER = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    // Tags from the platform's ntifs.h.
    struct Case { DWORD attributes; DWORD tag; bool throughFilter; const char* what; };
    for (const Case& c : {Case{FILE_ATTRIBUTE_ARCHIVE, 0, false, "plain file"},
                          Case{FILE, 0xA000000C, false, "symbolic link"}, Case{FILE, 0xA0000003, false, "mount point"},
                          Case{FILE, 0xA000001D, false, "WSL link"}, Case{FILE, 0x9000001A, true, "cloud file"},
                          Case{FILE, 0x9000101A, true, "cloud file, another provider"},
                          Case{FILE, 0x80000013, true, "deduplicated"}, Case{FILE, 0xC0000004, true, "storage managed"},
                          Case{FILE, 0x80000017, true, "compacted (WOF)"}, Case{FILE, 0x90001018, true, "container layer"},
                          Case{FOLDER, 0x9000001A, false, "cloud folder"},
                          Case{FILE, 0, false, "a tag that the listing did not give"}}) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IsDataReparseFile(c.attributes, c.tag), c.throughFilter);
    }
}

TEST(WindowsBranches, FoldersAreOpenedWithTheRightToListAndNoOther)
{
    // "Read" in a folder's access list grants listing (and reading attributes, which
    // CreateFileW asks for with any start folder) but not traversal.
    TempFolder root;
    root.MakeFolder("sub");
    std::wstring start = Wide(root.path());
    HANDLE folder = OpenFolder(nullptr, start.c_str(), static_cast<int>(start.size()));
    ASSERT_NE(folder, nullptr);
    HANDLE sub = OpenFolder(folder, L"sub", 3);
    ASSERT_NE(sub, nullptr);
    const ACCESS_MASK LIST = FILE_LIST_DIRECTORY | SYNCHRONIZE;
    struct Case { HANDLE handle; ACCESS_MASK least, most; };
    for (const Case& c : {Case{folder, LIST, LIST | FILE_READ_ATTRIBUTES}, Case{sub, LIST, LIST}}) {
        PUBLIC_OBJECT_BASIC_INFORMATION information = {};
        ULONG returned = 0;
        ASSERT_EQ(NtQueryObject(c.handle, ObjectBasicInformation, &information, sizeof information, &returned),
                  SUCCESS);
        EXPECT_EQ(information.GrantedAccess & c.least, c.least) << std::hex << information.GrantedAccess;
        EXPECT_EQ(information.GrantedAccess & ~c.most, 0u) << std::hex << information.GrantedAccess;
        EXPECT_TRUE(IsOpenFolder(c.handle));
    }
    CloseObject(sub);
    CloseObject(folder);
    root.MakeFile("file");
    HANDLE file = CreateFileW((start + L"file").c_str(), FILE_READ_DATA | SYNCHRONIZE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(IsOpenFolder(file));
    CloseHandle(file);
}

TEST(WindowsBranches, WhileAFileIsAskedAboutNothingHoldsItAndOneHeldAfterYesIsPassedOverSilently)
{
    TempFolder root;
    for (const char* name : {"a.obj", "b.obj", "c.obj"})
        root.MakeFile(name);
    std::vector<std::string> openedAlone;
    HANDLE held = INVALID_HANDLE_VALUE;
    QuestionAnswerer answerer([&](const QuestionSeen& question) {
        if (question.caption == "Veuillez confirmer")
            return IDYES;
        for (const char* name : {"a.obj", "b.obj", "c.obj"}) {
            if (question.text != FileQuestion(root / name))
                continue;
            // Another program opens the file asked about, sharing nothing.
            HANDLE alone = CreateFileA((root / name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (alone != INVALID_HANDLE_VALUE)
                openedAlone.push_back(name);
            // It keeps b.obj (without delete sharing) past the answer, and lets go of the rest.
            if (std::string(name) == "b.obj" && alone != INVALID_HANDLE_VALUE)
                held = alone;
            else if (alone != INVALID_HANDLE_VALUE)
                CloseHandle(alone);
        }
        return IDYES;
    });
    RunDeletion(nullptr, Wide(root.path()).c_str(), L"*.obj", OPT_CONFIRM);
    if (held != INVALID_HANDLE_VALUE)
        CloseHandle(held);
    EXPECT_EQ(answerer.Texts(1), (Names{FileQuestion(root / "a.obj"), FileQuestion(root / "b.obj"),
                                        FileQuestion(root / "c.obj")}));
    EXPECT_EQ(openedAlone, (Names{"a.obj", "b.obj", "c.obj"})) << "the run held a file while asking about it";
    EXPECT_EQ(g_cancelRequested, 0);
    EXPECT_EQ(root.Files(), Names{"b.obj"});
    EXPECT_EQ(g_runProgress.filesDeleted, 2);
}

}  // namespace
