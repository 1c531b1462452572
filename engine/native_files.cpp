#include "engine/native_files.h"

#include <winternl.h>

// Declared here: mingw's user-mode headers leave these out.
extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE file, HANDLE event, PVOID apcRoutine, PVOID apcContext,
                                               PIO_STATUS_BLOCK status, PVOID buffer, ULONG length,
                                               FILE_INFORMATION_CLASS informationClass, BOOLEAN singleEntry,
                                               PUNICODE_STRING fileName, BOOLEAN restartScan);

namespace {

constexpr ULONG SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

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
    NTSTATUS result = NtCreateFile(&handle, access, &attributes, &status, nullptr, 0, SHARE_ALL, FILE_OPEN,
                                   options, nullptr, 0);
    return NT_SUCCESS(result) ? handle : nullptr;
}

}  // namespace

HANDLE OpenFolder(HANDLE folder, const WCHAR* name, int length)
{
    constexpr ACCESS_MASK ACCESS = FILE_LIST_DIRECTORY | FILE_TRAVERSE | SYNCHRONIZE;
    if (folder == nullptr) {
        HANDLE handle = CreateFileW(name, ACCESS, SHARE_ALL, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                    nullptr);
        return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
    }
    return OpenRelative(folder, name, length, ACCESS,
                        FILE_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_REPARSE_POINT |
                            FILE_OPEN_FOR_BACKUP_INTENT);
}

HANDLE OpenFileForDeletion(HANDLE folder, const WCHAR* name, int length)
{
    return OpenRelative(folder, name, length, DELETE, FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT);
}

bool ListFolderBatch(HANDLE folder, void* buffer, ULONG bytes, bool restart)
{
    IO_STATUS_BLOCK status;
    NTSTATUS result = NtQueryDirectoryFile(folder, nullptr, nullptr, nullptr, &status, buffer, bytes,
                                           FileDirectoryInformation, FALSE, nullptr, restart ? TRUE : FALSE);
    return NT_SUCCESS(result) && status.Information > 0;
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

bool MarkForDeletion(HANDLE handle)
{
    IO_STATUS_BLOCK status;
    FILE_DISPOSITION_INFORMATION disposition = {TRUE};
    return NT_SUCCESS(NtSetInformationFile(handle, &status, &disposition, sizeof disposition,
                                           FileDispositionInformation));
}

void CloseObject(HANDLE handle)
{
    if (handle != nullptr)
        NtClose(handle);
}
