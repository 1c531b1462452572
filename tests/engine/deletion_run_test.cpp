// The summary question's text, composed in process.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "engine/deletion_run.h"

namespace {

// The question with neither option, whose wording is the longest of the four.
std::wstring LongestSummary(const std::wstring& patterns, const std::wstring& folder)
{
    return L"On va effacer les fichiers " + patterns + L"\nà partir de " + folder +
           L"\nOn ne fait pas du récursif\net on ne demande pas une confirmation";
}

std::wstring Compose(const std::wstring& patterns, const std::wstring& folder, OptionFlags options)
{
    int capacity = SummaryCapacity(patterns.c_str(), folder.c_str());
    EXPECT_EQ(static_cast<size_t>(capacity), LongestSummary(patterns, folder).size() + 1)
        << "the block holds the longest question for these texts with its terminator, and no more";
    // Guard characters behind the block show any write past it.
    std::vector<WCHAR> block(static_cast<size_t>(capacity) + 16, L'#');
    ComposeSummary(block.data(), capacity, patterns.c_str(), folder.c_str(), options);
    for (size_t i = static_cast<size_t>(capacity); i < block.size(); ++i)
        EXPECT_EQ(block[i], L'#') << "written past the block at " << i;
    return block.data();
}

TEST(Summary, FourLinesForEachPairOfOptions)
{
    struct Case { OptionFlags options; const wchar_t* third; const wchar_t* fourth; size_t fixed; };
    for (const Case& c : {Case{0, L"On ne fait pas du récursif", L"et on ne demande pas une confirmation", 105},
                          Case{OPT_RECURSE, L"On fait du récursif", L"et on ne demande pas une confirmation", 98},
                          Case{OPT_CONFIRM, L"On ne fait pas du récursif", L"et on demande une confirmation", 98},
                          Case{OPT_RECURSE | OPT_CONFIRM, L"On fait du récursif", L"et on demande une confirmation", 91}}) {
        SCOPED_TRACE(c.options);
        std::wstring text = Compose(L"*.obj", L"C:\\Src\\", c.options);
        EXPECT_EQ(text, std::wstring(L"On va effacer les fichiers *.obj\nà partir de C:\\Src\\\n") + c.third + L"\n" + c.fourth);
        EXPECT_EQ(text.size(), c.fixed + 5 + 7);
    }
}

TEST(Summary, TextsOfAnyLengthAndScriptAreShownWholeAndUnchanged)
{
    struct Case { std::wstring patterns, folder; };
    for (const Case& c : {Case{L"", L"C:\\"}, Case{std::wstring(259, L'p'), std::wstring(260, L'f')},
                          Case{std::wstring(3000, L';'), std::wstring(2000, L'f')},
                          Case{L"%s%d %2.2d", L"C:\\100%\\"},
                          Case{L"Ω*.obj;日本.obj", L"C:\\Проект\\"}}) {
        SCOPED_TRACE(c.patterns.size());
        std::wstring text = Compose(c.patterns, c.folder, OPT_RECURSE);
        EXPECT_EQ(text, L"On va effacer les fichiers " + c.patterns + L"\nà partir de " + c.folder +
                            L"\nOn fait du récursif\net on ne demande pas une confirmation");
    }
}

}  // namespace
