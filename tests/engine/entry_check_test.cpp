// How the walk tells that what it opened is the entry listed: the platform's choice, and
// each way with the real calls, on fixtures where both can be shown here.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "driver/app_driver.h"
#include "engine/entry_check.h"
#include "engine/folder_walk.h"
#include "engine/native_files.h"
#include "exact_names.h"
#include "support/temp_folder.h"
#include "support/unix_files.h"
#include "support/utf8.h"

namespace {

// The start folder opened and listed as the walk does, with the check chosen here.
class ListedStart {
public:
    ListedStart(const std::string& path, EntryCheck check)
    {
        std::wstring start = Wide(path);
        HANDLE handle = OpenFolder(nullptr, start.c_str(), static_cast<int>(start.size()));
        int length = 0;
        const WCHAR* found = handle != nullptr ? QueryObjectName(handle, names_.data(), length) : nullptr;
        if (found == nullptr)
            return;
        folder_ = MakeWalkedFolder(handle, found, length, start.c_str(), static_cast<int>(start.size()), L"", 0);
        folder_->check = check;
        listed_ = ListFolder(folder_->handle, batch_.data(), folder_->listing, check == CHECK_BY_NAME);
    }
    ~ListedStart()
    {
        if (folder_ != nullptr)
            ReleaseFolder(folder_);
    }
    ListedStart(const ListedStart&) = delete;
    ListedStart& operator=(const ListedStart&) = delete;

    bool listed() const { return folder_ != nullptr && listed_; }

    const FolderEntry* Entry(const std::wstring& name) const
    {
        FolderEntry* entry = folder_->listing.first;
        for (int i = 0; i < folder_->listing.count; ++i, entry = NextEntry(entry))
            if (name == std::wstring(entry->name, entry->length))
                return entry;
        return nullptr;
    }

    // True when the file `name`, opened for deletion, passes the folder's check.
    bool Passes(const std::wstring& name)
    {
        const FolderEntry* entry = Entry(name);
        if (entry == nullptr)
            return false;
        HANDLE file = OpenFileForDeletion(folder_->handle, name.c_str(), static_cast<int>(name.size()));
        bool passes = file != nullptr && IsListedEntry(*folder_, *entry, file, names_.data());
        CloseObject(file);
        return passes;
    }

private:
    std::vector<char> names_ = std::vector<char>(OBJECT_NAME_BYTES);
    std::vector<char> batch_ = std::vector<char>(LISTING_BATCH_BYTES);
    WalkedFolder* folder_ = nullptr;
    bool listed_ = false;
};

TEST(EntryCheck, WineIsToldByItsLoadersMarkAndChecksByNameWindowsByFileId)
{
    struct Case { bool wineLoader; EntryCheck check; };
    for (const Case& c : {Case{true, CHECK_BY_NAME}, Case{false, CHECK_BY_ID}}) {
        SCOPED_TRACE(c.wineLoader);
        EXPECT_EQ(ChooseEntryCheck(c.wineLoader), c.check);
    }
    // Wine's kernel32 carries a mark of its own, apart from the one the program looks for.
    bool wineKernel = GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name") != nullptr;
    EXPECT_EQ(HasWineLoaderMark(), wineKernel);
    EXPECT_EQ(ResolveEntryCheck(CHECK_BY_PLATFORM), wineKernel ? CHECK_BY_NAME : CHECK_BY_ID);
    // A walk told which check to make makes that one.
    EXPECT_EQ(ResolveEntryCheck(CHECK_BY_NAME), CHECK_BY_NAME);
    EXPECT_EQ(ResolveEntryCheck(CHECK_BY_ID), CHECK_BY_ID);
}

TEST(EntryCheck, UnderWineOnlyTheNameTellsALinkFromItsTarget)
{
    if (!driver::RunningUnderWine())
        GTEST_SKIP() << "the fixture needs a Unix link, under Wine";
    TempFolder root, outside;
    std::string target = outside.MakeFile("target.obj");
    ASSERT_TRUE(MakeUnixLink(target, root.path(), "link.obj"));
    // Opened, even without following links, the link is its target, and the listing
    // gives it the target's id: an id check passes it.
    ListedStart byId(root.path(), CHECK_BY_ID);
    ASSERT_TRUE(byId.listed());
    ASSERT_NE(byId.Entry(L"link.obj"), nullptr);
    HANDLE targetHandle = OpenFolderForNames(outside.path());
    ASSERT_NE(targetHandle, nullptr);
    HANDLE opened = OpenFileForDeletion(targetHandle, L"target.obj", 10);
    LONGLONG targetId = 0;
    EXPECT_TRUE(QueryFileId(opened, targetId));
    CloseObject(opened);
    CloseHandle(targetHandle);
    EXPECT_EQ(byId.Entry(L"link.obj")->id, targetId);
    EXPECT_TRUE(byId.Passes(L"link.obj"));
    // The name the link's handle is reported under is the target's.
    ListedStart byName(root.path(), CHECK_BY_NAME);
    ASSERT_TRUE(byName.listed());
    EXPECT_FALSE(byName.Passes(L"link.obj"));
}

TEST(EntryCheck, AFileReplacedAfterTheListingFailsTheIdCheckButNotTheNameCheck)
{
    TempFolder root;
    root.MakeFile("kept.obj");
    root.MakeFile("replaced.obj");
    ListedStart byId(root.path(), CHECK_BY_ID);
    ListedStart byName(root.path(), CHECK_BY_NAME);
    ASSERT_TRUE(byId.listed());
    ASSERT_TRUE(byName.listed());
    // Made while the old one still exists, so that it cannot take over the old one's id.
    std::string newer = root.MakeFile("newer.tmp");
    ASSERT_TRUE(MoveFileExW(Wide(newer).c_str(), Wide(root / "replaced.obj").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_TRUE(byId.Passes(L"kept.obj"));
    EXPECT_FALSE(byId.Passes(L"replaced.obj"));
    EXPECT_TRUE(byName.Passes(L"kept.obj"));
    EXPECT_TRUE(byName.Passes(L"replaced.obj"));
}

TEST(EntryCheck, NamesakesButForATrailingTailAreMarkedOnlyWhereNamesAreCheckedByName)
{
    TempFolder root;
    struct Case { const wchar_t* name; bool ambiguous; };
    const std::vector<Case> cases = {
        {L"a", true}, {L"a.", true}, {L"a. .", true}, {L"b ", true}, {L"b", true}, {L"...", true},
        {L"f.g", true}, {L"f.g.", true}, {L"c.", false}, {L"d", false}, {L"E.", false}, {L"e", false},
        {L"f.g.h", false}, {L"f", false}};
    for (const Case& c : cases)
        ASSERT_TRUE(MakeExactEntry(root.path(), c.name)) << Utf8(c.name);
    for (EntryCheck check : {CHECK_BY_NAME, CHECK_BY_ID}) {
        SCOPED_TRACE(check);
        ListedStart start(root.path(), check);
        ASSERT_TRUE(start.listed());
        for (const Case& c : cases) {
            SCOPED_TRACE(Utf8(c.name));
            const FolderEntry* entry = start.Entry(c.name);
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ((entry->flags & ENTRY_AMBIGUOUS) != 0, check == CHECK_BY_NAME && c.ambiguous);
        }
    }
}

}  // namespace
