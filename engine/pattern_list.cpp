#include "engine/pattern_list.h"

extern "C" WCHAR NTAPI RtlUpcaseUnicodeChar(WCHAR c);

namespace {

constexpr WCHAR SEPARATORS[] = L";, ";

// The tokenizer's position between calls; one list is cut at a time.
WCHAR* g_nextPattern;

bool IsSeparator(WCHAR c)
{
    for (const WCHAR* s = SEPARATORS; *s != L'\0'; ++s)
        if (c == *s)
            return true;
    return false;
}

// File names are told apart regardless of case the way the file system does it: with the
// system's own upper-case table, which an ASCII letter short-cuts.
WCHAR Upper(WCHAR c)
{
    if (c < 0x80)
        return (c >= L'a' && c <= L'z') ? static_cast<WCHAR>(c - 32) : c;
    return RtlUpcaseUnicodeChar(c);
}

bool HasWildcard(const WCHAR* pattern, int length)
{
    for (int i = 0; i < length; ++i)
        if (pattern[i] == L'*' || pattern[i] == L'?')
            return true;
    return false;
}

bool HasDot(const WCHAR* name, int length)
{
    for (int i = 0; i < length; ++i)
        if (name[i] == L'.')
            return true;
    return false;
}

// Plain "*" and "?" matching of the whole name against the first `length` characters of
// the pattern. Iterative, with one step back to the last "*": no recursion, whatever the
// number of stars.
bool Matches(const WCHAR* name, int nameLength, const WCHAR* pattern, int length)
{
    int p = 0;
    int n = 0;
    int starAt = -1;
    int starName = 0;
    while (n < nameLength) {
        if (p < length && pattern[p] == L'*') {
            starAt = p++;
            starName = n;
        } else if (p < length && (pattern[p] == L'?' || Upper(pattern[p]) == Upper(name[n]))) {
            ++p;
            ++n;
        } else if (starAt >= 0) {
            p = starAt + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < length && pattern[p] == L'*')
        ++p;
    return p == length;
}

}  // namespace

WCHAR* CutPattern(WCHAR* list)
{
    WCHAR* at = list != nullptr ? list : g_nextPattern;
    g_nextPattern = nullptr;
    if (at == nullptr)
        return nullptr;
    while (*at != L'\0' && IsSeparator(*at))
        ++at;
    if (*at == L'\0')
        return nullptr;
    WCHAR* pattern = at;
    while (*at != L'\0' && !IsSeparator(*at))
        ++at;
    if (*at != L'\0') {
        *at = L'\0';
        g_nextPattern = at + 1;
    }
    return pattern;
}

const WCHAR* PatternBody(const WCHAR* pattern, int& length)
{
    if (length >= 2 && pattern[0] == L'"' && pattern[length - 1] == L'"') {
        length -= 2;
        return pattern + 1;
    }
    return pattern;
}

PatternFault FindPatternFault(const WCHAR* pattern, WCHAR& character)
{
    character = L'\0';
    int length = lstrlenW(pattern);
    const WCHAR* body = PatternBody(pattern, length);
    if (length == 0)
        return PATTERN_EMPTY;
    // A folder part tells more than the other characters of the same pattern: "C:\x*"
    // names another folder, whatever else it holds.
    for (int i = 0; i < length; ++i)
        if (body[i] == L'\\' || body[i] == L'/' || body[i] == L':') {
            character = body[i];
            return PATTERN_FOLDER_PART;
        }
    for (int i = 0; i < length; ++i)
        if (body[i] < 32 || body[i] == L'<' || body[i] == L'>' || body[i] == L'"' || body[i] == L'|') {
            character = body[i];
            return PATTERN_FORBIDDEN_CHARACTER;
        }
    return PATTERN_USABLE;
}

bool IsPlainPattern(const WCHAR* pattern)
{
    if (*pattern == L'\0')
        return false;
    for (; *pattern != L'\0'; ++pattern)
        switch (*pattern) {
        case L'\\':
        case L'/':
        case L':':
        case L'<':
        case L'>':
        case L'"':
            return false;
        }
    return true;
}

int TakePatterns(WCHAR* list, WCHAR* table, int capacity)
{
    int count = 0;
    int used = 0;
    for (WCHAR* pattern = CutPattern(list); pattern != nullptr; pattern = CutPattern(nullptr)) {
        int length = lstrlenW(pattern);
        WCHAR* body = const_cast<WCHAR*>(PatternBody(pattern, length));
        body[length] = L'\0';
        // A pattern that does not fit whole is left out: a cut one would name other files.
        if (!IsPlainPattern(body) || length + 1 > capacity - used)
            continue;
        CopyMemory(table + used, body, (length + 1) * sizeof(WCHAR));
        used += length + 1;
        ++count;
    }
    return count;
}

bool NameMatchesPattern(const WCHAR* name, int nameLength, const WCHAR* pattern)
{
    int length = lstrlenW(pattern);
    if (!HasWildcard(pattern, length)) {
        // A name without wildcards loses its trailing dots on the way to the file
        // system: "readme." is "readme".
        while (length > 0 && pattern[length - 1] == L'.')
            --length;
        return Matches(name, nameLength, pattern, length);
    }
    if (length > 0 && pattern[length - 1] == L'.')
        return !HasDot(name, nameLength) && Matches(name, nameLength, pattern, length - 1);
    if (Matches(name, nameLength, pattern, length))
        return true;
    return length >= 2 && pattern[length - 2] == L'.' && pattern[length - 1] == L'*' &&
           !HasDot(name, nameLength) && Matches(name, nameLength, pattern, length - 2);
}
