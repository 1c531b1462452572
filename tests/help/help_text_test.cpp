// The help text resource: its type, its bytes and its outline.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "help_outline.h"
#include "help_text_resource.h"
#include "support/dialog_template.h"

namespace {

// The main dialog's labels, in its order, as the help's entry headings repeat them: the
// two field labels end with " :", the two check boxes with ".".
std::vector<std::string> EntryHeadingsFromTheMainDialog()
{
    DialogTemplate main;
    std::vector<std::string> headings;
    if (!ReadDialogTemplate(GetModuleHandleA(nullptr), IDD_MAIN, main))
        return headings;
    for (const TemplateItem& item : main.items) {
        bool label = item.id == 0xFFFF && item.classOrdinal == 0x82 && !item.text.empty();
        if (!label && item.id != IDC_RECURSE && item.id != IDC_CONFIRM)
            continue;
        std::string text = item.text;
        if (text.size() >= 2 && text.compare(text.size() - 2, 2, " :") == 0)
            text.resize(text.size() - 2);
        else if (!text.empty() && text.back() == '.')
            text.pop_back();
        headings.push_back("\xF7 " + text + ":");
    }
    return headings;
}

static_assert(IDR_HELP_TEXT == 1, "the help text is raw data resource 1");

TEST(HelpText, IsFrenchRawDataWithNoTerminator)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(module, RT_RCDATA, MAKEINTRESOURCEA(IDR_HELP_TEXT),
                                  MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH));
    ASSERT_NE(found, nullptr) << "no French RT_RCDATA resource 1";

    std::string text = HelpTextResource();
    ASSERT_EQ(text.size(), SizeofResource(module, found));
    ASSERT_GT(text.size(), 1000u);
    EXPECT_EQ(text.find('\0'), std::string::npos) << "the size is the text's length alone";
    EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n") << "ends with two line ends";
}

TEST(HelpText, HasThirtyFiveLineEndsAllCrLf)
{
    std::string text = HelpTextResource();
    int carriageReturns = 0, lineFeeds = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            ++carriageReturns;
            EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "lone CR at " << i;
        }
        if (text[i] == '\n') {
            ++lineFeeds;
            EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "lone LF at " << i;
        }
    }
    EXPECT_EQ(carriageReturns, HELP_LINE_COUNT);
    EXPECT_EQ(lineFeeds, HELP_LINE_COUNT);
}

TEST(HelpText, IsPrintableCodePage1252)
{
    // Bytes that code page 1252 leaves undefined would show as boxes; a UTF-8 source that
    // slipped through unconverted would show as "Ã©".
    const std::string undefined = "\x7F\x81\x8D\x8F\x90\x9D";
    std::string text = HelpTextResource();
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        bool control = c < 0x20 && c != '\r' && c != '\n' && c != '\t';
        EXPECT_FALSE(control || undefined.find(static_cast<char>(c)) != std::string::npos)
            << "byte " << int(c) << " at " << i;
    }
    EXPECT_EQ(text.find("\xC3"), std::string::npos) << "UTF-8 bytes in the text";
    EXPECT_NE(text.find("\xE9"), std::string::npos) << "no é";
    EXPECT_NE(text.find("\xE0"), std::string::npos) << "no à";
}

TEST(HelpText, FollowsTheOutlineLineByLine)
{
    ExpectHelpOutline(HelpTextResource());
}

TEST(HelpText, EntryHeadingsRepeatTheMainDialogLabelsAfterByteF7)
{
    std::vector<std::string> lines = HelpLines(HelpTextResource());
    ASSERT_EQ(lines.size(), static_cast<size_t>(HELP_LINE_COUNT));
    std::vector<std::string> headings = EntryHeadingsFromTheMainDialog();
    ASSERT_EQ(headings.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(headings[i], HELP_ENTRY_HEADINGS[i]) << "the main dialog's label " << i + 1;
        EXPECT_EQ(lines[HELP_ENTRY_HEADING_LINES[i]], headings[i]) << "line " << HELP_ENTRY_HEADING_LINES[i] + 1;
    }
    int headingsSeen = 0;
    for (const std::string& line : lines)
        headingsSeen += !line.empty() && static_cast<unsigned char>(line[0]) == 0xF7;
    EXPECT_EQ(headingsSeen, 4);
}

}  // namespace
