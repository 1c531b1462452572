// The title that a run shows while it lasts, composed in process.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/progress_title.h"

namespace {

std::wstring Compose(LONG count, int capacity = PROGRESS_TITLE_CAPACITY)
{
    // Guard characters behind the block show any write past it.
    std::vector<WCHAR> block(static_cast<size_t>(capacity) + 16, L'#');
    ComposeProgressTitle(block.data(), capacity, count);
    for (size_t i = static_cast<size_t>(capacity); i < block.size(); ++i)
        EXPECT_EQ(block[i], L'#') << "written past the block at " << i;
    return block.data();
}

TEST(ProgressTitle, FrenchWordsAndThousandsGroupedWithNoBreakSpaces)
{
    struct Case { LONG count; const wchar_t* title; };
    for (const Case& c : {Case{0, L"Brumix \u2014 0 fichier effac\u00e9"},
                          Case{1, L"Brumix \u2014 1 fichier effac\u00e9"},
                          Case{2, L"Brumix \u2014 2 fichiers effac\u00e9s"},
                          Case{999, L"Brumix \u2014 999 fichiers effac\u00e9s"},
                          Case{1000, L"Brumix \u2014 1\u00a0000 fichiers effac\u00e9s"},
                          Case{12345, L"Brumix \u2014 12\u00a0345 fichiers effac\u00e9s"},
                          Case{200000, L"Brumix \u2014 200\u00a0000 fichiers effac\u00e9s"},
                          Case{1234567, L"Brumix \u2014 1\u00a0234\u00a0567 fichiers effac\u00e9s"},
                          Case{2147483647, L"Brumix \u2014 2\u00a0147\u00a0483\u00a0647 fichiers effac\u00e9s"}}) {
        SCOPED_TRACE(c.count);
        EXPECT_EQ(Compose(c.count), c.title);
    }
}

TEST(ProgressTitle, AShortBlockIsFilledAndNeverOverrun)
{
    EXPECT_EQ(Compose(12345, 14), L"Brumix \u2014 12\u00a03");
    EXPECT_EQ(Compose(12345, 1), L"");
}

}  // namespace
