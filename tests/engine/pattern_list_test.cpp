// The pattern-list syntax and the long-name matching, called directly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/pattern_list.h"
#include "support/utf8.h"

namespace {

std::vector<std::wstring> CutAll(std::wstring list)
{
    std::vector<std::wstring> patterns;
    for (WCHAR* p = CutPattern(&list[0]); p != nullptr; p = CutPattern(nullptr))
        patterns.push_back(p);
    return patterns;
}

TEST(PatternList, SeparatorsNeverMakeAnEmptyPatternAndOrderAndRepeatsAreKept)
{
    struct Case { const wchar_t* list; std::vector<std::wstring> patterns; };
    for (const Case& c : {Case{L";*.obj,, *.res ;", {L"*.obj", L"*.res"}},
                          Case{L"*.obj;*.res", {L"*.obj", L"*.res"}},
                          Case{L"*.res *.obj *.res", {L"*.res", L"*.obj", L"*.res"}},
                          Case{L"a", {L"a"}},
                          Case{L"", {}},
                          Case{L" ;, ;;", {}},
                          // Only the three separators cut: a tab, an ideographic space and a
                          // full-width semicolon belong to their patterns.
                          Case{L"*.a\t*.b\u3000*.c\uff1b*.d", {L"*.a\t*.b\u3000*.c\uff1b*.d"}},
                          Case{L"\u03a9*.obj;\u65e5\u672c.obj", {L"\u03a9*.obj", L"\u65e5\u672c.obj"}}}) {
        SCOPED_TRACE(Utf8(c.list));
        EXPECT_EQ(CutAll(c.list), c.patterns);
    }
}

TEST(PatternList, CuttingHappensInPlaceAndTheLastPatternLeavesNoPosition)
{
    WCHAR list[] = L"*.obj;*.res";
    WCHAR* first = CutPattern(list);
    EXPECT_EQ(first, list);
    EXPECT_EQ(std::wstring(list, 12), std::wstring(L"*.obj\0*.res\0", 12));
    WCHAR* second = CutPattern(nullptr);
    EXPECT_EQ(second, list + 6);
    EXPECT_EQ(CutPattern(nullptr), nullptr);
    EXPECT_EQ(CutPattern(nullptr), nullptr) << "no position is left once the list has run out";
}

TEST(PatternList, OnlyPatternsOfThisFolderAreUsable)
{
    for (const wchar_t* plain : {L"*.obj", L"a?c", L"*", L"*.*", L"*.", L"x.y.z", L"\u00e9*.txt", L"\u65e5*.obj"})
        EXPECT_TRUE(IsPlainPattern(plain)) << Utf8(plain);
    for (const wchar_t* other : {L"", L"sub\\*.obj", L"..\\*.obj", L"C:*.obj", L"C:\\*.obj", L"sub/*.obj", L"/x",
                                 L"<.obj", L"*.ob>", L"\"*.obj", L"a\"b"})
        EXPECT_FALSE(IsPlainPattern(other)) << Utf8(other);
}

bool Named(const std::wstring& name, const std::wstring& pattern)
{
    return NameMatchesPattern(name.c_str(), static_cast<int>(name.size()), pattern.c_str());
}

TEST(PatternList, OnlyTheLongNameCounts)
{
    struct Case { const wchar_t* pattern; const wchar_t* name; bool matches; };
    const Case cases[] = {
        {L"*.obj", L"main.obj", true},    {L"*.obj", L"MAIN.OBJ", true},   {L"*.OBJ", L"main.obj", true},
        {L"*.obj", L"x.objx", false},     {L"*.htm", L"x.html", false},    {L"*.htm", L"x.htm", true},
        {L"*.obj", L"obj", false},        {L"*.obj", L".obj", true},       {L"*.obj", L"a.b.obj", true},
        {L"?.o", L"a.o", true},           {L"?.o", L"ab.o", false},        {L"?.o", L".o", true},
        {L"a?c", L"abc", true},           {L"a?c", L"ac", false},          {L"a*", L"A", true},
        {L"*", L"anything.at.all", true}, {L"*.*", L"noext", true},        {L"*.*", L"a.b", true},
        {L"a*.*", L"abc", true},          {L"a*.*", L"b.c", false},        {L"x.*", L"x", true},
        {L"x.*", L"xy", false},           {L"*.", L"noext", true},         {L"*.", L"a.txt", false},
        {L"a*.", L"abc", true},           {L"a*.", L"a.c", false},         {L"readme.", L"readme", true},
        {L"readme.", L"readme.txt", false}, {L"readme", L"README", true},  {L"*x*", L"box.obj", true},
        {L"*x*", L"bo.obj", false},       {L"**a", L"ba", true},           {L"*a*b*c", L"xaybzc", true},
        {L"*a*b*c", L"xaybz", false},     {L"été.txt", L"ÉTÉ.TXT", true},  {L"œuvre", L"Œuvre", true},
        {L"ÿ*", L"Ÿx", true},             {L"*.obj", L"a.obj.", false},    {L"x?", L"x.", false},
        // Names outside the ANSI code page are matched as they are, one character each.
        {L"*.obj", L"日本.obj", true},     {L"?.obj", L"ā.obj", true},      {L"a.obj", L"ā.obj", false},
        {L"ω*", L"Ωmega.obj", true},      {L"??.obj", L"日本.obj", true},   {L"?.obj", L"日本.obj", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Named(c.name, c.pattern), c.matches) << Utf8(c.pattern) << " / " << Utf8(c.name);
}

TEST(PatternList, ManyStarsStayFast)
{
    std::wstring pattern = std::wstring(200, L'*') + L"b";
    std::wstring name(255, L'a');
    EXPECT_FALSE(Named(name, pattern));
}

TEST(PatternList, TakenPatternsAreTheUsableOnesInListOrder)
{
    WCHAR list[] = L";*.obj,sub\\*.res \u00e9t\u00e9.* <x \u03a9*.obj;";
    std::wstring table(sizeof list / sizeof list[0], L'#');
    EXPECT_EQ(TakePatterns(list, &table[0], static_cast<int>(table.size())), 3);
    EXPECT_EQ(table.substr(0, 19), std::wstring(L"*.obj\0\u00e9t\u00e9.*\0\u03a9*.obj\0", 19));
}

// A pattern names files only with letters that a name can hold, and "*" and "?": a folder,
// drive or stream part, or a character that no name can hold, names no file at all. One
// pair of quotes around the pattern is no part of it.
TEST(PatternList, FaultsOfPatternsThatCanNameNoFile)
{
    struct Case { const wchar_t* pattern; PatternFault fault; WCHAR character; };
    const Case cases[] = {
        {L"*.obj", PATTERN_USABLE, L'\0'},           {L"\"*.obj\"", PATTERN_USABLE, L'\0'},
        {L"a?c.*", PATTERN_USABLE, L'\0'},           {L"\u65e5*.obj", PATTERN_USABLE, L'\0'},
        {L"*.obj.", PATTERN_USABLE, L'\0'},          {L"x", PATTERN_USABLE, L'\0'},
        {L"\"\"", PATTERN_EMPTY, L'\0'},             {L"sub\\*.obj", PATTERN_FOLDER_PART, L'\\'},
        {L"..\\*.obj", PATTERN_FOLDER_PART, L'\\'},  {L"C:\\*.obj", PATTERN_FOLDER_PART, L':'},
        {L"C:*.obj", PATTERN_FOLDER_PART, L':'},      {L"sub/*.obj", PATTERN_FOLDER_PART, L'/'},
        {L"a:stream", PATTERN_FOLDER_PART, L':'},     {L"\"sub\\x\"", PATTERN_FOLDER_PART, L'\\'},
        {L"a|b", PATTERN_FORBIDDEN_CHARACTER, L'|'},  {L"<.obj", PATTERN_FORBIDDEN_CHARACTER, L'<'},
        {L"*.ob>", PATTERN_FORBIDDEN_CHARACTER, L'>'}, {L"\"*.obj", PATTERN_FORBIDDEN_CHARACTER, L'"'},
        {L"*.obj\"", PATTERN_FORBIDDEN_CHARACTER, L'"'}, {L"a\"b", PATTERN_FORBIDDEN_CHARACTER, L'"'},
        {L"\"a\"b\"", PATTERN_FORBIDDEN_CHARACTER, L'"'}, {L"\"", PATTERN_FORBIDDEN_CHARACTER, L'"'},
        {L"*.o\tbj", PATTERN_FORBIDDEN_CHARACTER, L'\t'}, {L"\x01", PATTERN_FORBIDDEN_CHARACTER, L'\x01'},
        {L"*.obj\x1f", PATTERN_FORBIDDEN_CHARACTER, L'\x1f'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.pattern));
        WCHAR character = L'#';
        EXPECT_EQ(FindPatternFault(c.pattern, character), c.fault);
        EXPECT_EQ(character, c.character);
    }
}

TEST(PatternList, TakenPatternsLoseOnePairOfQuotes)
{
    WCHAR list[] = L"\"*.obj\";\"\"*.res\"\" \"b.txt";
    std::wstring table(sizeof list / sizeof list[0], L'#');
    EXPECT_EQ(TakePatterns(list, &table[0], static_cast<int>(table.size())), 1);
    EXPECT_EQ(table.substr(0, 6), std::wstring(L"*.obj\0", 6));
}

}  // namespace
