// The pattern list made from a selection block as the file dialog returns it, without
// the dialog: blocks built by hand, the repeat boxes read and answered in this thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "pickers/pattern_picker.h"
#include "support/message_box_recorder.h"

namespace {

// The dialog's layout: each string and its NUL, then an empty string; the rest of the
// 260-byte block zero-filled.
std::string Selection(const std::vector<std::string>& strings)
{
    std::string block;
    for (const std::string& text : strings)
        block += text + '\0';
    block.resize(SELECTION_SIZE, '\0');
    return block;
}

std::vector<std::string> SlotsOf(const std::vector<char>& table, int count)
{
    std::vector<std::string> patterns;
    for (int i = 0; i < count; ++i)
        patterns.push_back(&table[static_cast<size_t>(i) * PATTERN_SLOT_SIZE]);
    return patterns;
}

bool IsZeroFilled(const std::vector<char>& table)
{
    for (char byte : table)
        if (byte != '\0')
            return false;
    return true;
}

TEST(ExtensionRule, TakesTheLastDotOfTheNameOnly)
{
    struct Case { const char* name; const char* extension; };
    const Case cases[] = {
        {"a.obj", ".obj"},
        {"Makefile", ""},
        {"notes.", "."},
        {"a.tar.gz", ".gz"},
        {".cvsrc", ".cvsrc"},
        {"x.a b", ".a b"},
        {"C:\\my.dir\\Makefile", ""},
        {"C:\\my.dir\\report.config", ".config"},
        {"dir/a.b/c", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(ExtensionOf(c.name), c.extension);
    }
}

TEST(CollectExtensionPatterns, OnePatternPerNameRepeatsDroppedWithOneBoxEach)
{
    const std::string longExtension = "." + std::string(200, 'q');
    struct Case {
        const char* what;
        std::vector<std::string> selection;
        std::vector<std::string> patterns;
        std::vector<std::string> boxes;
    };
    const Case cases[] = {
        {"repeat in another case", {"C:\\d", "a.obj", "b.res", "c.OBJ"}, {"*.obj", "*.res"}, {"*.obj"}},
        {"two repeats", {"C:\\d", "x.c", "y.C", "z.c"}, {"*.c"}, {"*.c", "*.c"}},
        {"every extension new", {"C:\\d", "a.obj", "b.res", "c.map"}, {"*.obj", "*.res", "*.map"}, {}},
        {"no dot", {"C:\\d", "Makefile", "a.c"}, {"*", "*.c"}, {}},
        {"kept in the case first seen", {"C:\\d", "A.OBJ", "b.obj"}, {"*.OBJ"}, {"*.OBJ"}},
        {"accented letters differ in case only", {"C:\\d", "x.\xC9T\xC9", "y.\xE9t\xE9"}, {"*.\xC9T\xC9"}, {"*.\xC9T\xC9"}},
        {"letters alike but not by case", {"C:\\d", "x.ss", "y.\xDF", "z.ae", "w.\xE6"}, {"*.ss", "*.\xDF", "*.ae", "*.\xE6"}, {}},
        {"nothing escaped", {"C:\\d", "x.a b"}, {"*.a b"}, {}},
        {"single pick", {"C:\\d\\report.config"}, {"*.config"}, {}},
        {"single pick ending in a dot", {"C:\\d\\notes."}, {"*."}, {}},
        {"single pick, several dots", {"C:\\d\\a.tar.gz"}, {"*.gz"}, {}},
        {"single pick, leading dot", {"C:\\d\\.cvsrc"}, {"*.cvsrc"}, {}},
        {"single pick in a dotted folder", {"C:\\my.dir\\Makefile"}, {"*"}, {}},
        {"long extension kept whole", {"C:\\d", "a" + longExtension, "b.c"}, {"*" + longExtension, "*.c"}, {}},
        {"nothing picked", {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string selection = Selection(c.selection);
        std::vector<char> slots(PATTERN_TABLE_SIZE, '\0');
        MessageBoxRecorder recorder;
        int count = CollectExtensionPatterns(selection.data(), SELECTION_SIZE, slots.data());
        ASSERT_EQ(count, static_cast<int>(c.patterns.size()));
        EXPECT_EQ(SlotsOf(slots, count), c.patterns);
        EXPECT_EQ(&slots[static_cast<size_t>(count) * PATTERN_SLOT_SIZE], std::string()) << "slot after the last";
        EXPECT_EQ(recorder.texts(), c.boxes);
    }
}

TEST(CollectExtensionPatterns, RepeatBoxHasNoOwnerAndOnlyAnOkButton)
{
    std::string selection = Selection({"C:\\d", "a.obj", "b.OBJ"});
    std::vector<char> slots(PATTERN_TABLE_SIZE, '\0');
    MessageBoxRecorder recorder;
    CollectExtensionPatterns(selection.data(), SELECTION_SIZE, slots.data());
    ASSERT_EQ(recorder.boxes().size(), 1u);
    const RecordedBox& box = recorder.boxes()[0];
    EXPECT_EQ(box.text, "*.obj");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    // No caption given: the system's own default shows.
    EXPECT_FALSE(box.caption.empty());
}

TEST(CollectExtensionPatterns, ListThatDoesNotEndInsideTheBlockIsRefusedWithoutABox)
{
    // Wine answers a selection too long for the block with success and the block filled
    // to its last byte: here the last name is cut, or the list's closing empty string
    // is missing. Every name repeats the first, so reading any of it would show boxes.
    std::string names = "C:\\d";
    names += '\0';
    while (names.size() < SELECTION_SIZE + 20)
        names += std::string("aaaa.obj") + '\0';
    std::string lastNameCut = names.substr(0, SELECTION_SIZE);
    ASSERT_NE(lastNameCut.back(), '\0');

    // The last name's NUL is the block's last byte: no room for the closing empty string.
    std::string unclosed = "C:\\d" + std::string(1, '\0') + "b.obj" + std::string(1, '\0');
    unclosed += std::string(SELECTION_SIZE - unclosed.size() - 5, 'x') + ".obj" + std::string(1, '\0');
    ASSERT_EQ(unclosed.size(), static_cast<size_t>(SELECTION_SIZE));

    std::string singleUnclosed = "C:\\d\\" + std::string(SELECTION_SIZE - 10, 'x') + ".obj" + std::string(1, '\0');
    ASSERT_EQ(singleUnclosed.size(), static_cast<size_t>(SELECTION_SIZE));

    for (const std::string& selection : {lastNameCut, unclosed, singleUnclosed}) {
        std::vector<char> slots(PATTERN_TABLE_SIZE, '\0');
        MessageBoxRecorder recorder;
        EXPECT_EQ(CollectExtensionPatterns(selection.data(), SELECTION_SIZE, slots.data()), SELECTION_REFUSED);
        EXPECT_TRUE(recorder.boxes().empty());
        EXPECT_TRUE(IsZeroFilled(slots));
    }
}

TEST(CollectExtensionPatterns, ListEndingOnTheBlocksLastByteIsWhole)
{
    std::string selection = "C:\\d" + std::string(1, '\0') + "b.res" + std::string(1, '\0');
    selection += std::string(SELECTION_SIZE - selection.size() - 6, 'x') + ".obj" + std::string(2, '\0');
    ASSERT_EQ(selection.size(), static_cast<size_t>(SELECTION_SIZE));
    std::vector<char> slots(PATTERN_TABLE_SIZE, '\0');
    MessageBoxRecorder recorder;
    ASSERT_EQ(CollectExtensionPatterns(selection.data(), SELECTION_SIZE, slots.data()), 2);
    EXPECT_EQ(SlotsOf(slots, 2), (std::vector<std::string>{"*.res", "*.obj"}));
}

std::vector<char> Table(const std::vector<std::string>& patterns)
{
    std::vector<char> table(PATTERN_TABLE_SIZE, '\0');
    for (size_t i = 0; i < patterns.size(); ++i)
        lstrcpynA(&table[i * PATTERN_SLOT_SIZE], patterns[i].c_str(), PATTERN_SLOT_SIZE);
    return table;
}

TEST(JoinPatterns, JoinsWholePatternsThatFitAndLeavesTheRestOut)
{
    // Fifty-two patterns of five characters: 311 characters joined, more than a box holds.
    std::vector<std::string> many;
    std::string fitting;
    for (int i = 0; i < 52; ++i) {
        char pattern[8];
        wsprintfA(pattern, "*.a%02d", i);
        many.push_back(pattern);
        if (fitting.size() + 1 + 5 <= 259)
            fitting += (fitting.empty() ? "" : ";") + std::string(pattern);
    }
    ASSERT_EQ(fitting.size(), 257u);  // 43 patterns; the 44th would make 263

    struct Case {
        const char* what;
        std::vector<std::string> slots;
        int count;
        int capacity;
        std::string joined;
    };
    const Case cases[] = {
        {"two", {"*.obj", "*.res"}, 2, 260, "*.obj;*.res"},
        {"one", {"*.obj"}, 1, 260, "*.obj"},
        {"none", {}, 0, 260, ""},
        {"just fits", {"*.a", "*.b"}, 2, 8, "*.a;*.b"},
        {"one character short", {"*.a", "*.b"}, 2, 7, "*.a"},
        {"first too long", {"*.abcdef", "*.b"}, 2, 8, ""},
        {"nothing behind a pattern left out", {"*.abc", "*.defgh", "*.x"}, 3, 10, "*.abc"},
        {"too many for the box", many, 52, 260, fitting},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<char> slots = Table(c.slots);
        std::string patterns(static_cast<size_t>(c.capacity) + 8, '#');
        JoinPatterns(slots.data(), c.count, &patterns[0], c.capacity, ";");
        EXPECT_EQ(patterns.c_str(), c.joined);
        EXPECT_EQ(patterns.substr(static_cast<size_t>(c.capacity)), std::string(8, '#')) << "written past capacity";
    }
}

}  // namespace
