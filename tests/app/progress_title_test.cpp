// The title that a run shows while it lasts, composed in process.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/progress_title.h"
#include "engine/deletion_run.h"

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

#define STOP_HINT L" \u2014 \u00c9chap pour arr\u00eater"

TEST(ProgressTitle, FrenchWordsAndThousandsGroupedWithNoBreakSpacesThenHowToStop)
{
    struct Case { LONG count; const wchar_t* title; };
    for (const Case& c : {Case{0, L"Brumix \u2014 0 fichier effac\u00e9" STOP_HINT},
                          Case{1, L"Brumix \u2014 1 fichier effac\u00e9" STOP_HINT},
                          Case{2, L"Brumix \u2014 2 fichiers effac\u00e9s" STOP_HINT},
                          Case{999, L"Brumix \u2014 999 fichiers effac\u00e9s" STOP_HINT},
                          Case{1000, L"Brumix \u2014 1\u00a0000 fichiers effac\u00e9s" STOP_HINT},
                          Case{12345, L"Brumix \u2014 12\u00a0345 fichiers effac\u00e9s" STOP_HINT},
                          Case{200000, L"Brumix \u2014 200\u00a0000 fichiers effac\u00e9s" STOP_HINT},
                          Case{1234567, L"Brumix \u2014 1\u00a0234\u00a0567 fichiers effac\u00e9s" STOP_HINT},
                          Case{2147483647,
                               L"Brumix \u2014 2\u00a0147\u00a0483\u00a0647 fichiers effac\u00e9s" STOP_HINT}}) {
        SCOPED_TRACE(c.count);
        EXPECT_EQ(Compose(c.count), c.title);
    }
}

TEST(ProgressTitle, BeforeTheFirstCountTheTitleSaysHowToStop)
{
    std::vector<WCHAR> block(PROGRESS_TITLE_CAPACITY + 16, L'#');
    ComposeStopHintTitle(block.data(), PROGRESS_TITLE_CAPACITY);
    EXPECT_EQ(std::wstring(block.data()), L"Brumix" STOP_HINT);
    for (size_t i = PROGRESS_TITLE_CAPACITY; i < block.size(); ++i)
        EXPECT_EQ(block[i], L'#') << "written past the block at " << i;
}

TEST(ProgressTitle, AShortBlockIsFilledAndNeverOverrun)
{
    EXPECT_EQ(Compose(12345, 14), L"Brumix \u2014 12\u00a03");
    EXPECT_EQ(Compose(12345, 1), L"");
}

std::wstring TitleOf(HWND window)
{
    WCHAR title[PROGRESS_TITLE_CAPACITY * 2] = L"";
    GetWindowTextW(window, title, PROGRESS_TITLE_CAPACITY * 2);
    return title;
}

// The timer's work as the walk goes on: the hint as soon as the walk is under way, the
// count with it from FIRST_PROGRESS_MS on, and the plain name once the run is over.
TEST(ProgressTitle, TheHintShowsFromTheWalksStartAndTheCountJoinsItLater)
{
    HWND window = CreateWindowW(L"STATIC", L"Brumix", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    StartProgressTitle(window);

    g_runProgress.walking = false;
    UpdateProgressTitle(window);
    EXPECT_EQ(TitleOf(window), L"Brumix") << "the summary question is still up: no walk yet";

    g_runProgress.filesDeleted = 3;
    g_runProgress.walkStart = GetTickCount();
    g_runProgress.walking = true;
    UpdateProgressTitle(window);
    EXPECT_EQ(TitleOf(window), L"Brumix" STOP_HINT) << "no count before FIRST_PROGRESS_MS";

    g_runProgress.walkStart = GetTickCount() - FIRST_PROGRESS_MS - 1;
    UpdateProgressTitle(window);
    EXPECT_EQ(TitleOf(window), L"Brumix \u2014 3 fichiers effac\u00e9s" STOP_HINT);

    g_runProgress.walking = false;
    g_runProgress.filesDeleted = 0;
    EndProgressTitle(window);
    EXPECT_EQ(TitleOf(window), L"Brumix");
    DestroyWindow(window);
}

}  // namespace
