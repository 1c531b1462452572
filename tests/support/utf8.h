// Names outside the ANSI code page are written in the tests as UTF-8 and handed to the
// system's wide calls.
#ifndef BRUMIX_TESTS_UTF8_H
#define BRUMIX_TESTS_UTF8_H

#include <string>

// A UTF-8 text as the Windows wide text that Win32's W functions take, and back.
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

#endif
