#include "engine/pattern_list.h"

#include "base/global_block.h"

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

// What a pattern's characters become on the way to the file system, as the platform's
// FindFirstFile hands them over: every "?" is DOS_QM, a "." just before a "?" or a "*" is
// DOS_DOT, and a "*" just before a "." (or before the trailing dots that the platform
// drops) is DOS_STAR. Any other character stands for itself.
enum Token {
    TOKEN_LETTER,
    TOKEN_STAR,      // any run of characters
    TOKEN_DOS_STAR,  // any run that does not take the name's last "."
    TOKEN_DOS_QM,    // one character, or nothing at a "." or at the end of the name
    TOKEN_DOS_DOT,   // a ".", or nothing at the end of the name
};

// A pattern as the file system receives it: without its trailing dots.
struct Expression {
    const WCHAR* text;
    int length;
    bool endedWithDot;   // its "*." at the end, if any, is DOS_STAR
};

Token TokenAt(const Expression& expression, int at)
{
    WCHAR c = expression.text[at];
    bool last = at + 1 == expression.length;
    WCHAR after = last ? L'\0' : expression.text[at + 1];
    if (c == L'?')
        return TOKEN_DOS_QM;
    if (c == L'*')
        return after == L'.' || (last && expression.endedWithDot) ? TOKEN_DOS_STAR : TOKEN_STAR;
    if (c == L'.' && (after == L'?' || after == L'*'))
        return TOKEN_DOS_DOT;
    return TOKEN_LETTER;
}

// States of the match: state p means that the first p tokens have been matched. Sets of
// up to this many states live on the stack; a longer pattern takes a block of its own.
constexpr int STACK_STATES = 128;

// The file system's matching of a whole name against an expression (the algorithm that
// FsRtlIsNameInExpression documents), run as a set of states advanced one character at a
// time: no backtracking, so no pattern costs more than its length times the name's.
bool Matches(const WCHAR* name, int nameLength, const Expression& expression, BYTE* current, BYTE* next)
{
    int lastDot = -1;
    for (int k = 0; k < nameLength; ++k)
        if (name[k] == L'.')
            lastDot = k;
    int states = expression.length + 1;
    ZeroMemory(current, states);
    current[0] = 1;
    for (int k = 0;; ++k) {
        bool atEnd = k == nameLength;
        WCHAR c = atEnd ? L'\0' : name[k];
        // The moves that take no character only go forward: one pass in order closes the set.
        for (int p = 0; p < expression.length; ++p) {
            if (!current[p])
                continue;
            Token token = TokenAt(expression, p);
            if (token == TOKEN_STAR || token == TOKEN_DOS_STAR || (token == TOKEN_DOS_QM && (atEnd || c == L'.')) ||
                (token == TOKEN_DOS_DOT && atEnd))
                current[p + 1] = 1;
        }
        if (atEnd)
            return current[expression.length] != 0;
        ZeroMemory(next, states);
        bool alive = false;
        for (int p = 0; p < expression.length; ++p) {
            if (!current[p])
                continue;
            int to = -1;
            switch (TokenAt(expression, p)) {
            case TOKEN_STAR:
                to = p;
                break;
            case TOKEN_DOS_STAR:
                if (c != L'.' || k != lastDot)
                    to = p;
                break;
            case TOKEN_DOS_QM:
                if (c != L'.')
                    to = p + 1;
                break;
            case TOKEN_DOS_DOT:
                if (c == L'.')
                    to = p + 1;
                break;
            case TOKEN_LETTER:
                if (Upper(expression.text[p]) == Upper(c))
                    to = p + 1;
                break;
            }
            if (to >= 0) {
                next[to] = 1;
                alive = true;
            }
        }
        if (!alive)
            return false;
        BYTE* swap = current;
        current = next;
        next = swap;
    }
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
    // The platform drops a name's trailing dots before the file system sees it.
    Expression expression = {pattern, length, length > 0 && pattern[length - 1] == L'.'};
    while (expression.length > 0 && pattern[expression.length - 1] == L'.')
        --expression.length;
    // Nothing but dots names the folder itself, never a file in it.
    if (expression.length == 0)
        return false;
    // "*.*" is handed over as "*".
    if (expression.length == 3 && pattern[0] == L'*' && pattern[1] == L'.' && pattern[2] == L'*')
        return true;
    SIZE_T states = static_cast<SIZE_T>(expression.length) + 1;
    if (states <= STACK_STATES) {
        BYTE current[STACK_STATES];
        BYTE next[STACK_STATES];
        return Matches(name, nameLength, expression, current, next);
    }
    GlobalBlock sets(2 * states);
    return sets && Matches(name, nameLength, expression, sets.as<BYTE>(), sets.as<BYTE>() + states);
}
