// The help text resource: its type, its bytes and its outline.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "help_text_resource.h"
#include "support/dialog_template.h"

namespace {

constexpr int LINE_COUNT = 35;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    if (start != text.size())
        lines.push_back(text.substr(start));  // a last line with no line end
    return lines;
}

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

TEST(HelpText, IsFrenchRawDataWithNoTerminator)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(module, RT_RCDATA, MAKEINTRESOURCEA(IDR_HELP_TEXT),
                                  MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH));
    ASSERT_NE(found, nullptr) << "no French RT_RCDATA resource 1";
    EXPECT_EQ(IDR_HELP_TEXT, 1);

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
    EXPECT_EQ(carriageReturns, LINE_COUNT);
    EXPECT_EQ(lineFeeds, LINE_COUNT);
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
    std::vector<std::string> lines = Lines(HelpTextResource());
    ASSERT_EQ(lines.size(), static_cast<size_t>(LINE_COUNT));

    const std::set<int> empty = {1, 5, 8, 9, 11, 14, 19, 22, 25, 26, 29, 32, 34};
    for (int i = 0; i < LINE_COUNT; ++i)
        EXPECT_EQ(lines[i].empty(), empty.count(i) == 1) << "line " << i + 1 << ": \"" << lines[i] << "\"";

    EXPECT_EQ(lines[0], "BRUMIX");
    EXPECT_NE(lines[2].find("freeware"), std::string::npos) << lines[2];
    EXPECT_NE(lines[3].find("résidus"), std::string::npos) << lines[3];
    EXPECT_EQ(lines[4], "fichiers .obj, .res, .map, .sym, ...");
    EXPECT_EQ(lines[6], "! Attention !");
    EXPECT_NE(lines[7].find("corbeille"), std::string::npos) << lines[7];
    EXPECT_EQ(lines[10], "COMMANDES");
    EXPECT_NE((lines[16] + lines[17] + lines[18]).find("*.obj;*.res;*.map;*.sym;*.bak"), std::string::npos);
    EXPECT_EQ(lines[27], "ATTENTION !");
    EXPECT_NE(lines[28].find("corbeille"), std::string::npos) << lines[28];
    EXPECT_NE((lines[30] + lines[31]).find("Nuvaro"), std::string::npos);
    EXPECT_EQ(lines[33], "\toOo");
}

TEST(HelpText, EntryHeadingsRepeatTheMainDialogLabelsAfterByteF7)
{
    std::vector<std::string> lines = Lines(HelpTextResource());
    ASSERT_EQ(lines.size(), static_cast<size_t>(LINE_COUNT));
    std::vector<std::string> headings = EntryHeadingsFromTheMainDialog();
    ASSERT_EQ(headings.size(), 4u);
    EXPECT_EQ(headings[0], "÷ Répertoire à parcourir:");
    EXPECT_EQ(headings[3], "÷ Demander une confirmation avant l'effacement:");

    const int headingLines[] = {12, 15, 20, 23};
    for (int i = 0; i < 4; ++i) {
        const std::string& line = lines[headingLines[i]];
        EXPECT_EQ(line, headings[i]) << "line " << headingLines[i] + 1;
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(static_cast<unsigned char>(line[0]), 0xF7);
    }
    int headingsSeen = 0;
    for (const std::string& line : lines)
        headingsSeen += !line.empty() && static_cast<unsigned char>(line[0]) == 0xF7;
    EXPECT_EQ(headingsSeen, 4);
}

}  // namespace
