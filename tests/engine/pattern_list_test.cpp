// The pattern-list syntax and the long-name matching, called directly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/pattern_list.h"

namespace {

std::vector<std::string> CutAll(std::string list)
{
    std::vector<std::string> patterns;
    for (char* p = CutPattern(&list[0]); p != nullptr; p = CutPattern(nullptr))
        patterns.push_back(p);
    return patterns;
}

TEST(PatternList, SeparatorsNeverMakeAnEmptyPatternAndOrderAndRepeatsAreKept)
{
    struct Case { const char* list; std::vector<std::string> patterns; };
    for (const Case& c : {Case{";*.obj,, *.res ;", {"*.obj", "*.res"}},
                          Case{"*.obj;*.res", {"*.obj", "*.res"}},
                          Case{"*.res *.obj *.res", {"*.res", "*.obj", "*.res"}},
                          Case{"a", {"a"}},
                          Case{"", {}},
                          Case{" ;, ;;", {}}}) {
        SCOPED_TRACE(c.list);
        EXPECT_EQ(CutAll(c.list), c.patterns);
    }
}

TEST(PatternList, CuttingHappensInPlaceAndTheLastPatternLeavesNoPosition)
{
    char list[] = "*.obj;*.res";
    char* first = CutPattern(list);
    EXPECT_EQ(first, list);
    EXPECT_EQ(std::string(list, sizeof list), std::string("*.obj\0*.res\0", sizeof list));
    char* second = CutPattern(nullptr);
    EXPECT_EQ(second, list + 6);
    EXPECT_EQ(CutPattern(nullptr), nullptr);
    EXPECT_EQ(CutPattern(nullptr), nullptr) << "no position is left once the list has run out";
}

TEST(PatternList, OnlyPatternsOfThisFolderAreUsable)
{
    for (const char* plain : {"*.obj", "a?c", "*", "*.*", "*.", "x.y.z", "é*.txt"})
        EXPECT_TRUE(IsPlainPattern(plain)) << plain;
    for (const char* other : {"", "sub\\*.obj", "..\\*.obj", "C:*.obj", "C:\\*.obj", "sub/*.obj", "/x",
                              "<.obj", "*.ob>", "\"*.obj", "a\"b"})
        EXPECT_FALSE(IsPlainPattern(other)) << other;
}

TEST(PatternList, OnlyTheLongNameCounts)
{
    struct Case { const char* pattern; const char* name; bool matches; };
    const Case cases[] = {
        {"*.obj", "main.obj", true},    {"*.obj", "MAIN.OBJ", true},   {"*.OBJ", "main.obj", true},
        {"*.obj", "x.objx", false},     {"*.htm", "x.html", false},    {"*.htm", "x.htm", true},
        {"*.obj", "obj", false},        {"*.obj", ".obj", true},       {"*.obj", "a.b.obj", true},
        {"?.o", "a.o", true},           {"?.o", "ab.o", false},        {"?.o", ".o", false},
        {"a?c", "abc", true},           {"a?c", "ac", false},          {"a*", "A", true},
        {"*", "anything.at.all", true}, {"*.*", "noext", true},        {"*.*", "a.b", true},
        {"a*.*", "abc", true},          {"a*.*", "b.c", false},        {"x.*", "x", true},
        {"x.*", "xy", false},           {"*.", "noext", true},         {"*.", "a.txt", false},
        {"a*.", "abc", true},           {"a*.", "a.c", false},         {"readme.", "readme", true},
        {"readme.", "readme.txt", false}, {"readme", "README", true},  {"*x*", "box.obj", true},
        {"*x*", "bo.obj", false},       {"**a", "ba", true},           {"*a*b*c", "xaybzc", true},
        {"*a*b*c", "xaybz", false},     {"été.txt", "ÉTÉ.TXT", true},  {"œuvre", "Œuvre", true},
        {"ÿ*", "Ÿx", true},             {"*.obj", "a.obj.", false},    {"x?", "x.", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NameMatchesPattern(c.name, c.pattern), c.matches) << c.pattern << " / " << c.name;
}

TEST(PatternList, ManyStarsStayFast)
{
    std::string pattern = std::string(200, '*') + "b";
    std::string name(255, 'a');
    EXPECT_FALSE(NameMatchesPattern(name.c_str(), pattern.c_str()));
}

}  // namespace
