// The summary question's text, composed in process.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "engine/deletion_run.h"

namespace {

std::string Compose(const std::string& patterns, const std::string& folder, OptionFlags options)
{
    int capacity = SummaryCapacity(patterns.c_str(), folder.c_str());
    // Guard bytes behind the block show any write past it.
    std::vector<char> block(static_cast<size_t>(capacity) + 16, '#');
    ComposeSummary(block.data(), capacity, patterns.c_str(), folder.c_str(), options);
    for (size_t i = static_cast<size_t>(capacity); i < block.size(); ++i)
        EXPECT_EQ(block[i], '#') << "written past the block at " << i;
    EXPECT_EQ(strlen(block.data()) + 1, static_cast<size_t>(capacity) - (options == 0 ? 0 : options == 3 ? 14 : 7))
        << "the block is sized for the longest option wording, and no more";
    return block.data();
}

TEST(Summary, FourLinesForEachPairOfOptions)
{
    struct Case { OptionFlags options; const char* third; const char* fourth; size_t fixed; };
    for (const Case& c : {Case{0, "On ne fait pas du récursif", "et on ne demande pas une confirmation", 105},
                          Case{OPT_RECURSE, "On fait du récursif", "et on ne demande pas une confirmation", 98},
                          Case{OPT_CONFIRM, "On ne fait pas du récursif", "et on demande une confirmation", 98},
                          Case{OPT_RECURSE | OPT_CONFIRM, "On fait du récursif", "et on demande une confirmation", 91}}) {
        SCOPED_TRACE(c.options);
        std::string text = Compose("*.obj", "C:\\Src\\", c.options);
        EXPECT_EQ(text, std::string("On va effacer les fichiers *.obj\nà partir de C:\\Src\\\n") + c.third + "\n" + c.fourth);
        EXPECT_EQ(text.size(), c.fixed + 5 + 7);
    }
}

TEST(Summary, TextsOfAnyLengthAreShownWholeAndUnchanged)
{
    struct Case { std::string patterns, folder; };
    for (const Case& c : {Case{"", "\\"}, Case{std::string(259, 'p'), std::string(260, 'f')},
                          Case{std::string(3000, ';'), std::string(2000, 'f')},
                          Case{"%s%d %2.2d", "C:\\100%\\"}}) {
        SCOPED_TRACE(c.patterns.size());
        std::string text = Compose(c.patterns, c.folder, OPT_RECURSE);
        EXPECT_EQ(text, "On va effacer les fichiers " + c.patterns + "\nà partir de " + c.folder +
                            "\nOn fait du récursif\net on ne demande pas une confirmation");
    }
}

}  // namespace
