// The lines that the help must show word for word, checked in any copy of its text: the
// resource as linked, and the text that the help dialog shows. The rest of the wording is
// the readable source's (res/help.txt), compared whole where the text is shown; so a wrong
// line in the source fails here even when the copies agree with it.
#ifndef BRUMIX_TESTS_HELP_OUTLINE_H
#define BRUMIX_TESTS_HELP_OUTLINE_H

#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "support/utf8.h"

constexpr int HELP_LINE_COUNT = 35;

// The lines of a text whose lines end with CR LF; a last line with no line end too.
inline std::vector<std::string> HelpLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    if (start != text.size())
        lines.push_back(text.substr(start));
    return lines;
}

// A text shown in UTF-8, as code page 1252 holds it (the literals here are 1252).
inline std::string Text1252(const std::string& utf8)
{
    std::wstring wide = Wide(utf8);
    int bytes = WideCharToMultiByte(1252, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(1252, 0, wide.c_str(), static_cast<int>(wide.size()), &text[0], bytes, nullptr, nullptr);
    return text;
}

// The four entry headings: byte 0xF7 ("÷" in code page 1252), a blank, and each input's
// label with the colon straight after its last word.
const char* const HELP_ENTRY_HEADINGS[4] = {
    "\xF7 R\xE9pertoire \xE0 parcourir:",
    "\xF7 Fichiers \xE0 supprimer:",
    "\xF7 Inclure les sous-r\xE9pertoires:",
    "\xF7 Demander une confirmation avant l'effacement:",
};
constexpr int HELP_ENTRY_HEADING_LINES[4] = {12, 15, 20, 23};

// `text` in code page 1252, lines ended by CR LF.
inline void ExpectHelpOutline(const std::string& text)
{
    EXPECT_GE(text.size(), 4u);
    EXPECT_EQ(text.substr(text.size() < 4 ? 0 : text.size() - 4), "\r\n\r\n") << "ends with two line ends";
    size_t lineEnds = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++lineEnds;
    EXPECT_EQ(lineEnds, static_cast<size_t>(HELP_LINE_COUNT));

    std::vector<std::string> lines = HelpLines(text);
    ASSERT_EQ(lines.size(), static_cast<size_t>(HELP_LINE_COUNT));
    const std::set<int> empty = {1, 5, 8, 9, 11, 14, 19, 22, 25, 26, 29, 32, 34};
    for (int i = 0; i < HELP_LINE_COUNT; ++i)
        EXPECT_EQ(lines[i].empty(), empty.count(i) == 1) << "line " << i + 1 << ": \"" << lines[i] << "\"";

    EXPECT_EQ(lines[0], "BRUMIX");
    EXPECT_NE(lines[2].find("freeware"), std::string::npos) << lines[2];
    EXPECT_NE(lines[3].find("r\xE9sidus"), std::string::npos) << lines[3];
    EXPECT_EQ(lines[4], "fichiers .obj, .res, .map, .sym, ...");
    EXPECT_EQ(lines[6], "! Attention !");
    EXPECT_NE(lines[7].find("corbeille"), std::string::npos) << lines[7];
    EXPECT_EQ(lines[10], "COMMANDES");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(lines[HELP_ENTRY_HEADING_LINES[i]], HELP_ENTRY_HEADINGS[i])
            << "line " << HELP_ENTRY_HEADING_LINES[i] + 1;
    EXPECT_NE((lines[16] + lines[17] + lines[18]).find("*.obj;*.res;*.map;*.sym;*.bak"), std::string::npos);
    EXPECT_EQ(lines[27], "ATTENTION !");
    EXPECT_NE(lines[28].find("corbeille"), std::string::npos) << lines[28];
    EXPECT_NE((lines[30] + lines[31]).find("Nuvaro"), std::string::npos);
    EXPECT_EQ(lines[33], "\toOo");
}

#endif
