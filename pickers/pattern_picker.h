// The pattern picker: a pattern list built from the extensions of picked files.
#ifndef BRUMIX_PATTERN_PICKER_H
#define BRUMIX_PATTERN_PICKER_H

#include <windows.h>

// The block the dialog writes the selection into, in characters. Windows reports the size
// that a selection too large for the block would need in the block's first 16 bits, so a
// block of 65,536 characters takes every selection the call can describe: some 6,000
// names of ten letters. A larger one is refused whole, never read in part.
constexpr int SELECTION_CAPACITY = 65536;

// The patterns of a selection take at most twice its characters: each name gives "*", its
// extension (no longer than the name) and a separator or terminator.
constexpr int PATTERN_PICK_CAPACITY = 2 * SELECTION_CAPACITY;

// What CollectExtensionPatterns gives for a selection it cannot read whole.
constexpr int SELECTION_REFUSED = -1;

// Nonzero when a list was built: patterns (capacity characters) then holds it. The
// process's current directory is the same afterwards as before.
int BrowsePatterns(HWND owner, WCHAR* patterns, int capacity);

// Reads a selection block of selectionSize characters as the dialog returns it (a folder
// and the names picked in it, or one full path, then an empty string) and writes one
// "*" + extension pattern per name into `patterns`, each terminated, one after the other,
// dropping repeats regardless of letter case with one task-modal message box each. Gives
// the number of patterns written, or SELECTION_REFUSED, with nothing written or shown, when
// the list does not end inside the block or its patterns would not fit `capacity`
// characters (2 * selectionSize always suffices).
int CollectExtensionPatterns(const WCHAR* selection, int selectionSize, WCHAR* patterns, int capacity);

// The first count patterns (each terminated, one after the other) joined with separator
// into joined, a terminated text of at most capacity - 1 characters: the patterns that do
// not fit, and all behind them, are left out whole.
void JoinPatterns(const WCHAR* patterns, int count, WCHAR* joined, int capacity, const WCHAR* separator);

// Where a name's extension starts: its last "." behind any backslash or "/", or the
// name's end when it has none.
const WCHAR* ExtensionOf(const WCHAR* name);

#endif
