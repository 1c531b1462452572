// The help text as the program links it, loaded in the test's own process.
#ifndef BRUMIX_TESTS_HELP_TEXT_RESOURCE_H
#define BRUMIX_TESTS_HELP_TEXT_RESOURCE_H

#include <windows.h>

#include <string>
#include <vector>

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

#endif
