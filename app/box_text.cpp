#include "app/box_text.h"

WCHAR* ReadBoxText(HWND box)
{
    // Zero is also the length of an empty text: only the error code tells a failure.
    SetLastError(ERROR_SUCCESS);
    int length = GetWindowTextLengthW(box);
    if (length < 0 || (length == 0 && GetLastError() != ERROR_SUCCESS))
        return nullptr;
    auto* text = static_cast<WCHAR*>(
        GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, (static_cast<SIZE_T>(length) + 1) * sizeof(WCHAR)));
    if (text == nullptr)
        return nullptr;
    // The length may be told larger than the text, never smaller: a text that was there
    // and gave no character was not read.
    if (GetWindowTextW(box, text, length + 1) == 0 && length > 0) {
        GlobalFree(text);
        return nullptr;
    }
    return text;
}
