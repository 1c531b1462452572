// The help text as the program links it, and its readable source, loaded in the test's
// own process.
#ifndef BRUMIX_TESTS_HELP_TEXT_RESOURCE_H
#define BRUMIX_TESTS_HELP_TEXT_RESOURCE_H

#include <windows.h>

#include <string>
#include <vector>

#include "help_source.h"
#include "res/resource.h"

// The bytes of RT_RCDATA resource IDR_HELP_TEXT, exactly as stored; empty when missing.
inline std::string HelpTextResource()
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDR_HELP_TEXT), RT_RCDATA);
    if (found == nullptr)
        return "";
    auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return std::string(bytes, SizeofResource(module, found));
}

// What the help should show, in UTF-8: the source file res/help.txt with each line ended
// by CR LF; empty when missing.
inline std::string HelpTextFromSource()
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(HELP_SOURCE_TEXT), RT_RCDATA);
    if (found == nullptr)
        return "";
    auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    std::string source(bytes, SizeofResource(module, found));
    if (source.compare(0, 3, "\xEF\xBB\xBF") == 0)
        source.erase(0, 3);
    std::string text;
    for (size_t i = 0; i < source.size(); ++i) {
        if (source[i] == '\n' && (i == 0 || source[i - 1] != '\r'))
            text += '\r';
        text += source[i];
    }
    return text;
}

#endif
