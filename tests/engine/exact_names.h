// Entries made, listed and removed by NT calls relative to their folder's handle, which
// take a name as it is, on Windows and under Wine alike: names that a Win32 path would
// alter on the way ("x.obj." loses its dot), and trees deeper than a path should name.
#ifndef BRUMIX_TESTS_ENGINE_EXACT_NAMES_H
#define BRUMIX_TESTS_ENGINE_EXACT_NAMES_H

#include <windows.h>
#include <winternl.h>

#include <string>
#include <vector>

#include "support/utf8.h"

extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE file, HANDLE event, PVOID apcRoutine, PVOID apcContext,
                                               PIO_STATUS_BLOCK status, PVOID buffer, ULONG length,
                                               FILE_INFORMATION_CLASS informationClass, BOOLEAN singleEntry,
                                               PUNICODE_STRING fileName, BOOLEAN restartScan);

// Opens `folder` (a full path, UTF-8) for the relative calls below; null when it cannot.
inline HANDLE OpenFolderForNames(const std::string& folder)
{
    HANDLE handle = CreateFileW((L"\\\\?\\" + Wide(folder)).c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | SYNCHRONIZE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

// Opens or makes (`disposition`) the entry `name` of the folder `parent`; null when it cannot.
inline HANDLE OpenExact(HANDLE parent, const std::wstring& name, bool folder, ULONG disposition,
                        ACCESS_MASK access, ULONG options = 0)
{
    UNICODE_STRING text;
    text.Buffer = const_cast<WCHAR*>(name.c_str());
    text.Length = text.MaximumLength = static_cast<USHORT>(name.size() * sizeof(WCHAR));
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, 0, parent, nullptr);
    IO_STATUS_BLOCK status;
    HANDLE handle = nullptr;
    options |= FILE_SYNCHRONOUS_IO_NONALERT | (folder ? FILE_DIRECTORY_FILE : FILE_NON_DIRECTORY_FILE);
    NTSTATUS result = NtCreateFile(&handle, access | SYNCHRONIZE, &attributes, &status, nullptr, 0,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, disposition, options,
                                   nullptr, 0);
    return NT_SUCCESS(result) ? handle : nullptr;
}

// Makes the file or folder `name` in `parent` under exactly that name; true when made.
inline bool MakeExactEntry(HANDLE parent, const std::wstring& name, bool folder = false)
{
    HANDLE made = OpenExact(parent, name, folder, FILE_CREATE, folder ? FILE_LIST_DIRECTORY : GENERIC_WRITE);
    if (made != nullptr)
        NtClose(made);
    return made != nullptr;
}

inline bool MakeExactEntry(const std::string& folder, const std::wstring& name, bool asFolder = false)
{
    HANDLE parent = OpenFolderForNames(folder);
    bool made = parent != nullptr && MakeExactEntry(parent, name, asFolder);
    if (parent != nullptr)
        CloseHandle(parent);
    return made;
}

// The names of the entries of the folder `folder`, "." and ".." left out.
inline std::vector<std::wstring> ListExact(HANDLE folder)
{
    std::vector<std::wstring> names;
    std::vector<char> batch(64 * 1024);
    IO_STATUS_BLOCK status;
    for (BOOLEAN restart = TRUE;
         NT_SUCCESS(NtQueryDirectoryFile(folder, nullptr, nullptr, nullptr, &status, batch.data(),
                                         static_cast<ULONG>(batch.size()), FileNamesInformation, FALSE, nullptr,
                                         restart));
         restart = FALSE) {
        for (auto* record = reinterpret_cast<FILE_NAMES_INFORMATION*>(batch.data());;
             record = reinterpret_cast<FILE_NAMES_INFORMATION*>(reinterpret_cast<char*>(record) +
                                                                record->NextEntryOffset)) {
            std::wstring name(record->FileName, record->FileNameLength / sizeof(WCHAR));
            if (name != L"." && name != L"..")
                names.push_back(name);
            if (record->NextEntryOffset == 0)
                break;
        }
    }
    return names;
}

// Removes the entry `name` of `parent` (a folder must be empty); true when it went.
inline bool RemoveExact(HANDLE parent, const std::wstring& name, bool folder)
{
    HANDLE handle = OpenExact(parent, name, folder, FILE_OPEN, DELETE, FILE_DELETE_ON_CLOSE | FILE_OPEN_REPARSE_POINT);
    if (handle != nullptr)
        NtClose(handle);
    return handle != nullptr;
}

#endif
