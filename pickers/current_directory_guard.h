// Puts the process's current directory back, when its owner's scope ends, where it was
// when the guard was made. The file-open dialogs are asked to leave it alone
// (OFN_NOCHANGEDIR), but Wine's classic dialog ignores that and leaves the process in
// whatever folder the user walked to; the deletion run and the folder box rely on it.
#ifndef BRUMIX_CURRENT_DIRECTORY_GUARD_H
#define BRUMIX_CURRENT_DIRECTORY_GUARD_H

#include <windows.h>

#include "base/global_block.h"

class CurrentDirectoryGuard {
public:
    CurrentDirectoryGuard()
        : size_(GetCurrentDirectoryW(0, nullptr) + 1), saved_(size_ * sizeof(WCHAR))
    {
        // A directory the system cannot report (it changed meanwhile) is not restored.
        if (saved_ && GetCurrentDirectoryW(size_, saved_.as<WCHAR>()) >= size_)
            saved_.as<WCHAR>()[0] = L'\0';
    }

    ~CurrentDirectoryGuard()
    {
        if (saved_ && saved_.as<WCHAR>()[0] != L'\0')
            SetCurrentDirectoryW(saved_.as<WCHAR>());
    }

    CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
    CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

private:
    DWORD size_;
    GlobalBlock saved_;
};

#endif
