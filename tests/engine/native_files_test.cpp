// The native calls under the walk, against the real file system: what ends a listing, how
// handles are opened, and how a file is marked for deletion.
#include <gtest/gtest.h>
#include <windows.h>
#include <winternl.h>

#include <string>
#include <vector>

#include "engine/folder_listing.h"
#include "engine/native_files.h"
#include "exact_names.h"
#include "support/temp_folder.h"
#include "support/utf8.h"

namespace {

// Statuses as the platform's ntstatus.h gives them.
const NTSTATUS SUCCESS = 0;
const NTSTATUS PENDING = 0x103;
const NTSTATUS BUFFER_OVERFLOW = static_cast<NTSTATUS>(0x80000005);
const NTSTATUS NO_MORE_FILES = static_cast<NTSTATUS>(0x80000006);
const NTSTATUS NOT_IMPLEMENTED = static_cast<NTSTATUS>(0xC0000002);
const NTSTATUS INVALID_INFO_CLASS = static_cast<NTSTATUS>(0xC0000003);
const NTSTATUS INVALID_PARAMETER = static_cast<NTSTATUS>(0xC000000D);
const NTSTATUS NO_SUCH_FILE = static_cast<NTSTATUS>(0xC000000F);
const NTSTATUS ACCESS_DENIED = static_cast<NTSTATUS>(0xC0000022);
const NTSTATUS NOT_SUPPORTED = static_cast<NTSTATUS>(0xC00000BB);
const NTSTATUS CANNOT_DELETE = static_cast<NTSTATUS>(0xC0000121);
const NTSTATUS UNEXPECTED_NETWORK_ERROR = static_cast<NTSTATUS>(0xC00000C4);

TEST(NativeFiles, AListingEndsOnlyWhenTheSystemSaysThatNoEntryIsLeft)
{
    struct Case { NTSTATUS result; ULONG_PTR written; bool first; BatchOutcome outcome; };
    for (const Case& c : {Case{SUCCESS, 200, true, BATCH_FILLED}, Case{SUCCESS, 200, false, BATCH_FILLED},
                          Case{NO_MORE_FILES, 0, false, BATCH_END}, Case{NO_MORE_FILES, 0, true, BATCH_END},
                          // A folder without "." and ".." (a drive's root) and without entries.
                          Case{NO_SUCH_FILE, 0, true, BATCH_END}, Case{NO_SUCH_FILE, 0, false, BATCH_FAILED},
                          Case{SUCCESS, 0, false, BATCH_FAILED}, Case{PENDING, 0, false, BATCH_FAILED},
                          Case{BUFFER_OVERFLOW, 100, false, BATCH_FAILED},
                          Case{UNEXPECTED_NETWORK_ERROR, 0, false, BATCH_FAILED},
                          Case{ACCESS_DENIED, 0, true, BATCH_FAILED},
                          // A file system that keeps no ids refuses their records at once.
                          Case{INVALID_INFO_CLASS, 0, true, BATCH_REFUSED}, Case{NOT_SUPPORTED, 0, true, BATCH_REFUSED},
                          Case{INVALID_PARAMETER, 0, true, BATCH_REFUSED},
                          Case{INVALID_INFO_CLASS, 0, false, BATCH_FAILED}, Case{INVALID_PARAMETER, 0, false, BATCH_FAILED}}) {
        SCOPED_TRACE(testing::Message() << std::hex << c.result << (c.first ? " first" : " later"));
        EXPECT_EQ(BatchOutcomeOf(c.result, c.written, c.first), c.outcome);
    }
}

TEST(NativeFiles, AFolderThatCannotBeListedIsNotTakenForAnEmptyOne)
{
    TempFolder root;
    root.MakeFolder("empty");
    std::string file = root.MakeFile("a.obj");
    std::vector<char> batch(LISTING_BATCH_BYTES);
    FolderListing listing;

    HANDLE empty = OpenFolderForNames(root / "empty");
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(ListFolder(empty, batch.data(), listing, true));
    EXPECT_EQ(listing.count, 0);
    ReleaseListing(listing);
    CloseHandle(empty);

    // A file is no folder: the system refuses to list it, with ids or without.
    HANDLE notAFolder = CreateFileW(Wide(file).c_str(), GENERIC_READ | SYNCHRONIZE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(notAFolder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ListFolder(notAFolder, batch.data(), listing, true));
    EXPECT_EQ(listing.count, 0);
    CloseHandle(notAFolder);
}

TEST(NativeFiles, EveryHandleIsOpenedForSynchronousIo)
{
    TempFolder root;
    root.MakeFile("sub\\a.obj");
    std::wstring start = Wide(root.path());
    HANDLE folder = OpenFolder(nullptr, start.c_str(), static_cast<int>(start.size()));
    ASSERT_NE(folder, nullptr);
    HANDLE sub = OpenFolder(folder, L"sub", 3);
    ASSERT_NE(sub, nullptr);
    HANDLE file = OpenFileForDeletion(sub, L"a.obj", 5);
    ASSERT_NE(file, nullptr);
    for (HANDLE handle : {folder, sub, file}) {
        IO_STATUS_BLOCK status;
        ULONG mode = 0;
        ASSERT_EQ(NtQueryInformationFile(handle, &status, &mode, sizeof mode, FileModeInformation),
                  SUCCESS);
        EXPECT_TRUE(mode & FILE_SYNCHRONOUS_IO_NONALERT) << "mode " << std::hex << mode;
    }
    for (HANDLE handle : {file, sub, folder})
        CloseObject(handle);
}

TEST(NativeFiles, PosixDeletionIsAskedForUntilTheSystemSaysItHasNone)
{
    struct Case { NTSTATUS result; PosixDeletion outcome; };
    for (const Case& c : {Case{SUCCESS, POSIX_DONE},
                          // Wine 8; Windows before 10 1709.
                          Case{NOT_IMPLEMENTED, POSIX_UNKNOWN_TO_SYSTEM}, Case{INVALID_INFO_CLASS, POSIX_UNKNOWN_TO_SYSTEM},
                          // A file system without POSIX semantics, and what the classic way says again.
                          Case{INVALID_PARAMETER, POSIX_REFUSED}, Case{NOT_SUPPORTED, POSIX_REFUSED},
                          Case{CANNOT_DELETE, POSIX_REFUSED}, Case{ACCESS_DENIED, POSIX_REFUSED}}) {
        SCOPED_TRACE(testing::Message() << std::hex << c.result);
        EXPECT_EQ(PosixDeletionOutcome(c.result), c.outcome);
    }
}

TEST(NativeFiles, AFileHeldWithDeleteSharingGoesAndAReadOnlyOneStays)
{
    TempFolder root;
    std::string held = root.MakeFile("held.obj");
    root.MakeFile("read-only.obj");
    root.SetAttributes("read-only.obj", FILE_ATTRIBUTE_READONLY);
    HANDLE other = CreateFileW(Wide(held).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    HANDLE folder = OpenFolderForNames(root.path());
    ASSERT_NE(folder, nullptr);

    HANDLE file = OpenFileForDeletion(folder, L"held.obj", 8);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(MarkForDeletion(file));
    CloseObject(file);
    // With POSIX semantics the name is gone already; the classic way keeps it, delete
    // pending, until the other program lets go of the file. Either way it goes.
    CloseHandle(other);
    EXPECT_FALSE(root.Exists("held.obj"));

    file = OpenFileForDeletion(folder, L"read-only.obj", 13);
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(MarkForDeletion(file));
    CloseObject(file);
    EXPECT_TRUE(root.Exists("read-only.obj"));
    root.SetAttributes("read-only.obj", FILE_ATTRIBUTE_NORMAL);
    CloseHandle(folder);
}

}  // namespace
