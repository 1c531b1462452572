// Answers the message boxes that the test's own thread shows, as a person would: a WH_CBT
// hook sees each box once it is made, reads it, and posts the answer that `decide` gives.
// Only one may be active at a time.
#ifndef BRUMIX_TESTS_QUESTION_ANSWERER_H
#define BRUMIX_TESTS_QUESTION_ANSWERER_H

#include <windows.h>

#include <functional>
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
    void Handle(HWND box);

    Decide decide_;
    HHOOK hook_ = nullptr;
    std::vector<QuestionSeen> seen_;
};

// Decisions for the common cases: the summary question is answered Yes, and each file
// question gets the next answer of the list (Yes once the list runs out).
QuestionAnswerer::Decide YesToSummaryThen(std::vector<int> answers);

// The text of a file question for this path, in the ANSI code page and in UTF-8.
std::string FileQuestion(const std::string& path);
std::string FileQuestionUtf8(const std::string& utf8Path);

#endif
