// The request record that both pickers hand to the file-open dialog.
#ifndef BRUMIX_OPEN_REQUEST_H
#define BRUMIX_OPEN_REQUEST_H

#include <windows.h>
#include <commdlg.h>

#include <cstddef>

// The record without the fields added after Windows 2000, as both dialogs have always
// taken it.
constexpr DWORD OPEN_REQUEST_SIZE = 76;
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == OPEN_REQUEST_SIZE, "request layout");

#endif
