// The NT records that the engine hands to the system or reads from it, each held to its
// documented layout (MS-FSCC, ntifs.h, wdm.h) at compile time, for the build being made:
// both builds compile this, so a layout that only the 32-bit program would get wrong
// stops its build here, where no 32-bit program can run to show it.
#ifndef BRUMIX_NT_RECORDS_H
#define BRUMIX_NT_RECORDS_H

#include <windows.h>
#include <winternl.h>

#include <cstddef>

// FileDispositionInformationEx (class 64), which mingw's headers leave out.
struct FILE_DISPOSITION_INFORMATION_EX_RECORD {
    ULONG Flags;
};

namespace nt_layout {

#ifdef _WIN64
constexpr size_t POINTER = 8;
#else
constexpr size_t POINTER = 4;
#endif

// Pointer-sized fields and what follows them move with the architecture.
static_assert(sizeof(void*) == POINTER, "a pointer is 4 bytes in the 32-bit build and 8 in the 64-bit one");
static_assert(sizeof(IO_STATUS_BLOCK) == 2 * POINTER, "IO_STATUS_BLOCK");
static_assert(offsetof(IO_STATUS_BLOCK, Status) == 0, "IO_STATUS_BLOCK.Status");
static_assert(offsetof(IO_STATUS_BLOCK, Information) == POINTER, "IO_STATUS_BLOCK.Information");
static_assert(sizeof(UNICODE_STRING) == 2 * POINTER, "UNICODE_STRING");
static_assert(offsetof(UNICODE_STRING, Length) == 0, "UNICODE_STRING.Length");
static_assert(offsetof(UNICODE_STRING, MaximumLength) == 2, "UNICODE_STRING.MaximumLength");
static_assert(offsetof(UNICODE_STRING, Buffer) == POINTER, "UNICODE_STRING.Buffer");
static_assert(sizeof(OBJECT_NAME_INFORMATION) == 2 * POINTER, "OBJECT_NAME_INFORMATION");
static_assert(offsetof(OBJECT_NAME_INFORMATION, Name) == 0, "OBJECT_NAME_INFORMATION.Name");
static_assert(sizeof(OBJECT_ATTRIBUTES) == 6 * POINTER, "OBJECT_ATTRIBUTES");
static_assert(offsetof(OBJECT_ATTRIBUTES, Length) == 0, "OBJECT_ATTRIBUTES.Length");
static_assert(offsetof(OBJECT_ATTRIBUTES, RootDirectory) == POINTER, "OBJECT_ATTRIBUTES.RootDirectory");
static_assert(offsetof(OBJECT_ATTRIBUTES, ObjectName) == 2 * POINTER, "OBJECT_ATTRIBUTES.ObjectName");
static_assert(offsetof(OBJECT_ATTRIBUTES, Attributes) == 3 * POINTER, "OBJECT_ATTRIBUTES.Attributes");
static_assert(offsetof(OBJECT_ATTRIBUTES, SecurityDescriptor) == 4 * POINTER, "OBJECT_ATTRIBUTES.SecurityDescriptor");
static_assert(offsetof(OBJECT_ATTRIBUTES, SecurityQualityOfService) == 5 * POINTER,
              "OBJECT_ATTRIBUTES.SecurityQualityOfService");

// The file records are the same on both: 64-bit fields sit on 8-byte boundaries there too.
static_assert(sizeof(FILE_INTERNAL_INFORMATION) == 8, "FILE_INTERNAL_INFORMATION");
static_assert(offsetof(FILE_INTERNAL_INFORMATION, IndexNumber) == 0, "FILE_INTERNAL_INFORMATION.IndexNumber");
static_assert(sizeof(FILE_DISPOSITION_INFORMATION) == 1, "FILE_DISPOSITION_INFORMATION");
static_assert(offsetof(FILE_DISPOSITION_INFORMATION, DoDeleteFile) == 0, "FILE_DISPOSITION_INFORMATION.DeleteFile");
static_assert(sizeof(FILE_DISPOSITION_INFORMATION_EX_RECORD) == 4, "FILE_DISPOSITION_INFORMATION_EX");
static_assert(sizeof(FILE_STANDARD_INFORMATION) == 24, "FILE_STANDARD_INFORMATION");
static_assert(offsetof(FILE_STANDARD_INFORMATION, NumberOfLinks) == 16, "FILE_STANDARD_INFORMATION.NumberOfLinks");
static_assert(offsetof(FILE_STANDARD_INFORMATION, DeletePending) == 20, "FILE_STANDARD_INFORMATION.DeletePending");
static_assert(offsetof(FILE_STANDARD_INFORMATION, Directory) == 21, "FILE_STANDARD_INFORMATION.Directory");
static_assert(sizeof(FILE_FS_VOLUME_INFORMATION) == 24, "FILE_FS_VOLUME_INFORMATION");
static_assert(offsetof(FILE_FS_VOLUME_INFORMATION, VolumeSerialNumber) == 8,
              "FILE_FS_VOLUME_INFORMATION.VolumeSerialNumber");
static_assert(offsetof(FILE_FS_VOLUME_INFORMATION, VolumeLabelLength) == 12,
              "FILE_FS_VOLUME_INFORMATION.VolumeLabelLength");
static_assert(offsetof(FILE_FS_VOLUME_INFORMATION, VolumeLabel) == 18, "FILE_FS_VOLUME_INFORMATION.VolumeLabel");

// The four directory records share their first 68 bytes; the listing reads the entry's
// attributes, name length and reparse tag (EaSize) there, in any of them.
#define BRUMIX_COMMON_DIRECTORY_FIELDS(record)                                                              \
    static_assert(offsetof(record, NextEntryOffset) == 0, #record ".NextEntryOffset");                      \
    static_assert(offsetof(record, FileIndex) == 4, #record ".FileIndex");                                  \
    static_assert(offsetof(record, CreationTime) == 8, #record ".CreationTime");                            \
    static_assert(offsetof(record, AllocationSize) == 48, #record ".AllocationSize");                       \
    static_assert(offsetof(record, FileAttributes) == 56, #record ".FileAttributes");                       \
    static_assert(offsetof(record, FileNameLength) == 60, #record ".FileNameLength");                       \
    static_assert(offsetof(record, EaSize) == 64, #record ".EaSize")
BRUMIX_COMMON_DIRECTORY_FIELDS(FILE_FULL_DIR_INFORMATION);
BRUMIX_COMMON_DIRECTORY_FIELDS(FILE_ID_FULL_DIR_INFORMATION);
BRUMIX_COMMON_DIRECTORY_FIELDS(FILE_BOTH_DIR_INFORMATION);
BRUMIX_COMMON_DIRECTORY_FIELDS(FILE_ID_BOTH_DIR_INFORMATION);
#undef BRUMIX_COMMON_DIRECTORY_FIELDS

static_assert(offsetof(FILE_FULL_DIR_INFORMATION, FileName) == 68, "FILE_FULL_DIR_INFORMATION.FileName");
static_assert(sizeof(FILE_FULL_DIR_INFORMATION) == 72, "FILE_FULL_DIR_INFORMATION");
static_assert(offsetof(FILE_ID_FULL_DIR_INFORMATION, FileId) == 72, "FILE_ID_FULL_DIR_INFORMATION.FileId");
static_assert(offsetof(FILE_ID_FULL_DIR_INFORMATION, FileName) == 80, "FILE_ID_FULL_DIR_INFORMATION.FileName");
static_assert(sizeof(FILE_ID_FULL_DIR_INFORMATION) == 88, "FILE_ID_FULL_DIR_INFORMATION");
static_assert(offsetof(FILE_BOTH_DIR_INFORMATION, ShortNameLength) == 68, "FILE_BOTH_DIR_INFORMATION.ShortNameLength");
static_assert(offsetof(FILE_BOTH_DIR_INFORMATION, ShortName) == 70, "FILE_BOTH_DIR_INFORMATION.ShortName");
static_assert(offsetof(FILE_BOTH_DIR_INFORMATION, FileName) == 94, "FILE_BOTH_DIR_INFORMATION.FileName");
static_assert(sizeof(FILE_BOTH_DIR_INFORMATION) == 96, "FILE_BOTH_DIR_INFORMATION");
static_assert(offsetof(FILE_ID_BOTH_DIR_INFORMATION, ShortName) == 70, "FILE_ID_BOTH_DIR_INFORMATION.ShortName");
static_assert(offsetof(FILE_ID_BOTH_DIR_INFORMATION, FileId) == 96, "FILE_ID_BOTH_DIR_INFORMATION.FileId");
static_assert(offsetof(FILE_ID_BOTH_DIR_INFORMATION, FileName) == 104, "FILE_ID_BOTH_DIR_INFORMATION.FileName");
static_assert(sizeof(FILE_ID_BOTH_DIR_INFORMATION) == 112, "FILE_ID_BOTH_DIR_INFORMATION");

// The information classes by their documented numbers.
static_assert(FileFullDirectoryInformation == 2, "FileFullDirectoryInformation");
static_assert(FileBothDirectoryInformation == 3, "FileBothDirectoryInformation");
static_assert(FileStandardInformation == 5, "FileStandardInformation");
static_assert(FileInternalInformation == 6, "FileInternalInformation");
static_assert(FileDispositionInformation == 13, "FileDispositionInformation");
static_assert(FileIdBothDirectoryInformation == 37, "FileIdBothDirectoryInformation");
static_assert(FileIdFullDirectoryInformation == 38, "FileIdFullDirectoryInformation");
static_assert(FileFsVolumeInformation == 1, "FileFsVolumeInformation");
static_assert(ObjectNameInformation == 1, "ObjectNameInformation");

}  // namespace nt_layout

#endif
