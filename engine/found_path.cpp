#include "engine/found_path.h"

#include "app/global_block.h"

int AppendFoundName(WCHAR* found, int length, int capacity, const char* name)
{
    int at = length;
    if (at == 0 || found[at - 1] != L'\\') {
        if (at + 1 >= capacity)
            return -1;
        found[at++] = L'\\';
    }
    // The enumeration gave the name in the ANSI code page; it names the entry only if it
    // converts back without loss.
    int added = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name, -1, found + at, capacity - at);
    if (added <= 1) {
        found[length] = L'\0';
        return -1;
    }
    return at + added - 1;
}

int GetFoundPath(HANDLE handle, WCHAR* found, int capacity)
{
    DWORD length = GetFinalPathNameByHandleW(handle, found, static_cast<DWORD>(capacity),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    // A result as large as the block is the size it would need, not a path.
    if (length == 0 || length >= static_cast<DWORD>(capacity))
        return 0;
    return static_cast<int>(length);
}

bool IsFoundAt(HANDLE handle, const WCHAR* expected, int length)
{
    // Two characters more than expected: a longer path shows as too long, not as cut.
    int capacity = length + 2;
    GlobalBlock block(static_cast<SIZE_T>(capacity) * sizeof(WCHAR));
    if (!block)
        return false;
    WCHAR* found = block.as<WCHAR>();
    if (GetFoundPath(handle, found, capacity) != length)
        return false;
    for (int i = 0; i < length; ++i)
        if (found[i] != expected[i])
            return false;
    return true;
}
