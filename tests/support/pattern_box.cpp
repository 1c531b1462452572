#include "support/pattern_box.h"

#include "driver/app_driver.h"
#include "support/utf8.h"

namespace pattern_box {

namespace {

// Sent with the ANSI call from another process, CB_GETLBTEXT comes back in UTF-16 under
// Wine: ask for UTF-16.
std::vector<std::wstring> WideEntries(HWND box)
{
    std::vector<std::wstring> entries;
    LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
        std::wstring wide(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
        LRESULT copied = SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(&wide[0]));
        wide.resize(static_cast<size_t>(copied < 0 ? 0 : copied));
        entries.push_back(wide);
    }
    return entries;
}

}  // namespace

std::vector<std::string> Entries(HWND box)
{
    std::vector<std::string> entries;
    for (const std::wstring& wide : WideEntries(box)) {
        std::string text(wide.size() * 2 + 1, '\0');
        int bytes = WideCharToMultiByte(1252, 0, wide.c_str(), static_cast<int>(wide.size()), &text[0],
                                        static_cast<int>(text.size()), nullptr, nullptr);
        text.resize(static_cast<size_t>(bytes));
        entries.push_back(text);
    }
    return entries;
}

std::vector<std::string> Utf8Entries(HWND box)
{
    std::vector<std::string> entries;
    for (const std::wstring& wide : WideEntries(box))
        entries.push_back(Utf8(wide));
    return entries;
}

int Selection(HWND box)
{
    return static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
}

void Type(HWND box, const std::string& text)
{
    // Keys reach the edit field inside the combo box, which tells the box of each change.
    HWND edit = FindWindowExA(box, nullptr, "Edit", nullptr);
    if (!driver::SendAndWait(edit, EM_SETSEL, 0, -1) || !driver::SendAndWait(edit, WM_CHAR, VK_BACK, 1))
        return;
    for (char c : text)
        if (!driver::SendAndWait(edit, WM_CHAR, static_cast<unsigned char>(c), 1))
            return;
}

void TypeUtf8(HWND box, const std::string& text)
{
    HWND edit = FindWindowExA(box, nullptr, "Edit", nullptr);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CHAR, VK_BACK, 1);
    for (wchar_t c : Wide(text))
        SendMessageW(edit, WM_CHAR, c, 1);
}

void Pick(HWND box, int index)
{
    SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

}  // namespace pattern_box
