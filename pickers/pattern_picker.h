// The pattern picker: a pattern list built from the extensions of picked files.
#ifndef BRUMIX_PATTERN_PICKER_H
#define BRUMIX_PATTERN_PICKER_H

#include <windows.h>

// The block the dialog writes the selection into.
constexpr int SELECTION_SIZE = 260;

// A pattern slot table: PATTERN_SLOT_COUNT slots of PATTERN_SLOT_SIZE bytes, each one
// NUL-terminated pattern, empty when its first byte is NUL. A slot holds "*" and any
// extension a selection block can hold, so no pattern is ever cut (a cut pattern would
// name other files); there are more slots than a block can hold names.
constexpr int PATTERN_SLOT_SIZE = SELECTION_SIZE;
constexpr int PATTERN_SLOT_COUNT = SELECTION_SIZE;
constexpr int PATTERN_TABLE_SIZE = PATTERN_SLOT_COUNT * PATTERN_SLOT_SIZE;

// What CollectExtensionPatterns gives for a selection it cannot read whole.
constexpr int SELECTION_REFUSED = -1;

// Nonzero when a list was built: patterns then holds it. The process's current
// directory is the same afterwards as before.
int BrowsePatterns(HWND owner, char* patterns, int capacity);

// Reads a selection block of selectionSize bytes as the dialog returns it (a folder and
// the names picked in it, or one full path, then an empty string) and writes one "*" +
// extension pattern per name into slots, from slot 0, dropping repeats regardless of
// letter case with one message box each. Gives the number of patterns written, or
// SELECTION_REFUSED, with nothing written or shown, when the list does not end inside
// the block.
int CollectExtensionPatterns(const char* selection, int selectionSize, char* slots);

// The first count slots joined with separator into patterns, a NUL-terminated text of
// at most capacity - 1 characters: the patterns that do not fit, and all behind them,
// are left out whole.
void JoinPatterns(const char* slots, int count, char* patterns, int capacity, const char* separator);

// Where a name's extension starts: its last "." behind any backslash or "/", or the
// name's end when it has none.
const char* ExtensionOf(const char* name);

#endif
