// The pattern box (a drop-down combo box) read and used the way a person would, from the
// test's own process or from another one. Typing into it is driver::TypeUtf8.
#ifndef BRUMIX_TESTS_PATTERN_BOX_H
#define BRUMIX_TESTS_PATTERN_BOX_H

#include <windows.h>

#include <string>
#include <vector>

namespace pattern_box {

// The entries of its list, in order, as 1252 texts.
std::vector<std::string> Entries(HWND box);
// The same in UTF-8, every character kept.
std::vector<std::string> Utf8Entries(HWND box);
// The index of the selected entry, -1 when none is.
int Selection(HWND box);
// Picks an entry of the list: it is selected and its text shown in the edit field.
void Pick(HWND box, int index);

}  // namespace pattern_box

#endif
