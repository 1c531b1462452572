// Texts composed piece by piece into a block of known size: a piece that does not fit is
// cut at the block's end, and nothing is ever written past it.
#ifndef BRUMIX_TEXT_APPEND_H
#define BRUMIX_TEXT_APPEND_H

#include <windows.h>

// Appends `piece` to the text of `length` characters in a block of `capacity` characters,
// terminator included, and moves `length` on past what was appended.
inline void AppendText(WCHAR* text, int capacity, int& length, const WCHAR* piece)
{
    int room = capacity - length;
    if (room <= 1)
        return;
    lstrcpynW(text + length, piece, room);
    length += lstrlenW(text + length);
}

#endif
