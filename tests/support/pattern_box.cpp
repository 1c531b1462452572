#include "support/pattern_box.h"

#include <algorithm>

#include "driver/app_driver.h"
#include "support/utf8.h"

namespace pattern_box {

namespace {

// Sent with the ANSI call from another process, CB_GETLBTEXT comes back in UTF-16 under
// Wine: ask for UTF-16.
std::vector<std::wstring> WideEntries(HWND box)
{
    std::vector<std::wstring> entries;
    LRESULT count = 0;
    if (!driver::SendAndWaitW(box, CB_GETCOUNT, 0, 0, &count))
        return entries;
    for (LRESULT index = 0; index < count; ++index) {
        LRESULT length = 0, copied = 0;
        if (!driver::SendAndWaitW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0, &length) || length < 0)
            break;
        std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
        if (!driver::SendAndWaitW(box, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&wide[0]),
                                  &copied))
            break;
        wide.resize(static_cast<size_t>(copied < 0 ? 0 : std::min(copied, length)));
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
    LRESULT selection = CB_ERR;
    driver::SendAndWaitW(box, CB_GETCURSEL, 0, 0, &selection);
    return static_cast<int>(selection);
}

void Pick(HWND box, int index)
{
    driver::SendAndWait(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

}  // namespace pattern_box
