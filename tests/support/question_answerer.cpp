#include "support/question_answerer.h"

#include <memory>

#include "support/utf8.h"

namespace {

QuestionAnswerer* g_active;
const char ANSWERED[] = "BrumixTestAnswered";

std::string Text(HWND window)
{
    char text[2048] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string Utf8Text(HWND window)
{
    wchar_t text[4096] = L"";
    GetWindowTextW(window, text, 4096);
    return Utf8(text);
}

}  // namespace

QuestionAnswerer::QuestionAnswerer(Decide decide) : decide_(std::move(decide))
{
    g_active = this;
    hook_ = SetWindowsHookExA(WH_CBT, HookProc, nullptr, GetCurrentThreadId());
}

QuestionAnswerer::~QuestionAnswerer()
{
    UnhookWindowsHookEx(hook_);
    g_active = nullptr;
}

LRESULT CALLBACK QuestionAnswerer::HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && g_active != nullptr)
        g_active->Handle(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void QuestionAnswerer::Handle(HWND box)
{
    char className[64] = "";
    GetClassNameA(box, className, sizeof className);
    // A box is activated again when a window in front of it goes: answer it once.
    // A mark on the window itself, since window handles are reused.
    // Wine also tells this thread's hook of another program's box taking the activation
    // from it (a run of brumix.exe in a test beside this one): that box is not ours.
    if (lstrcmpA(className, "#32770") != 0 || GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId() ||
        GetPropA(box, ANSWERED) != nullptr || GetDlgItem(box, 0xFFFF) == nullptr)
        return;
    SetPropA(box, ANSWERED, reinterpret_cast<HANDLE>(1));

    QuestionSeen question;
    question.caption = Text(box);
    question.text = Text(GetDlgItem(box, 0xFFFF));
    question.utf8Text = Utf8Text(GetDlgItem(box, 0xFFFF));
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDTRYAGAIN, IDCONTINUE})
        // The box itself may not show yet: look at the buttons' own style.
        if (GetDlgItem(box, id) != nullptr && (GetWindowLongA(GetDlgItem(box, id), GWL_STYLE) & WS_VISIBLE))
            question.buttons.push_back(id);
    LRESULT defaultId = SendMessageA(box, DM_GETDEFID, 0, 0);
    question.defaultButton = HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : 0;
    question.owner = GetWindow(box, GW_OWNER);
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
        if (question.caption == "Veuillez confirmer")
            return IDYES;
        return *next < answers.size() ? answers[(*next)++] : IDYES;
    };
}

std::string FileQuestion(const std::string& path)
{
    return "D'accord pour détruire\n" + path + "\n?";
}

std::string FileQuestionUtf8(const std::string& utf8Path)
{
    return "D'accord pour d\xC3\xA9truire\n" + utf8Path + "\n?";
}
