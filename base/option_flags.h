// The run's options: one word shared by the dialog, the engine and the preferences.
#ifndef BRUMIX_OPTION_FLAGS_H
#define BRUMIX_OPTION_FLAGS_H

#include <windows.h>

typedef DWORD OptionFlags;

constexpr OptionFlags OPT_RECURSE = 1;  // include all subfolders (check box 106)
constexpr OptionFlags OPT_CONFIRM = 2;  // ask before each file (check box 105)

#endif
