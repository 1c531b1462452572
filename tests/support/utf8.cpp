#include "support/utf8.h"

#include <windows.h>

std::wstring Wide(const std::string& utf8)
{
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length > 0 ? length - 1 : 0));
    return wide;
}

std::string Utf8(const std::wstring& wide)
{
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &utf8[0], length, nullptr, nullptr);
    utf8.resize(static_cast<size_t>(length > 0 ? length - 1 : 0));
    return utf8;
}
