#include "engine/pattern_list.h"

namespace {

constexpr char SEPARATORS[] = ";, ";

// The tokenizer's position between calls; one serves the whole run, since a folder's
// patterns are all taken before any of its subfolders is entered.
char* g_nextPattern;

bool IsSeparator(char c)
{
    for (const char* s = SEPARATORS; *s != '\0'; ++s)
        if (c == *s)
            return true;
    return false;
}

// Upper case of each code page 1252 character: the letters of the Latin-1 range and the
// four pairs that 1252 places in 0x80-0x9F (Š š, Œ œ, Ž ž, Ÿ ÿ).
struct FoldTable {
    unsigned char upper[256];
    constexpr FoldTable() : upper()
    {
        for (int c = 0; c < 256; ++c)
            upper[c] = static_cast<unsigned char>(c);
        for (int c = 'a'; c <= 'z'; ++c)
            upper[c] = static_cast<unsigned char>(c - 32);
        for (int c = 0xE0; c <= 0xFE; ++c)
            if (c != 0xF7)
                upper[c] = static_cast<unsigned char>(c - 32);
        upper[0x9A] = 0x8A;
        upper[0x9C] = 0x8C;
        upper[0x9E] = 0x8E;
        upper[0xFF] = 0x9F;
    }
};
constexpr FoldTable FOLD;

bool SameLetter(char a, char b)
{
    return FOLD.upper[static_cast<unsigned char>(a)] == FOLD.upper[static_cast<unsigned char>(b)];
}

bool HasWildcard(const char* pattern, int length)
{
    for (int i = 0; i < length; ++i)
        if (pattern[i] == '*' || pattern[i] == '?')
            return true;
    return false;
}

bool HasDot(const char* name)
{
    for (; *name != '\0'; ++name)
        if (*name == '.')
            return true;
    return false;
}

int Length(const char* text)
{
    int length = 0;
    while (text[length] != '\0')
        ++length;
    return length;
}

// Plain "*" and "?" matching of the whole name against the first `length` characters
// of the pattern. Iterative, with one step back to the last "*": no recursion, whatever
// the number of stars.
bool Matches(const char* name, const char* pattern, int length)
{
    int p = 0;
    const char* n = name;
    int starAt = -1;
    const char* starName = nullptr;
    while (*n != '\0') {
        if (p < length && pattern[p] == '*') {
            starAt = p++;
            starName = n;
        } else if (p < length && (pattern[p] == '?' || SameLetter(pattern[p], *n))) {
            ++p;
            ++n;
        } else if (starAt >= 0) {
            p = starAt + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < length && pattern[p] == '*')
        ++p;
    return p == length;
}

}  // namespace

char* CutPattern(char* list)
{
    char* at = list != nullptr ? list : g_nextPattern;
    g_nextPattern = nullptr;
    if (at == nullptr)
        return nullptr;
    while (*at != '\0' && IsSeparator(*at))
        ++at;
    if (*at == '\0')
        return nullptr;
    char* pattern = at;
    while (*at != '\0' && !IsSeparator(*at))
        ++at;
    if (*at != '\0') {
        *at = '\0';
        g_nextPattern = at + 1;
    }
    return pattern;
}

bool IsPlainPattern(const char* pattern)
{
    if (*pattern == '\0')
        return false;
    for (; *pattern != '\0'; ++pattern)
        switch (*pattern) {
        case '\\':
        case '/':
        case ':':
        case '<':
        case '>':
        case '"':
            return false;
        }
    return true;
}

bool NameMatchesPattern(const char* name, const char* pattern)
{
    int length = Length(pattern);
    if (!HasWildcard(pattern, length)) {
        // A name without wildcards loses its trailing dots on the way to the file
        // system: "readme." is "readme".
        while (length > 0 && pattern[length - 1] == '.')
            --length;
        return Matches(name, pattern, length);
    }
    if (length > 0 && pattern[length - 1] == '.')
        return !HasDot(name) && Matches(name, pattern, length - 1);
    if (Matches(name, pattern, length))
        return true;
    return length >= 2 && pattern[length - 2] == '.' && pattern[length - 1] == '*' && !HasDot(name) &&
           Matches(name, pattern, length - 2);
}
