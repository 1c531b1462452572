// Patterns mean what they mean on Windows, wherever the program runs: what FindFirstFile
// makes of "?", "." and "*" on the way to the file system, then the file system's own
// matching. Wine keeps "?" as exactly one character; these cases are Windows' answers.
#include <gtest/gtest.h>

#include <string>

#include "engine/pattern_list.h"
#include "support/utf8.h"

namespace {

bool Named(const std::wstring& name, const std::wstring& pattern)
{
    return NameMatchesPattern(name.c_str(), static_cast<int>(name.size()), pattern.c_str());
}

struct Case {
    const wchar_t* pattern;
    const wchar_t* name;
    bool matches;
};

void ExpectAll(const Case* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        EXPECT_EQ(Named(cases[i].name, cases[i].pattern), cases[i].matches)
            << "\"" << Utf8(cases[i].pattern) << "\" / \"" << Utf8(cases[i].name) << "\"";
}

TEST(WindowsWildcards, QuestionMarkIsOneCharacterOrNothingAtADotOrAtTheEnd)
{
    const Case cases[] = {
        {L"f??", L"f", true},         {L"f??", L"f1", true},          {L"f??", L"f12", true},
        {L"f??", L"f.c", false},      {L"f??", L"f123", false},       {L"f??", L"F1", true},
        {L"a?.obj", L"a.obj", true},  {L"a?.obj", L"ab.obj", true},   {L"a?.obj", L"abc.obj", false},
        {L"?.o", L".o", true},        {L"?.o", L"a.o", true},         {L"?.o", L"ab.o", false},
        {L"a????", L"ab", true},      {L"a????", L"abcde", true},     {L"a????", L"abcdef", false},
        {L"a????", L"a.b", false},    {L"b??.txt", L"b...txt", false}, {L"b??.txt", L"b1.txt", true},
        {L"?", L"a", true},           {L"?", L"ab", false},           {L"x.obj?", L"x.obj", true},
        {L"x.obj?", L"x.objs", true}, {L"x.obj?", L"x.obj.", false},  {L"x?", L"x.", false},
        // A "?" never takes a dot, in any script.
        {L"??.obj", L"\u65e5\u672c.obj", true}, {L"?.obj", L"\u65e5\u672c.obj", false},
    };
    ExpectAll(cases, sizeof cases / sizeof cases[0]);
}

TEST(WindowsWildcards, ADotBeforeAWildcardAlsoMatchesTheEndOfTheName)
{
    const Case cases[] = {
        {L"abc.?", L"abc", true},     {L"abc.?", L"abc.d", true},     {L"abc.?", L"abc.de", false},
        {L"ab.?", L"ab", true},       {L"ab.?", L"ab.c", true},       {L"ab.?", L"abc", false},
        {L"x.*", L"x", true},         {L"x.*", L"x.y.z", true},       {L"x.*", L"xy", false},
        {L".*", L".git", true},       {L".*", L"git", false},         {L"??.???", L"ab", true},
        {L"?.??", L".a", true},       {L"?.??", L"a.a", true},        {L"?.??", L"..a", false},
        {L"a.b.c", L"a.b.c", true},   {L"a.b.c", L"A.B.C", true},     {L"a.b.c", L"a.b", false},
        {L"a.b.c", L"a.b.cd", false}, {L"a.b.c", L"a.bc", false},
    };
    ExpectAll(cases, sizeof cases / sizeof cases[0]);
}

TEST(WindowsWildcards, AStarBeforeADotNeverTakesTheNamesLastDot)
{
    const Case cases[] = {
        {L"*.", L"abc", true},         {L"*.", L"a.b", false},         {L"*.", L"a.", false},
        {L"x*.", L"x", true},          {L"x*.", L"xyz", true},         {L"x*.", L"x.y", false},
        {L"abc*.", L"abcde", true},    {L"abc*.", L"abcde.fgh", false}, {L"*..", L"abc", true},
        {L"*.e", L"abc.d.e", true},    {L"*.e", L"abc.e.ef", false},   {L"*.e", L"e", false},
        {L"*.?", L"abc", true},        {L"*.?", L"abc.d", true},       {L"*.?", L"a.b.c", true},
        // Its extension, the part after the last dot, has more than one character.
        {L"*.?", L"abc.de", false},    {L"*.???", L"page.htm", true},  {L"*.???", L"page.html", false},
        {L"*.?*", L"abc", true},       {L"*.?*", L"a.b.c", true},      {L"*.?*", L"x.obj", true},
        {L"*..*", L"a..b", true},      {L"*..*", L"a.b", false},       {L"*.obj", L"x.obj", true},
        {L"*.obj", L".obj", true},     {L"*.obj", L"a.b.obj", true},   {L"*.obj", L"x.obj.", false},
        {L"*.obj", L"x.objx", false},  {L"*.obj*", L"x.obj.", true},   {L"a*.*", L"abc", true},
    };
    ExpectAll(cases, sizeof cases / sizeof cases[0]);
}

TEST(WindowsWildcards, TrailingDotsAreDroppedButForTheDotOfAFinalStarDot)
{
    const Case cases[] = {
        {L"abc.*..", L"abc.fgh", true}, {L"abc.*..", L"abc", true},   {L"abc.*..", L"abcd", false},
        {L"readme.", L"readme", true},  {L"readme..", L"README", true}, {L"readme.", L"readme.txt", false},
        {L"*.*.", L"noext", true},      {L"*.*", L"noext", true},     {L"*.*", L"a.b.c", true},
        {L"??.", L"a", true},           {L"??.", L"aa", true},        {L"??.", L"aaa", false},
        {L"a*.*.", L"a.b", true},       {L"*.a*.", L"b.ab", true},    {L"*.a*.", L"b.ab.c", false},
        // Without its dots such a pattern names the folder itself, never a file.
        {L".", L"a", false},            {L"...", L"x", false},
    };
    ExpectAll(cases, sizeof cases / sizeof cases[0]);
}

TEST(WindowsWildcards, LettersCompareAsTheFileSystemUpcasesThem)
{
    const Case cases[] = {
        {L"\u00e9t\u00e9.txt", L"\u00c9T\u00c9.TXT", true}, {L"\u0153uvre", L"\u0152uvre", true},
        {L"\u03c9*", L"\u03a9mega.obj", true},             {L"a.obj", L"\u0101.obj", false},
        {L"?.obj", L"\u0101.obj", true},                   {L"*.OBJ", L"main.obj", true},
    };
    ExpectAll(cases, sizeof cases / sizeof cases[0]);
}

TEST(WindowsWildcards, LongPatternsAreMatchedWhole)
{
    // Past the states kept on the stack: the same rules, in a block of its own.
    std::wstring name(300, L'a');
    EXPECT_TRUE(Named(name, std::wstring(299, L'a') + L"?"));
    EXPECT_TRUE(Named(name, std::wstring(300, L'?')));
    EXPECT_FALSE(Named(name, std::wstring(299, L'?')));
    EXPECT_TRUE(Named(name + L".c", name + L".?"));
    EXPECT_TRUE(Named(name, name + L".?"));
    EXPECT_FALSE(Named(name + L".cc", name + L".?"));
    // Only the star just before the dot keeps off the last dot: "**.?" names every name.
    EXPECT_TRUE(Named(name + L".cc", std::wstring(150, L'*') + L".?"));
    EXPECT_FALSE(Named(name + L".cc", L"*.?"));
}

}  // namespace
