// The request record that both pickers hand to the file-open dialog.
#ifndef BRUMIX_OPEN_REQUEST_H
#define BRUMIX_OPEN_REQUEST_H

#include <windows.h>
#include <commdlg.h>

#include <cstddef>

// The record without the fields added after Windows 2000, as both dialogs have always
// taken it: the SDK's OPENFILENAME_SIZE_VERSION_400W (76 bytes for a 32-bit program, 136
// for a 64-bit one, as for the ANSI record), written so that it is a constant.
constexpr DWORD OPEN_REQUEST_SIZE = offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR);

#endif
