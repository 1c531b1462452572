#include "engine/run_questions.h"

#include "res/resource.h"

namespace {

// A message box's room around its text, in the message font's average character widths and
// line heights, taken at the larger of the two platforms' layouts (Wine: a margin of two
// characters left of the icon, between icon and text and right of the text, and some four
// lines of margins and buttons; Windows: wider margins and a band of buttons below).
constexpr int SIDE_ROOM_CHARACTERS = 12;
constexpr int LINES_AROUND_TEXT = 8;
// The narrowest line a message box wraps its text at, in average characters: Wine's text
// column (255 to 280 pixels of its 6-pixel average characters). A narrower line only makes
// the measured text taller, never narrower than its widest word, so the box measured is
// never smaller than the one shown.
constexpr int WRAP_CHARACTERS = 44;

constexpr UINT TEXT_LAYOUT = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_LEFT;

// The dialog's margins and buttons, in dialog units, as the template places them.
constexpr int MARGIN_UNITS = 7;
constexpr int BUTTON_WIDTH_UNITS = 50;
constexpr int BUTTON_HEIGHT_UNITS = 14;
constexpr int BUTTON_GAP_UNITS = 6;
// At least this many lines of text show, however short the question.
constexpr int MIN_TEXT_LINES = 3;

// The buttons of each style, first the default, and the answer of Escape and the close box.
struct ButtonSet {
    UINT type;
    int ids[3];
    int count;
    int escapeAnswer;
};
constexpr ButtonSet BUTTON_SETS[] = {
    {MB_OK, {IDOK, 0, 0}, 1, IDOK},
    {MB_YESNO, {IDYES, IDNO, 0}, 2, IDNO},
    {MB_YESNOCANCEL, {IDYES, IDNO, IDCANCEL}, 3, IDCANCEL},
};
constexpr int TEMPLATE_BUTTONS[] = {IDYES, IDNO, IDCANCEL, IDOK};

const ButtonSet* ButtonsOf(UINT style)
{
    for (const ButtonSet& set : BUTTON_SETS)
        if (set.type == (style & MB_TYPEMASK))
            return &set;
    return nullptr;
}

LPCSTR IconOf(UINT style)
{
    switch (style & MB_ICONMASK) {
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    }
    return nullptr;
}

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

// The frame and caption that a dialog's window adds to its client area.
SIZE FrameAround(HWND dialog)
{
    RECT rect = {0, 0, 0, 0};
    if (dialog != nullptr)
        AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    else
        AdjustWindowRectEx(&rect, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, FALSE, WS_EX_DLGMODALFRAME);
    return SIZE{Width(rect), Height(rect)};
}

// The text's height in the edit box once it is `width` pixels wide: the edit's own line
// count, so that it wraps exactly as it shows.
int TextHeightIn(HWND edit, int width, int lineHeight)
{
    RECT window;
    GetWindowRect(edit, &window);
    SetWindowPos(edit, nullptr, 0, 0, width, Height(window), SWP_NOMOVE | SWP_NOZORDER);
    RECT format;
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    int lines = static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
    if (lines < MIN_TEXT_LINES)
        lines = MIN_TEXT_LINES;
    // What the edit takes around its formatting rectangle: border and margins.
    return lines * lineHeight + Height(window) - Height(format);
}

int LineHeightOf(HWND edit)
{
    HDC dc = GetDC(edit);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(edit, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    return metrics.tmHeight > 0 ? static_cast<int>(metrics.tmHeight) : 16;
}

// Sizes the text to show as much as the work area allows, the buttons centred below it,
// the whole window centred in the work area as a message box is, and never past its edges.
void LayOutQuestion(HWND dialog, const ButtonSet& buttons, bool hasIcon)
{
    // Horizontal units on the left and right, vertical ones on the top and bottom.
    RECT units = {MARGIN_UNITS, MARGIN_UNITS, BUTTON_WIDTH_UNITS, BUTTON_HEIGHT_UNITS};
    MapDialogRect(dialog, &units);
    RECT gapUnits = {BUTTON_GAP_UNITS, 0, 0, 0};
    MapDialogRect(dialog, &gapUnits);
    int margin = units.left, buttonWidth = units.right, buttonHeight = units.bottom, gap = gapUnits.left;

    RECT work = WorkAreaOf(GetWindow(dialog, GW_OWNER));
    SIZE frame = FrameAround(dialog);
    HWND icon = GetDlgItem(dialog, IDC_QUESTION_ICON);
    HWND edit = GetDlgItem(dialog, IDC_QUESTION_TEXT);
    RECT iconRect = {0, 0, 0, 0};
    if (hasIcon)
        GetWindowRect(icon, &iconRect);
    int textLeft = margin + (hasIcon ? Width(iconRect) + margin : 0);

    // As wide as the template asks, narrower where the work area is.
    RECT editRect;
    GetWindowRect(edit, &editRect);
    int rowWidth = buttons.count * buttonWidth + (buttons.count - 1) * gap + 2 * margin;
    int clientWidth = textLeft + Width(editRect) + margin;
    if (clientWidth < rowWidth)
        clientWidth = rowWidth;
    if (clientWidth > Width(work) - frame.cx)
        clientWidth = Width(work) - frame.cx;
    int editWidth = clientWidth - textLeft - margin;

    int lineHeight = LineHeightOf(edit);
    int editHeight = TextHeightIn(edit, editWidth, lineHeight);
    int around = frame.cy + 3 * margin + buttonHeight;
    if (editHeight > Height(work) - around)
        editHeight = Height(work) - around;
    if (hasIcon && editHeight < Height(iconRect))
        editHeight = Height(iconRect);
    int clientHeight = margin + editHeight + 2 * margin + buttonHeight;

    if (hasIcon)
        SetWindowPos(icon, nullptr, margin, margin, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(edit, nullptr, textLeft, margin, editWidth, editHeight, SWP_NOZORDER);
    int x = (clientWidth - (buttons.count * buttonWidth + (buttons.count - 1) * gap)) / 2;
    for (int i = 0; i < buttons.count; ++i, x += buttonWidth + gap)
        SetWindowPos(GetDlgItem(dialog, buttons.ids[i]), nullptr, x, margin + editHeight + 2 * margin, buttonWidth,
                     buttonHeight, SWP_NOZORDER);

    int width = clientWidth + frame.cx, height = clientHeight + frame.cy;
    int left = work.left + (Width(work) - width) / 2, top = work.top + (Height(work) - height) / 2;
    if (left < work.left)
        left = work.left;
    if (top < work.top)
        top = work.top;
    SetWindowPos(dialog, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL InitQuestionDialog(HWND dialog, const QuestionRequest& request)
{
    const ButtonSet* buttons = ButtonsOf(request.style);
    if (buttons == nullptr) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    WCHAR* shown = WithEditLineBreaks(request.text);
    if (shown == nullptr) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    SetWindowLongPtrW(dialog, DWLP_USER, static_cast<LONG_PTR>(request.style));
    SetWindowTextW(dialog, request.caption);
    SetDlgItemTextW(dialog, IDC_QUESTION_TEXT, shown);
    GlobalFree(shown);

    LPCSTR iconName = IconOf(request.style);
    HWND icon = GetDlgItem(dialog, IDC_QUESTION_ICON);
    if (iconName != nullptr)
        SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, iconName)), 0);
    else
        DestroyWindow(icon);

    // The buttons the style does not use go, as a message box's do.
    for (int id : TEMPLATE_BUTTONS) {
        bool used = false;
        for (int i = 0; i < buttons->count; ++i)
            used = used || buttons->ids[i] == id;
        if (!used)
            DestroyWindow(GetDlgItem(dialog, id));
    }
    LayOutQuestion(dialog, *buttons, iconName != nullptr);

    // The first button is the default and has the focus, as in a message box; the text is
    // a tab stop before it, to be scrolled and copied from the keyboard.
    HWND first = GetDlgItem(dialog, buttons->ids[0]);
    SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(buttons->ids[0]), 0);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
    return FALSE;
}

// A button of the question ends it with its own id; Escape and the close box, which come
// as IDCANCEL, with the style's answer for them. Anything else (the text box's
// notifications) is no answer.
void AnswerQuestion(HWND dialog, int id)
{
    const ButtonSet* buttons = ButtonsOf(static_cast<UINT>(GetWindowLongPtrW(dialog, DWLP_USER)));
    if (buttons == nullptr)
        return;
    for (int i = 0; i < buttons->count; ++i)
        if (buttons->ids[i] == id) {
            EndDialog(dialog, id);
            return;
        }
    if (id == IDCANCEL)
        EndDialog(dialog, buttons->escapeAnswer);
}

}  // namespace

RECT WorkAreaOf(HWND owner)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return screen;
    }
    return monitor.rcWork;
}

bool MessageBoxWouldFit(const WCHAR* text, UINT style, const RECT& workArea)
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return false;
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    HDC dc = GetDC(nullptr);
    if (font == nullptr || dc == nullptr) {
        if (dc != nullptr)
            ReleaseDC(nullptr, dc);
        if (font != nullptr)
            DeleteObject(font);
        return false;
    }
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW character = {};
    GetTextMetricsW(dc, &character);
    RECT measured = {0, 0, WRAP_CHARACTERS * character.tmAveCharWidth, 0};
    int drawn = DrawTextW(dc, text, -1, &measured, TEXT_LAYOUT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    if (drawn == 0 && text[0] != L'\0')
        return false;

    SIZE frame = FrameAround(nullptr);
    int icon = (style & MB_ICONMASK) != 0 ? GetSystemMetrics(SM_CXICON) : 0;
    int width = Width(measured) + icon + SIDE_ROOM_CHARACTERS * character.tmAveCharWidth + frame.cx;
    int height = Height(measured) + LINES_AROUND_TEXT * character.tmHeight + frame.cy;
    return width <= Width(workArea) && height <= Height(workArea);
}

WCHAR* WithEditLineBreaks(const WCHAR* text)
{
    SIZE_T length = 0, breaks = 0;
    for (const WCHAR* at = text; *at != L'\0'; ++at, ++length)
        if (*at == L'\n' && (at == text || at[-1] != L'\r'))
            ++breaks;
    auto* shown = static_cast<WCHAR*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, (length + breaks + 1) * sizeof(WCHAR)));
    if (shown == nullptr)
        return nullptr;
    WCHAR* to = shown;
    for (const WCHAR* at = text; *at != L'\0'; ++at) {
        if (*at == L'\n' && (at == text || at[-1] != L'\r'))
            *to++ = L'\r';
        *to++ = *at;
    }
    return shown;
}

INT_PTR CALLBACK QuestionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return InitQuestionDialog(dialog, *reinterpret_cast<const QuestionRequest*>(lParam));
    case WM_COMMAND:
        AnswerQuestion(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

int AskQuestion(HWND owner, const WCHAR* text, const WCHAR* caption, UINT style)
{
    if (MessageBoxWouldFit(text, style, WorkAreaOf(owner)))
        return MessageBoxW(owner, text, caption, style);
    QuestionRequest request = {text, caption, style};
    INT_PTR answer = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_QUESTION), owner,
                                     QuestionDialogProc, reinterpret_cast<LPARAM>(&request));
    return answer > 0 ? static_cast<int>(answer) : 0;
}
