#include "support/question_answerer.h"

#include <gtest/gtest.h>

#include <memory>

#include "driver/app_driver.h"

namespace {

QuestionAnswerer* g_active;
const char ANSWERED[] = "BrumixTestAnswered";
const char SUMMARY_CAPTION[] = "Veuillez confirmer";

// The watchdog looks every second, and gives up on a dialog that three looks in a row found
// open: the hook answers a box as soon as it is made.
constexpr UINT WATCH_MS = 1000;
constexpr int WATCH_LOOKS = 3;

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam)
{
    reinterpret_cast<std::set<HWND>*>(lParam)->insert(window);
    return TRUE;
}

std::set<HWND> ThreadWindows()
{
    std::set<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string Text(HWND window)
{
    char text[2048] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace

QuestionAnswerer::QuestionAnswerer(Decide decide) : decide_(std::move(decide)), before_(ThreadWindows())
{
    g_active = this;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, HookProc, nullptr, GetCurrentThreadId());
    watchdog_ = SetTimer(nullptr, 0, WATCH_MS, Watch);
}

QuestionAnswerer::~QuestionAnswerer()
{
    KillTimer(nullptr, watchdog_);
    UnhookWindowsHookEx(hook_);
    g_active = nullptr;
}

void CALLBACK QuestionAnswerer::Watch(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_active != nullptr)
        g_active->LookForUnanswered();
}

void QuestionAnswerer::LookForUnanswered()
{
    // A box answered at once is gone before the next look: this thread takes the posted
    // answer before the timer's message. One still there three looks later was left
    // unanswered, or ignored its answer.
    std::map<HWND, int> still;
    for (HWND window : ThreadWindows()) {
        char className[64] = "";
        GetClassNameA(window, className, sizeof className);
        if (before_.count(window) || !IsWindowVisible(window) || lstrcmpA(className, "#32770") != 0)
            continue;
        int looks = still[window] = unanswered_[window] + 1;
        if (looks == WATCH_LOOKS) {
            HWND text = GetDlgItem(window, 0xFFFF);
            ADD_FAILURE() << "a dialog of the code under test stayed open unanswered: \"" << Text(window) << "\""
                          << (text != nullptr ? ", \"" + Text(text) + "\"" : std::string()) << "; closed with Cancel";
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        } else if (looks == 2 * WATCH_LOOKS) {
            EndDialog(window, IDCANCEL);
        }
    }
    unanswered_.swap(still);
}

LRESULT CALLBACK QuestionAnswerer::HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    // A box is read once its WM_INITDIALOG has returned: its text, buttons and place are
    // set then. It may be activated before (Wine activates a task-modal box before its
    // text is set).
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && g_active != nullptr && call->message == WM_INITDIALOG)
        g_active->Handle(call->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void QuestionAnswerer::Handle(HWND box)
{
    // Each box is answered once, marked on the window itself, since handles are reused.
    // Only a box of this thread is its to answer, never another program's (Wine tells a
    // thread's hooks of more than its own windows).
    if (driver::ClassName(box) != "#32770" || GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId() ||
        !driver::IsMessageBox(box) || GetPropA(box, ANSWERED) != nullptr)
        return;
    SetPropA(box, ANSWERED, reinterpret_cast<HANDLE>(1));

    QuestionSeen question;
    question.caption = Text(box);
    // The question dialog's text box breaks its lines with "\r\n": read as a message box's.
    question.text = driver::MessageText(box);
    question.utf8Text = driver::MessageUtf8Text(box);
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDTRYAGAIN, IDCONTINUE})
        // The box itself may not show yet: look at the buttons' own style.
        if (GetDlgItem(box, id) != nullptr && (GetWindowLongA(GetDlgItem(box, id), GWL_STYLE) & WS_VISIBLE))
            question.buttons.push_back(id);
    LRESULT defaultId = SendMessageA(box, DM_GETDEFID, 0, 0);
    question.defaultButton = HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : 0;
    question.owner = GetWindow(box, GW_OWNER);
    question.window = box;
    GetWindowRect(box, &question.frame);
    seen_.push_back(question);
    int answer = decide_(question);
    PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
}

std::vector<std::string> QuestionAnswerer::Texts(size_t skip) const
{
    std::vector<std::string> texts;
    for (size_t i = skip; i < seen_.size(); ++i)
        texts.push_back(seen_[i].text);
    return texts;
}

std::vector<std::string> QuestionAnswerer::Utf8Texts(size_t skip) const
{
    std::vector<std::string> texts;
    for (size_t i = skip; i < seen_.size(); ++i)
        texts.push_back(seen_[i].utf8Text);
    return texts;
}

QuestionAnswerer::Decide YesToSummaryThen(std::vector<int> answers)
{
    auto next = std::make_shared<size_t>(0);
    return [answers, next](const QuestionSeen& question) {
        if (question.caption == SUMMARY_CAPTION)
            return IDYES;
        return *next < answers.size() ? answers[(*next)++] : IDYES;
    };
}

QuestionAnswerer::Decide YesOnlyTo(std::vector<std::string> fileQuestions)
{
    return [fileQuestions](const QuestionSeen& question) {
        if (question.caption == SUMMARY_CAPTION)
            return IDYES;
        for (const std::string& named : fileQuestions)
            if (question.text == named || question.utf8Text == named)
                return IDYES;
        return IDCANCEL;
    };
}

QuestionAnswerer::Decide OkToEveryBox()
{
    return [](const QuestionSeen&) { return IDOK; };
}

std::string FileQuestion(const std::string& path)
{
    return "D'accord pour détruire\n" + path + "\n?";
}

std::string FileQuestionUtf8(const std::string& utf8Path)
{
    return "D'accord pour d\xC3\xA9truire\n" + utf8Path + "\n?";
}
