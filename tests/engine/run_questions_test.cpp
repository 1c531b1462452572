// The questions a run asks, in the test's own process: when a message box would not fit
// the screen, the question dialog that asks in its place, and the message that stops a run
// on a pattern that can name no file.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "driver/app_driver.h"
#include "engine/deletion_run.h"
#include "engine/run_questions.h"
#include "res/resource.h"
#include "support/question_answerer.h"
#include "support/temp_folder.h"
#include "support/utf8.h"

namespace {

const std::wstring SUMMARY_CAPTION = L"Veuillez confirmer";

bool Inside(const RECT& frame, const RECT& area)
{
    return frame.left >= area.left && frame.top >= area.top && frame.right <= area.right &&
           frame.bottom <= area.bottom;
}

std::wstring Summary(const std::wstring& patterns, const std::wstring& folder)
{
    return L"On va effacer les fichiers " + patterns + L"\n\u00e0 partir de " + folder +
           L"\nOn fait du r\u00e9cursif\net on demande une confirmation";
}

// A ";" list of `count` patterns of a few letters each, with no blank in it.
std::wstring PatternList(int count, const std::wstring& separator = L";")
{
    std::wstring list;
    for (int i = 0; i < count; ++i) {
        WCHAR pattern[16];
        wsprintfW(pattern, L"*.e%04d", i);
        list += (i > 0 ? separator : L"") + pattern;
    }
    return list;
}

// A path of `length` characters whose last folder has a name as long as the rest allows:
// no blank, no "\\" or "-" for a line to break at inside it.
std::wstring LongPath(size_t length)
{
    return L"C:\\" + std::wstring(length - 4, L'd') + L"\\";
}

// The measure says a box fits only where the platform's own box does, and it tells the
// texts that make one wider or taller than the screen. Each box is shown for real and its
// frame read as it opens.
TEST(MessageBoxWouldFit, SaysFitsOnlyWhereThePlatformsOwnBoxLiesInsideTheWorkArea)
{
    struct Case { const char* what; std::wstring text; UINT style; bool fits; };
    std::wstring lines;
    for (int i = 0; i < 120; ++i)
        lines += L"une ligne\n";
    const Case cases[] = {
        {"short summary", Summary(L"*.obj;*.res", L"C:\\Src\\"), MB_YESNO | MB_ICONQUESTION, true},
        {"path of 120 characters", Summary(L"*.obj", LongPath(120)), MB_YESNO | MB_ICONQUESTION, true},
        {"path of 250 characters", Summary(L"*.obj", LongPath(250)), MB_YESNO | MB_ICONQUESTION, false},
        {"list of 300 characters", Summary(PatternList(43), L"C:\\Src\\"), MB_YESNO | MB_ICONQUESTION, false},
        {"list of 1,000 characters with blanks", Summary(PatternList(125, L" "), L"C:\\Src\\"),
         MB_YESNO | MB_ICONQUESTION, true},
        {"list of 16,000 characters with blanks", Summary(PatternList(2000, L" "), L"C:\\Src\\"),
         MB_YESNO | MB_ICONQUESTION, false},
        {"120 lines", lines, MB_OK, false},
        {"file question, long path", L"D'accord pour d\u00e9truire\n" + LongPath(250) + L"a.obj\n?", MB_YESNOCANCEL,
         false},
    };
    RECT work = WorkAreaOf(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool fits = MessageBoxWouldFit(c.text.c_str(), c.style, work);
        EXPECT_EQ(fits, c.fits);
        QuestionAnswerer answerer([](const QuestionSeen& box) { return box.buttons.front(); });
        MessageBoxW(nullptr, c.text.c_str(), SUMMARY_CAPTION.c_str(), c.style);
        ASSERT_EQ(answerer.seen().size(), 1u);
        bool inside = Inside(answerer.seen()[0].frame, work);
        if (fits) {
            EXPECT_TRUE(inside) << "said to fit, and shown past the work area's edge";
        }
        // Wine keeps a box as wide and as tall as its text; Windows may wrap a long word.
        if (driver::RunningUnderWine()) {
            EXPECT_EQ(inside, c.fits);
        }
    }
}

// A question too long for a message box: the same caption, icon and text, the text whole
// in a read-only box that wraps inside words and scrolls, Oui (the default) and Non, and
// the whole window inside the work area.
TEST(QuestionDialog, AsksALongSummaryWholeWithOuiAndNonInsideTheWorkArea)
{
    std::wstring summary = Summary(PatternList(3000), LongPath(250));
    RECT work = WorkAreaOf(nullptr);
    ASSERT_FALSE(MessageBoxWouldFit(summary.c_str(), MB_YESNO | MB_ICONQUESTION, work));
    struct Seen {
        bool dialog = false, readOnly = false, wrapsInsideWords = false, scrolls = false, questionIcon = false;
        std::string yes, no;
    } seen;
    QuestionAnswerer answerer([&seen](const QuestionSeen& box) {
        HWND text = GetDlgItem(box.window, IDC_QUESTION_TEXT);
        LONG style = GetWindowLongA(text, GWL_STYLE);
        seen.dialog = driver::IsQuestionDialog(box.window);
        seen.readOnly = (style & ES_READONLY) && (style & ES_MULTILINE);
        seen.scrolls = (style & WS_VSCROLL) != 0;
        // Lines that break inside the list, which has no blank: no horizontal scrolling.
        seen.wrapsInsideWords = !(style & (ES_AUTOHSCROLL | WS_HSCROLL)) &&
                                SendMessageW(text, EM_GETLINECOUNT, 0, 0) > 40 &&
                                SendMessageW(text, EM_LINELENGTH, 0, 0) < 200;
        // Not shown yet: the control's own style tells.
        HWND icon = GetDlgItem(box.window, IDC_QUESTION_ICON);
        seen.questionIcon = icon != nullptr && (GetWindowLongA(icon, GWL_STYLE) & WS_VISIBLE) &&
                            SendMessageW(icon, STM_GETICON, 0, 0) ==
                                reinterpret_cast<LRESULT>(LoadIconA(nullptr, IDI_QUESTION));
        seen.yes = driver::WindowText(GetDlgItem(box.window, IDYES));
        seen.no = driver::WindowText(GetDlgItem(box.window, IDNO));
        return IDYES;
    });
    EXPECT_EQ(AskQuestion(nullptr, summary.c_str(), SUMMARY_CAPTION.c_str(), MB_YESNO | MB_ICONQUESTION), IDYES);
    ASSERT_EQ(answerer.seen().size(), 1u);
    const QuestionSeen& question = answerer.seen()[0];
    EXPECT_TRUE(seen.dialog);
    EXPECT_EQ(question.caption, "Veuillez confirmer");
    EXPECT_EQ(question.utf8Text, Utf8(summary));
    EXPECT_EQ(question.buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(question.defaultButton, IDYES);
    EXPECT_EQ(seen.yes, "Oui");
    EXPECT_EQ(seen.no, "Non");
    EXPECT_TRUE(seen.questionIcon);
    EXPECT_TRUE(seen.readOnly);
    EXPECT_TRUE(seen.scrolls);
    EXPECT_TRUE(seen.wrapsInsideWords);
    EXPECT_TRUE(Inside(question.frame, work));
}

// Each answer of the dialog as a message box of that style gives it; Escape, the close
// box and Alt+F4 (which all come as IDCANCEL) never give Yes.
TEST(QuestionDialog, EachWayOfAnsweringGivesWhatTheMessageBoxWould)
{
    enum Way { BUTTON, ESCAPE_KEY, CLOSE_BOX, ENTER_KEY };
    struct Case { UINT style; Way way; int button; int answer; };
    const Case cases[] = {
        {MB_YESNO | MB_ICONQUESTION, BUTTON, IDYES, IDYES},     {MB_YESNO | MB_ICONQUESTION, BUTTON, IDNO, IDNO},
        {MB_YESNO | MB_ICONQUESTION, ESCAPE_KEY, 0, IDNO},      {MB_YESNO | MB_ICONQUESTION, CLOSE_BOX, 0, IDNO},
        {MB_YESNO | MB_ICONQUESTION, ENTER_KEY, 0, IDYES},      {MB_YESNOCANCEL, BUTTON, IDYES, IDYES},
        {MB_YESNOCANCEL, BUTTON, IDNO, IDNO},                   {MB_YESNOCANCEL, BUTTON, IDCANCEL, IDCANCEL},
        {MB_YESNOCANCEL, ESCAPE_KEY, 0, IDCANCEL},              {MB_YESNOCANCEL, CLOSE_BOX, 0, IDCANCEL},
        {MB_YESNOCANCEL, ENTER_KEY, 0, IDYES},                  {MB_OK | MB_ICONEXCLAMATION, ESCAPE_KEY, 0, IDOK},
        {MB_OK | MB_ICONEXCLAMATION, BUTTON, IDOK, IDOK},
    };
    std::wstring text = L"D'accord pour d\u00e9truire\n" + LongPath(250) + L"a.obj\n?";
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << ", way " << c.way << ", button " << c.button);
        QuestionAnswerer answerer([&c](const QuestionSeen& box) {
            // The first button has the focus once the dialog shows.
            HWND focus = GetDlgItem(box.window, (c.style & MB_TYPEMASK) == MB_OK ? IDOK : IDYES);
            switch (c.way) {
            case BUTTON:
                PostMessageW(GetDlgItem(box.window, c.button), BM_CLICK, 0, 0);
                break;
            case ESCAPE_KEY:
            case ENTER_KEY:
                PostMessageW(focus, WM_KEYDOWN, c.way == ESCAPE_KEY ? VK_ESCAPE : VK_RETURN, 1);
                break;
            case CLOSE_BOX:
                PostMessageW(box.window, WM_SYSCOMMAND, SC_CLOSE, 0);
                break;
            }
            return 0;  // no command of its own: the dialog takes none of id 0
        });
        EXPECT_EQ(AskQuestion(nullptr, text.c_str(), L"Confirmation d'effacement", c.style), c.answer);
        ASSERT_EQ(answerer.seen().size(), 1u);
        EXPECT_TRUE(driver::IsQuestionDialog(answerer.seen()[0].window) || !IsWindow(answerer.seen()[0].window));
        std::vector<int> buttons = (c.style & MB_TYPEMASK) == MB_OK           ? std::vector<int>{IDOK}
                                   : (c.style & MB_TYPEMASK) == MB_YESNO       ? std::vector<int>{IDYES, IDNO}
                                                                               : std::vector<int>{IDCANCEL, IDYES, IDNO};
        EXPECT_EQ(answerer.seen()[0].buttons, buttons);
        EXPECT_EQ(answerer.seen()[0].defaultButton, buttons.size() == 3 ? IDYES : buttons.front());
    }
}

TEST(QuestionDialog, FileQuestionHasOuiNonAnnulerAndNoIcon)
{
    std::wstring text = L"D'accord pour d\u00e9truire\n" + LongPath(3000) + L"a.obj\n?";
    ASSERT_FALSE(MessageBoxWouldFit(text.c_str(), MB_YESNOCANCEL, WorkAreaOf(nullptr)));
    std::vector<std::string> labels;
    bool icon = true;
    QuestionAnswerer answerer([&](const QuestionSeen& box) {
        for (int id : {IDYES, IDNO, IDCANCEL})
            labels.push_back(driver::WindowText(GetDlgItem(box.window, id)));
        HWND iconControl = GetDlgItem(box.window, IDC_QUESTION_ICON);
        icon = iconControl != nullptr && (GetWindowLongA(iconControl, GWL_STYLE) & WS_VISIBLE);
        return IDNO;
    });
    EXPECT_EQ(AskQuestion(nullptr, text.c_str(), L"Confirmation d'effacement", MB_YESNOCANCEL), IDNO);
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].caption, "Confirmation d'effacement");
    EXPECT_EQ(answerer.seen()[0].utf8Text, Utf8(text));
    EXPECT_EQ(labels, (std::vector<std::string>{"Oui", "Non", "Annuler"}));
    EXPECT_FALSE(icon);
    EXPECT_TRUE(Inside(answerer.seen()[0].frame, WorkAreaOf(nullptr)));
}

TEST(QuestionDialog, LineBreaksBecomeThoseOfAnEditBox)
{
    struct Case { const wchar_t* text; const wchar_t* shown; };
    for (const Case& c : {Case{L"", L""}, Case{L"a", L"a"}, Case{L"a\nb\n?", L"a\r\nb\r\n?"},
                          Case{L"\n\n", L"\r\n\r\n"}, Case{L"a\r\nb", L"a\r\nb"}}) {
        WCHAR* shown = WithEditLineBreaks(c.text);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(std::wstring(shown), c.shown) << Utf8(c.text);
        GlobalFree(shown);
    }
}

std::wstring Fault(const std::wstring& pattern, PatternFault fault, WCHAR character)
{
    WCHAR* message = ComposePatternFault(pattern.c_str(), fault, character);
    std::wstring text = message != nullptr ? message : L"(none)";
    if (message != nullptr)
        GlobalFree(message);
    return text;
}

TEST(PatternFaultMessage, NamesThePatternAsTypedAndWhatIsWrongWithItInFrench)
{
    const std::wstring start = L"Le motif \u00ab\u00a0";
    const std::wstring middle = L"\u00a0\u00bb ne peut d\u00e9signer aucun fichier\u00a0: ";
    const std::wstring end = L"\n\nRien n'a \u00e9t\u00e9 effac\u00e9.";
    struct Case { std::wstring pattern; PatternFault fault; WCHAR character; std::wstring reason; };
    const Case cases[] = {
        {L"sub\\*.obj", PATTERN_FOLDER_PART, L'\\',
         L"il contient un chemin ou un lecteur. Un motif ne d\u00e9signe que des fichiers du r\u00e9pertoire "
         L"\u00e0 parcourir."},
        {L"a|b", PATTERN_FORBIDDEN_CHARACTER, L'|',
         L"il contient \u00ab\u00a0|\u00a0\u00bb, qu'aucun nom de fichier ne peut contenir."},
        {L"*.o\tbj", PATTERN_FORBIDDEN_CHARACTER, L'\t',
         L"il contient un caract\u00e8re de contr\u00f4le (code 9), qu'aucun nom de fichier ne peut contenir."},
        {L"\"\"", PATTERN_EMPTY, L'\0', L"il n'y a rien entre ses guillemets."},
        {std::wstring(5000, L'x') + L"|", PATTERN_FORBIDDEN_CHARACTER, L'|',
         L"il contient \u00ab\u00a0|\u00a0\u00bb, qu'aucun nom de fichier ne peut contenir."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.pattern.substr(0, 40)));
        EXPECT_EQ(Fault(c.pattern, c.fault, c.character), start + c.pattern + middle + c.reason + end);
    }
}

// A pattern that can name no file stops the run before the summary question, with one
// message naming it; nothing is deleted. A pattern in one pair of quotes names what is
// inside them.
TEST(PatternFaultRun, StopsBeforeTheSummaryAndDeletesNothing)
{
    TempFolder root;
    root.MakeFile("a.obj");
    root.MakeFile("sub\\b.obj");
    struct Case { std::string patterns, named; };
    const Case cases[] = {
        {"*.obj;sub\\*.obj", "sub\\*.obj"}, {"C:\\*.obj", "C:\\*.obj"},    {"a|b *.obj", "a|b"},
        {"\"*.obj", "\"*.obj"},             {"*.obj \"\"", "\"\""},        {"<*.obj", "<*.obj"},
        {"*.obj\x01", "*.obj\x01"},         {"\"sub/x\"", "\"sub/x\""},    {"x:y", "x:y"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.patterns);
        QuestionAnswerer answerer([](const QuestionSeen& box) { return box.buttons.front(); });
        RunDeletion(nullptr, Wide(root.path()).c_str(), Wide(c.patterns).c_str(), OPT_RECURSE);
        ASSERT_EQ(answerer.seen().size(), 1u);
        EXPECT_EQ(answerer.seen()[0].caption, "Brumix");
        EXPECT_EQ(answerer.seen()[0].buttons, std::vector<int>{IDOK});
        EXPECT_EQ(answerer.seen()[0].text.find("Le motif \xAB\xA0" + c.named + "\xA0\xBB ne peut"), 0u)
            << answerer.seen()[0].text;
        EXPECT_EQ(root.Files(), (std::vector<std::string>{"a.obj", "sub\\b.obj"}));
    }
}

TEST(PatternFaultRun, PatternsInQuotesNameWhatIsInside)
{
    TempFolder root;
    root.MakeFile("a.obj");
    root.MakeFile("b.res");
    root.MakeFile("c.txt");
    QuestionAnswerer answerer([](const QuestionSeen&) { return IDYES; });
    RunDeletion(nullptr, Wide(root.path()).c_str(), L"\"*.obj\";\"b.res\"", 0);
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].caption, "Veuillez confirmer");
    EXPECT_EQ(answerer.seen()[0].text.find("On va effacer les fichiers \"*.obj\";\"b.res\"\n"), 0u);
    EXPECT_EQ(root.Files(), std::vector<std::string>{"c.txt"});
}

}  // namespace
