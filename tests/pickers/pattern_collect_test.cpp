// The pattern list made from a selection block as the file dialog returns it, without
// the dialog: blocks built by hand, the repeat boxes read and answered OK in this thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "pickers/pattern_picker.h"
#include "support/question_answerer.h"
#include "support/utf8.h"

namespace {

// A block smaller than the dialog's, so that its edge is easy to reach.
constexpr int BLOCK = 260;
// Room for the patterns of any such block.
constexpr int TABLE = 2 * BLOCK;

// The dialog's layout: each string and its NUL, then an empty string; the rest of the
// block zero-filled.
std::wstring Selection(const std::vector<std::wstring>& strings)
{
    std::wstring block;
    for (const std::wstring& text : strings)
        block += text + L'\0';
    block.resize(BLOCK, L'\0');
    return block;
}

std::vector<std::wstring> PatternsOf(const std::vector<WCHAR>& table, int count)
{
    std::vector<std::wstring> patterns;
    const WCHAR* pattern = table.data();
    for (int i = 0; i < count; ++i, pattern += wcslen(pattern) + 1)
        patterns.push_back(pattern);
    return patterns;
}

bool IsUntouched(const std::vector<WCHAR>& table)
{
    for (WCHAR c : table)
        if (c != L'#')
            return false;
    return true;
}

TEST(ExtensionRule, TakesTheLastDotOfTheNameOnly)
{
    struct Case { const wchar_t* name; const wchar_t* extension; };
    const Case cases[] = {
        {L"a.obj", L".obj"},
        {L"Makefile", L""},
        {L"notes.", L"."},
        {L"a.tar.gz", L".gz"},
        {L".cvsrc", L".cvsrc"},
        {L"x.a b", L".a b"},
        {L"C:\\my.dir\\Makefile", L""},
        {L"C:\\my.dir\\report.config", L".config"},
        {L"dir/a.b/c", L""},
        {L"C:\\Проект.d\\a.日本", L".日本"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.name));
        EXPECT_EQ(std::wstring(ExtensionOf(c.name)), c.extension);
    }
}

TEST(CollectExtensionPatterns, OnePatternPerNameRepeatsDroppedWithOneBoxEach)
{
    const std::wstring longExtension = L"." + std::wstring(200, L'q');
    struct Case {
        const char* what;
        std::vector<std::wstring> selection;
        std::vector<std::wstring> patterns;
        std::vector<std::string> boxes;  // in UTF-8
    };
    const Case cases[] = {
        {"repeat in another case", {L"C:\\d", L"a.obj", L"b.res", L"c.OBJ"}, {L"*.obj", L"*.res"}, {"*.obj"}},
        {"two repeats", {L"C:\\d", L"x.c", L"y.C", L"z.c"}, {L"*.c"}, {"*.c", "*.c"}},
        {"boxes in the order of the first occurrences", {L"C:\\d", L"a.obj", L"b.res", L"c.RES", L"d.OBJ"},
         {L"*.obj", L"*.res"}, {"*.obj", "*.res"}},
        {"every extension new", {L"C:\\d", L"a.obj", L"b.res", L"c.map"}, {L"*.obj", L"*.res", L"*.map"}, {}},
        {"no dot", {L"C:\\d", L"Makefile", L"a.c"}, {L"*", L"*.c"}, {}},
        {"kept in the case first seen", {L"C:\\d", L"A.OBJ", L"b.obj"}, {L"*.OBJ"}, {"*.OBJ"}},
        {"accented letters differ in case only", {L"C:\\d", L"x.ÉTÉ", L"y.été"}, {L"*.ÉTÉ"}, {u8"*.ÉTÉ"}},
        {"letters alike but not by case", {L"C:\\d", L"x.ss", L"y.ß", L"z.ae", L"w.æ"},
         {L"*.ss", L"*.ß", L"*.ae", L"*.æ"}, {}},
        {"other scripts, repeats told by case", {L"C:\\d", L"a.日本", L"b.Ωμ", L"c.ωΜ", L"d.日本"},
         {L"*.日本", L"*.Ωμ"}, {u8"*.日本", u8"*.Ωμ"}},
        {"nothing escaped", {L"C:\\d", L"x.a b"}, {L"*.a b"}, {}},
        {"single pick", {L"C:\\d\\report.config"}, {L"*.config"}, {}},
        {"single pick ending in a dot", {L"C:\\d\\notes."}, {L"*."}, {}},
        {"single pick, several dots", {L"C:\\d\\a.tar.gz"}, {L"*.gz"}, {}},
        {"single pick, leading dot", {L"C:\\d\\.cvsrc"}, {L"*.cvsrc"}, {}},
        {"single pick in a dotted folder", {L"C:\\my.dir\\Makefile"}, {L"*"}, {}},
        {"long extension kept whole", {L"C:\\d", L"a" + longExtension, L"b.c"}, {L"*" + longExtension, L"*.c"}, {}},
        {"nothing picked", {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::wstring selection = Selection(c.selection);
        std::vector<WCHAR> table(TABLE, L'#');
        QuestionAnswerer answerer(OkToEveryBox());
        int count = CollectExtensionPatterns(selection.data(), BLOCK, table.data(), TABLE);
        ASSERT_EQ(count, static_cast<int>(c.patterns.size()));
        EXPECT_EQ(PatternsOf(table, count), c.patterns);
        EXPECT_EQ(answerer.Utf8Texts(), c.boxes);
    }
}

TEST(CollectExtensionPatterns, RepeatBoxHasNoOwnerAndOnlyAnOkButton)
{
    std::wstring selection = Selection({L"C:\\d", L"a.obj", L"b.OBJ"});
    std::vector<WCHAR> table(TABLE, L'#');
    QuestionAnswerer answerer(OkToEveryBox());
    CollectExtensionPatterns(selection.data(), BLOCK, table.data(), TABLE);
    ASSERT_EQ(answerer.seen().size(), 1u);
    const QuestionSeen& box = answerer.seen()[0];
    EXPECT_EQ(box.text, "*.obj");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    // No caption given: the system's own default shows.
    EXPECT_FALSE(box.caption.empty());
}

TEST(CollectExtensionPatterns, ListThatDoesNotEndInsideTheBlockIsRefusedWithoutABox)
{
    // Wine answers a selection too long for the block with success and the block filled
    // to its last character: here the last name is cut, or the list's closing empty
    // string is missing. Every name repeats the first, so reading any of it would show
    // boxes.
    std::wstring names = L"C:\\d";
    names += L'\0';
    while (names.size() < BLOCK + 20)
        names += std::wstring(L"aaaa.obj") + L'\0';
    std::wstring lastNameCut = names.substr(0, BLOCK);
    ASSERT_NE(lastNameCut.back(), L'\0');

    // The last name's NUL is the block's last character: no room for the closing empty string.
    std::wstring unclosed = L"C:\\d" + std::wstring(1, L'\0') + L"b.obj" + std::wstring(1, L'\0');
    unclosed += std::wstring(BLOCK - unclosed.size() - 5, L'x') + L".obj" + std::wstring(1, L'\0');
    ASSERT_EQ(unclosed.size(), static_cast<size_t>(BLOCK));

    std::wstring singleUnclosed = L"C:\\d\\" + std::wstring(BLOCK - 10, L'x') + L".obj" + std::wstring(1, L'\0');
    ASSERT_EQ(singleUnclosed.size(), static_cast<size_t>(BLOCK));

    for (const std::wstring& selection : {lastNameCut, unclosed, singleUnclosed}) {
        std::vector<WCHAR> table(TABLE, L'#');
        QuestionAnswerer answerer(OkToEveryBox());
        EXPECT_EQ(CollectExtensionPatterns(selection.data(), BLOCK, table.data(), TABLE), SELECTION_REFUSED);
        EXPECT_TRUE(answerer.seen().empty());
        EXPECT_TRUE(IsUntouched(table));
    }
}

TEST(CollectExtensionPatterns, ListEndingOnTheBlocksLastCharacterIsWhole)
{
    std::wstring selection = L"C:\\d" + std::wstring(1, L'\0') + L"b.res" + std::wstring(1, L'\0');
    selection += std::wstring(BLOCK - selection.size() - 6, L'x') + L".obj" + std::wstring(2, L'\0');
    ASSERT_EQ(selection.size(), static_cast<size_t>(BLOCK));
    std::vector<WCHAR> table(TABLE, L'#');
    QuestionAnswerer answerer(OkToEveryBox());
    ASSERT_EQ(CollectExtensionPatterns(selection.data(), BLOCK, table.data(), TABLE), 2);
    EXPECT_EQ(PatternsOf(table, 2), (std::vector<std::wstring>{L"*.res", L"*.obj"}));
}

TEST(CollectExtensionPatterns, BlockFullOfTheShortestNamesGivesEveryPattern)
{
    // The densest selection of distinct patterns: names that are a dot and one letter.
    std::wstring selection = L"C:";
    selection += L'\0';
    std::vector<std::wstring> expected;
    for (WCHAR letter = 0x4E00; selection.size() + 4 <= BLOCK; ++letter) {
        selection += std::wstring(L".") + letter + L'\0';
        expected.push_back(std::wstring(L"*.") + letter);
    }
    selection.resize(BLOCK, L'\0');
    std::vector<WCHAR> table(TABLE, L'#');
    QuestionAnswerer answerer(OkToEveryBox());
    ASSERT_EQ(CollectExtensionPatterns(selection.data(), BLOCK, table.data(), TABLE), static_cast<int>(expected.size()));
    EXPECT_EQ(PatternsOf(table, static_cast<int>(expected.size())), expected);
    EXPECT_TRUE(answerer.seen().empty());

    // A table too small for them is never written past: nothing is taken.
    std::vector<WCHAR> small(BLOCK, L'#');
    EXPECT_EQ(CollectExtensionPatterns(selection.data(), BLOCK, small.data(), BLOCK), SELECTION_REFUSED);
    EXPECT_TRUE(IsUntouched(small));
}

std::vector<WCHAR> Table(const std::vector<std::wstring>& patterns)
{
    std::vector<WCHAR> table;
    for (const std::wstring& pattern : patterns) {
        table.insert(table.end(), pattern.begin(), pattern.end());
        table.push_back(L'\0');
    }
    table.push_back(L'\0');
    return table;
}

TEST(JoinPatterns, JoinsWholePatternsThatFitAndLeavesTheRestOut)
{
    // Fifty-two patterns of five characters: 311 characters joined.
    std::vector<std::wstring> many;
    std::wstring fitting;
    for (int i = 0; i < 52; ++i) {
        WCHAR pattern[8];
        wsprintfW(pattern, L"*.a%02d", i);
        many.push_back(pattern);
        if (fitting.size() + 1 + 5 <= 259)
            fitting += (fitting.empty() ? L"" : L";") + std::wstring(pattern);
    }
    ASSERT_EQ(fitting.size(), 257u);  // 43 patterns; the 44th would make 263
    std::wstring all;
    for (const std::wstring& pattern : many)
        all += (all.empty() ? L"" : L";") + pattern;

    struct Case {
        const char* what;
        std::vector<std::wstring> patterns;
        int count;
        int capacity;
        std::wstring joined;
    };
    const Case cases[] = {
        {"two", {L"*.obj", L"*.res"}, 2, 260, L"*.obj;*.res"},
        {"one", {L"*.obj"}, 1, 260, L"*.obj"},
        {"none", {}, 0, 260, L""},
        {"just fits", {L"*.a", L"*.b"}, 2, 8, L"*.a;*.b"},
        {"one character short", {L"*.a", L"*.b"}, 2, 7, L"*.a"},
        {"first too long", {L"*.abcdef", L"*.b"}, 2, 8, L""},
        {"nothing behind a pattern left out", {L"*.abc", L"*.defgh", L"*.x"}, 3, 10, L"*.abc"},
        {"more than a small block holds", many, 52, 260, fitting},
        {"all of them in a block made for them", many, 52, 312, all},
        {"other scripts", {L"*.日本", L"*.Ωμ"}, 2, 260, L"*.日本;*.Ωμ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<WCHAR> table = Table(c.patterns);
        std::wstring joined(static_cast<size_t>(c.capacity) + 8, L'#');
        JoinPatterns(table.data(), c.count, &joined[0], c.capacity, L";");
        EXPECT_EQ(std::wstring(joined.c_str()), c.joined);
        EXPECT_EQ(joined.substr(static_cast<size_t>(c.capacity)), std::wstring(8, L'#')) << "written past capacity";
    }
}

}  // namespace
