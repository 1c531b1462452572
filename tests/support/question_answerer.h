// Answers the message boxes that the test's own thread shows, as a person would (and the
// program's question dialog, which asks a text too long for a message box in its place): a
// hook sees each box once it has been made and filled in, reads it, and posts the answer
// that `decide` gives.
// Only one may be active at a time.
//
// A watchdog looks, from a thread timer that fires inside any modal loop, for a dialog of
// the thread that has stayed open (one the hook could not read as a message box, or one
// that ignored its answer): it fails the test, naming the dialog, and closes it with
// Cancel, so that the run under test ends in seconds rather than at CTest's timeout.
#ifndef BRUMIX_TESTS_QUESTION_ANSWERER_H
#define BRUMIX_TESTS_QUESTION_ANSWERER_H

#include <windows.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

struct QuestionSeen {
    std::string caption;
    std::string text;        // as an ANSI program reads it
    std::string utf8Text;    // as the box shows it, every character kept
    std::vector<int> buttons;  // ids of the buttons it shows, ascending
    int defaultButton = 0;
    HWND owner = nullptr;
    HWND window = nullptr;   // gone once answered; `decide` may look at it
    RECT frame = {};         // where it shows, in screen coordinates
};

class QuestionAnswerer {
public:
    // Gives the id to answer with (IDYES, IDNO, IDCANCEL, ...).
    typedef std::function<int(const QuestionSeen&)> Decide;

    explicit QuestionAnswerer(Decide decide);
    ~QuestionAnswerer();
    QuestionAnswerer(const QuestionAnswerer&) = delete;
    QuestionAnswerer& operator=(const QuestionAnswerer&) = delete;

    const std::vector<QuestionSeen>& seen() const { return seen_; }
    // The texts of the questions seen after the first `skip` (the summary, usually).
    std::vector<std::string> Texts(size_t skip = 0) const;
    std::vector<std::string> Utf8Texts(size_t skip = 0) const;

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK Watch(HWND, UINT, UINT_PTR, DWORD);
    void Handle(HWND box);
    void LookForUnanswered();

    Decide decide_;
    HHOOK hook_ = nullptr;
    UINT_PTR watchdog_ = 0;
    std::set<HWND> before_;          // the thread's windows when it began: not its to answer
    std::map<HWND, int> unanswered_;  // dialogs still open, and for how many looks
    std::vector<QuestionSeen> seen_;
};

// Decisions for the common cases: the summary question is answered Yes, and each file
// question gets the next answer of the list (Yes once the list runs out).
QuestionAnswerer::Decide YesToSummaryThen(std::vector<int> answers);
// The summary Yes, each file question of this list (texts as FileQuestion gives them, or
// in UTF-8) Yes, and any other Cancel: a run that reaches a file the test did not name
// stops there without deleting it.
QuestionAnswerer::Decide YesOnlyTo(std::vector<std::string> fileQuestions);
// OK to every box, for code that only tells something.
QuestionAnswerer::Decide OkToEveryBox();

// The text of a file question for this path, in the ANSI code page and in UTF-8.
std::string FileQuestion(const std::string& path);
std::string FileQuestionUtf8(const std::string& utf8Path);

#endif
