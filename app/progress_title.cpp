#include "app/progress_title.h"

#include "base/global_block.h"
#include "base/text_append.h"
#include "engine/deletion_run.h"

namespace {

constexpr WCHAR PLAIN_TITLE[] = L"Brumix";
constexpr WCHAR TITLE_START[] = L"Brumix \u2014 ";
// A no-break space between each group of three digits, as French writes large numbers.
// Not the narrow one (U+202F) that French typography prefers: many title-bar fonts,
// Tahoma among them, have no glyph for it and would show a box.
constexpr WCHAR GROUP_SEPARATOR = L'\u00A0';
constexpr WCHAR ONE_FILE[] = L" fichier effac\u00e9";
constexpr WCHAR MANY_FILES[] = L" fichiers effac\u00e9s";
// Escape, like the close box and Alt+F4, stops a run; it is the one a keyboard user has.
constexpr WCHAR STOP_HINT[] = L" \u2014 \u00c9chap pour arr\u00eater";

// The count last put in the title during the run under way; -1 before the first.
LONG g_shownCount = -1;
// Whether the title of the run under way says how to stop it yet.
bool g_stopHintShown;

// The digits of `count`, grouped by three from the right.
void AppendGroupedNumber(WCHAR* text, int capacity, int& length, LONG count)
{
    WCHAR digits[16];
    int digitCount = 0;
    ULONG rest = count > 0 ? static_cast<ULONG>(count) : 0;
    do {
        digits[digitCount++] = static_cast<WCHAR>(L'0' + rest % 10);
        rest /= 10;
    } while (rest != 0);

    WCHAR grouped[24];
    int at = 0;
    for (int i = digitCount - 1; i >= 0; --i) {
        grouped[at++] = digits[i];
        if (i > 0 && i % 3 == 0)
            grouped[at++] = GROUP_SEPARATOR;
    }
    grouped[at] = L'\0';
    AppendText(text, capacity, length, grouped);
}

}  // namespace

void ComposeProgressTitle(WCHAR* title, int capacity, LONG count)
{
    int length = 0;
    title[0] = L'\0';
    AppendText(title, capacity, length, TITLE_START);
    AppendGroupedNumber(title, capacity, length, count);
    // French puts 0 and 1 in the singular.
    AppendText(title, capacity, length, count < 2 ? ONE_FILE : MANY_FILES);
    AppendText(title, capacity, length, STOP_HINT);
}

void ComposeStopHintTitle(WCHAR* title, int capacity)
{
    int length = 0;
    title[0] = L'\0';
    AppendText(title, capacity, length, PLAIN_TITLE);
    AppendText(title, capacity, length, STOP_HINT);
}

namespace {

// The stop hint alone, once per run, as soon as the walk is under way.
void ShowStopHint(HWND window)
{
    if (g_stopHintShown)
        return;
    GlobalBlock title(PROGRESS_TITLE_CAPACITY * sizeof(WCHAR));
    if (!title)
        return;
    ComposeStopHintTitle(title.as<WCHAR>(), PROGRESS_TITLE_CAPACITY);
    SetWindowTextW(window, title.as<WCHAR>());
    g_stopHintShown = true;
}

}  // namespace

void StartProgressTitle(HWND window)
{
    g_shownCount = -1;
    g_stopHintShown = false;
    SetTimer(window, PROGRESS_TIMER_ID, PROGRESS_INTERVAL_MS, nullptr);
}

void EndProgressTitle(HWND window)
{
    KillTimer(window, PROGRESS_TIMER_ID);
    SetWindowTextW(window, PLAIN_TITLE);
    g_shownCount = -1;
    g_stopHintShown = false;
}

void UpdateProgressTitle(HWND window)
{
    // The timer also runs through the summary question, and may fire once more just as
    // the run ends: only a walk under way has a count to show.
    if (!g_runProgress.walking)
        return;
    DWORD elapsed = GetTickCount() - g_runProgress.walkStart;
    if (elapsed < FIRST_PROGRESS_MS) {
        ShowStopHint(window);
        // Due before the next tick of the usual pace: woken just in time for it.
        SetTimer(window, PROGRESS_TIMER_ID, FIRST_PROGRESS_MS - elapsed, nullptr);
        return;
    }
    if (g_shownCount < 0)
        SetTimer(window, PROGRESS_TIMER_ID, PROGRESS_INTERVAL_MS, nullptr);
    LONG count = g_runProgress.filesDeleted;
    if (count == g_shownCount)
        return;
    GlobalBlock title(PROGRESS_TITLE_CAPACITY * sizeof(WCHAR));
    if (!title)
        return;
    ComposeProgressTitle(title.as<WCHAR>(), PROGRESS_TITLE_CAPACITY, count);
    SetWindowTextW(window, title.as<WCHAR>());
    g_shownCount = count;
}
