#include "engine/native_files.h"

// Declared here: mingw's user-mode headers leave these out.
extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE file, HANDLE event, PVOID apcRoutine, PVOID apcContext,
                                               PIO_STATUS_BLOCK status, PVOID buffer, ULONG length,
                                               FILE_INFORMATION_CLASS informationClass, BOOLEAN singleEntry,
                                               PUNICODE_STRING fileName, BOOLEAN restartScan);

namespace {

constexpr ULONG SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The statuses told apart here, from the platform's ntstatus.h (which clashes with the
// user-mode headers).
constexpr NTSTATUS NO_MORE_FILES = static_cast<NTSTATUS>(0x80000006);
constexpr NTSTATUS NO_SUCH_FILE = static_cast<NTSTATUS>(0xC000000F);
constexpr NTSTATUS NOT_IMPLEMENTED = static_cast<NTSTATUS>(0xC0000002);
constexpr NTSTATUS INVALID_INFO_CLASS = static_cast<NTSTATUS>(0xC0000003);
constexpr NTSTATUS INVALID_PARAMETER = static_cast<NTSTATUS>(0xC000000D);
constexpr NTSTATUS NOT_SUPPORTED = static_cast<NTSTATUS>(0xC00000BB);
constexpr NTSTATUS INVALID_LEVEL = static_cast<NTSTATUS>(0xC0000148);
constexpr NTSTATUS INVALID_DEVICE_REQUEST = static_cast<NTSTATUS>(0xC0000010);
constexpr NTSTATUS PENDING = static_cast<NTSTATUS>(0x00000103);

// The request and its flags, from the platform's kernel-mode headers. mingw's list of
// information classes ends before it, so the call is made through a prototype that takes
// the class as the number it is.
constexpr ULONG FILE_DISPOSITION_INFORMATION_EX_CLASS = 64;
constexpr ULONG DISPOSITION_DELETE = 0x1;
constexpr ULONG DISPOSITION_POSIX_SEMANTICS = 0x2;

typedef NTSTATUS(NTAPI* SetInformationCall)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, ULONG);
const SetInformationCall SetInformationByNumber =
    reinterpret_cast<SetInformationCall>(reinterpret_cast<void (*)()>(&NtSetInformationFile));

// The volumes that have said that they know no POSIX-semantics deletion (Wine 8, Windows
// before 10 1709, file systems that refuse the request itself): each slot holds a serial
// number with bit 32 set, or 0 while free. Files on them go the classic way at once.
constexpr int REMEMBERED_VOLUMES = 16;
volatile LONG64 g_noPosixVolumes[REMEMBERED_VOLUMES];
constexpr LONG64 SLOT_USED = LONG64(1) << 32;

// The reparse tags with this bit are links of one kind or another (mount points,
// junctions, symbolic and WSL links): IsReparseTagNameSurrogate in the platform's headers.
constexpr DWORD NAME_SURROGATE_BIT = 0x20000000;

// File-system redirection belongs to the 32-bit program on 64-bit Windows, and to its
// calling thread: it is turned off around each open only, as the platform advises, so
// that a library that the thread loads meanwhile still comes from the right folder.
class RedirectionOff {
public:
#ifdef _WIN64
    RedirectionOff() {}
#else
    RedirectionOff() : off_(Wow64DisableWow64FsRedirection(&previous_)) {}
    ~RedirectionOff()
    {
        if (off_)
            Wow64RevertWow64FsRedirection(previous_);
    }

private:
    PVOID previous_ = nullptr;
    BOOL off_;
#endif
};

HANDLE OpenRelative(HANDLE folder, const WCHAR* name, int length, ACCESS_MASK access, ULONG options)
{
    if (length <= 0 || length > 0x7FFF)
        return nullptr;
    UNICODE_STRING text;
    text.Buffer = const_cast<WCHAR*>(name);
    text.Length = static_cast<USHORT>(length * sizeof(WCHAR));
    text.MaximumLength = text.Length;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, 0, folder, nullptr);
    IO_STATUS_BLOCK status;
    HANDLE handle = nullptr;
    RedirectionOff redirection;
    NTSTATUS result = NtCreateFile(&handle, access | SYNCHRONIZE, &attributes, &status, nullptr, 0, SHARE_ALL,
                                   FILE_OPEN, options | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    return NT_SUCCESS(result) ? handle : nullptr;
}

}  // namespace

HANDLE OpenFolder(HANDLE folder, const WCHAR* name, int length)
{
    constexpr ACCESS_MASK ACCESS = FILE_LIST_DIRECTORY;
    if (folder == nullptr) {
        // Without FILE_FLAG_OVERLAPPED the handle is a synchronous one.
        RedirectionOff redirection;
        HANDLE handle = CreateFileW(name, ACCESS | SYNCHRONIZE, SHARE_ALL, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
    }
    return OpenRelative(folder, name, length, ACCESS,
                        FILE_DIRECTORY_FILE | FILE_OPEN_FOR_BACKUP_INTENT | FILE_OPEN_REPARSE_POINT);
}

bool IsOpenFolder(HANDLE handle)
{
    IO_STATUS_BLOCK status;
    FILE_STANDARD_INFORMATION information = {};
    return NT_SUCCESS(NtQueryInformationFile(handle, &status, &information, sizeof information,
                                             FileStandardInformation)) &&
           information.Directory;
}

HANDLE OpenFileForDeletion(HANDLE folder, const WCHAR* name, int length)
{
    return OpenRelative(folder, name, length, DELETE, FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT);
}

bool IsDataReparseFile(DWORD attributes, DWORD tag)
{
    // No tag is 0: a listing that gave none leaves the file to go as the entry itself.
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) && !(attributes & FILE_ATTRIBUTE_DIRECTORY) && tag != 0 &&
           !(tag & NAME_SURROGATE_BIT);
}

HANDLE OpenFileThroughFilter(HANDLE folder, const WCHAR* name, int length)
{
    return OpenRelative(folder, name, length, DELETE, FILE_NON_DIRECTORY_FILE);
}

BatchOutcome BatchOutcomeOf(NTSTATUS result, ULONG_PTR information, bool first)
{
    if (result == NO_MORE_FILES || (first && result == NO_SUCH_FILE))
        return BATCH_END;
    if (NT_SUCCESS(result) && result != PENDING && information > 0)
        return BATCH_FILLED;
    // What file systems and redirectors answer for a class they do not offer.
    if (first && (result == INVALID_INFO_CLASS || result == NOT_IMPLEMENTED || result == NOT_SUPPORTED ||
                  result == INVALID_PARAMETER || result == INVALID_LEVEL || result == INVALID_DEVICE_REQUEST))
        return BATCH_REFUSED;
    return BATCH_FAILED;
}

const ListingLayout LISTING_LAYOUTS[LEVEL_COUNT] = {
    {FileIdFullDirectoryInformation, offsetof(FILE_ID_FULL_DIR_INFORMATION, FileId),
     offsetof(FILE_ID_FULL_DIR_INFORMATION, FileName)},
    {FileIdBothDirectoryInformation, offsetof(FILE_ID_BOTH_DIR_INFORMATION, FileId),
     offsetof(FILE_ID_BOTH_DIR_INFORMATION, FileName)},
    {FileFullDirectoryInformation, 0, offsetof(FILE_FULL_DIR_INFORMATION, FileName)},
    {FileBothDirectoryInformation, 0, offsetof(FILE_BOTH_DIR_INFORMATION, FileName)},
};

BatchOutcome ListFolderBatch(HANDLE folder, void* buffer, ULONG bytes, bool restart, ListingLevel level)
{
    IO_STATUS_BLOCK status = {};
    NTSTATUS result = NtQueryDirectoryFile(folder, nullptr, nullptr, nullptr, &status, buffer, bytes,
                                           LISTING_LAYOUTS[level].informationClass, FALSE, nullptr,
                                           restart ? TRUE : FALSE);
    // Only a handle opened for asynchronous I/O answers so; its status block is written
    // when the call has ended.
    if (result == PENDING && WaitForSingleObject(folder, INFINITE) == WAIT_OBJECT_0)
        result = status.Status;
    return BatchOutcomeOf(result, status.Information, restart);
}

bool QueryFileId(HANDLE handle, LONGLONG& id)
{
    IO_STATUS_BLOCK status;
    FILE_INTERNAL_INFORMATION information = {};
    if (!NT_SUCCESS(NtQueryInformationFile(handle, &status, &information, sizeof information,
                                           FileInternalInformation)))
        return false;
    id = information.IndexNumber.QuadPart;
    return true;
}

bool QueryVolumeSerial(HANDLE handle, ULONG& serial)
{
    IO_STATUS_BLOCK status;
    // Room for the record and a label of the longest length a volume may have.
    BYTE block[sizeof(FILE_FS_VOLUME_INFORMATION) + 64 * sizeof(WCHAR)];
    NTSTATUS result = NtQueryVolumeInformationFile(handle, &status, block, sizeof block, FileFsVolumeInformation);
    // A label longer still leaves the record whole, with BUFFER_OVERFLOW.
    if (!NT_SUCCESS(result) && result != static_cast<NTSTATUS>(0x80000005))
        return false;
    serial = reinterpret_cast<FILE_FS_VOLUME_INFORMATION*>(block)->VolumeSerialNumber;
    return true;
}

const WCHAR* QueryObjectName(HANDLE handle, void* block, int& length)
{
    ULONG returned = 0;
    NTSTATUS result = NtQueryObject(handle, ObjectNameInformation,
                                    block, OBJECT_NAME_BYTES, &returned);
    if (!NT_SUCCESS(result))
        return nullptr;
    auto* name = static_cast<OBJECT_NAME_INFORMATION*>(block);
    if (name->Name.Buffer == nullptr)
        return nullptr;
    length = name->Name.Length / static_cast<int>(sizeof(WCHAR));
    return name->Name.Buffer;
}

PosixDeletion PosixDeletionOutcome(NTSTATUS result)
{
    if (NT_SUCCESS(result))
        return POSIX_DONE;
    // Wine 8 has no such request; Windows before 10 1709 knows no such class.
    if (result == NOT_IMPLEMENTED || result == INVALID_INFO_CLASS)
        return POSIX_UNKNOWN_TO_SYSTEM;
    // A file system without POSIX semantics (FAT, many network ones) refuses the request;
    // a read-only file is refused either way, and the classic request says so again.
    return POSIX_REFUSED;
}

bool KnowsNoPosixDeletion(ULONG volumeSerial)
{
    for (volatile LONG64& slot : g_noPosixVolumes) {
        LONG64 held = InterlockedCompareExchange64(&slot, 0, 0);
        if (held == 0)
            return false;
        if (held == (SLOT_USED | volumeSerial))
            return true;
    }
    return false;
}

void NoteNoPosixDeletion(ULONG volumeSerial)
{
    for (volatile LONG64& slot : g_noPosixVolumes) {
        LONG64 held = InterlockedCompareExchange64(&slot, SLOT_USED | volumeSerial, 0);
        if (held == 0 || held == (SLOT_USED | volumeSerial))
            return;
    }
}

namespace {

// The platform's own deletion: POSIX semantics unless the volume is known not to offer
// them, then the classic request. `volumeSerial` null when the volume is not known.
bool Mark(HANDLE handle, const ULONG* volumeSerial)
{
    IO_STATUS_BLOCK status;
    if (volumeSerial == nullptr || !KnowsNoPosixDeletion(*volumeSerial)) {
        FILE_DISPOSITION_INFORMATION_EX_RECORD disposition = {DISPOSITION_DELETE | DISPOSITION_POSIX_SEMANTICS};
        switch (PosixDeletionOutcome(SetInformationByNumber(handle, &status, &disposition, sizeof disposition,
                                                            FILE_DISPOSITION_INFORMATION_EX_CLASS))) {
        case POSIX_DONE:
            return true;
        case POSIX_UNKNOWN_TO_SYSTEM:
            if (volumeSerial != nullptr)
                NoteNoPosixDeletion(*volumeSerial);
            break;
        case POSIX_REFUSED:
            break;
        }
    }
    FILE_DISPOSITION_INFORMATION disposition = {TRUE};
    return NT_SUCCESS(NtSetInformationFile(handle, &status, &disposition, sizeof disposition,
                                           FileDispositionInformation));
}

}  // namespace

bool MarkForDeletion(HANDLE handle, ULONG volumeSerial)
{
    return Mark(handle, &volumeSerial);
}

bool MarkForDeletion(HANDLE handle)
{
    return Mark(handle, nullptr);
}

void CloseObject(HANDLE handle)
{
    if (handle != nullptr)
        NtClose(handle);
}
