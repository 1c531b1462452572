#include "engine/found_path.h"

namespace {

bool IsTail(WCHAR c)
{
    return c == L'.' || c == L' ';
}

// The component that starts at `at` and ends before the next backslash or the end.
int ComponentEnd(const WCHAR* text, int length, int at)
{
    while (at < length && text[at] != L'\\')
        ++at;
    return at;
}

}  // namespace

int StrippedLength(const WCHAR* name, int length)
{
    while (length > 0 && IsTail(name[length - 1]))
        --length;
    return length;
}

bool SameFoundName(const WCHAR* one, int oneLength, const WCHAR* other, int otherLength)
{
    int i = 0;
    int j = 0;
    for (;;) {
        int oneEnd = ComponentEnd(one, oneLength, i);
        int otherEnd = ComponentEnd(other, otherLength, j);
        int a = StrippedLength(one + i, oneEnd - i);
        int b = StrippedLength(other + j, otherEnd - j);
        if (a != b)
            return false;
        for (int k = 0; k < a; ++k)
            if (one[i + k] != other[j + k])
                return false;
        bool oneDone = oneEnd == oneLength;
        bool otherDone = otherEnd == otherLength;
        if (oneDone || otherDone)
            return oneDone && otherDone;
        i = oneEnd + 1;
        j = otherEnd + 1;
    }
}

bool CutFoundComponent(const WCHAR* reported, int& length, const WCHAR* name, int nameLength)
{
    // A name never holds a backslash: the component starts after the last one.
    int last = length - 1;
    while (last >= 0 && reported[last] != L'\\')
        --last;
    if (last < 0 || !SameFoundName(reported + last + 1, length - last - 1, name, nameLength))
        return false;
    length = last;
    return true;
}

bool IsFoundFolder(const WCHAR* reported, int reportedLength, const WCHAR* folder, int folderLength)
{
    if (folderLength > 0 && folder[folderLength - 1] == L'\\')
        --folderLength;
    return SameFoundName(reported, reportedLength, folder, folderLength);
}
