// A list of texts of any length handed between the dialog and the preferences store: each
// text with its terminator, one after the other, in one block from the global heap that
// grows as texts are added.
#ifndef BRUMIX_TEXT_LIST_H
#define BRUMIX_TEXT_LIST_H

#include <windows.h>

struct TextList {
    WCHAR* texts;      // `count` terminated texts, one after the other; null while empty
    int count;
    SIZE_T used;       // characters taken, terminators included
    SIZE_T capacity;   // characters the block holds
};

// Adds the first `length` characters of `text` (which need no terminator) as the last text
// of the list. False, with the list as it was, when the heap cannot supply the room.
inline bool AddText(TextList& list, const WCHAR* text, SIZE_T length)
{
    SIZE_T needed = list.used + length + 1;
    if (needed > list.capacity) {
        // Doubling keeps a long history from being copied over and over as it loads.
        SIZE_T capacity = list.capacity * 2 > needed ? list.capacity * 2 : needed + 256;
        HGLOBAL block = list.texts == nullptr
                            ? GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, capacity * sizeof(WCHAR))
                            : GlobalReAlloc(list.texts, capacity * sizeof(WCHAR), GMEM_MOVEABLE | GMEM_ZEROINIT);
        if (block == nullptr)
            return false;
        list.texts = static_cast<WCHAR*>(block);
        list.capacity = capacity;
    }
    CopyMemory(list.texts + list.used, text, length * sizeof(WCHAR));
    list.texts[list.used + length] = L'\0';
    list.used += length + 1;
    ++list.count;
    return true;
}

// The text that follows `text` in the list (the first is list.texts).
inline const WCHAR* NextText(const WCHAR* text)
{
    return text + lstrlenW(text) + 1;
}

inline void ReleaseTextList(TextList& list)
{
    if (list.texts != nullptr)
        GlobalFree(list.texts);
    list = TextList{};
}

#endif
