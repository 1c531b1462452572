// One deletion run: the summary question, then the walk over the folder tree.
#ifndef BRUMIX_DELETION_RUN_H
#define BRUMIX_DELETION_RUN_H

#include <windows.h>
#include "app/option_flags.h"

// The record that carries one run through the walk. Each of its blocks comes from the
// global heap and belongs to RunDeletion; the walk only uses them.
struct DeletionJob {
    // The one find-data record of the whole run. Wide: the ANSI enumeration gives a name
    // outside the code page as "?" or as a look-alike that may name another entry.
    WIN32_FIND_DATAW* findData;
    OptionFlags options;
    char* patternList;           // the pattern text as given, never changed
    char* workList;              // same size; cut into patterns at each folder
    char* entryName;             // the entry at hand, in the ANSI code page (MAX_PATH bytes)
    // Where the platform finds the folder being walked (FOUND_PATH_CAPACITY characters):
    // the start folder's final path, then a name more for each level entered.
    WCHAR* foundPath;
    int foundLength;             // 0 until the start folder has been found
};

// 0 while a run may go on; 1 once the user has cancelled, until the next run starts.
extern volatile LONG g_cancelRequested;

// folder ends with a backslash; both texts must stay valid for the whole call. A relative
// folder is taken from the current directory when the run starts.
void RunDeletion(HWND owner, const char* folder, const char* patterns, OptionFlags options);

// The summary question for these texts and options, and the bytes it takes with its
// terminator: no text length can make it overrun.
int SummaryCapacity(const char* patterns, const char* folder);
void ComposeSummary(char* summary, int capacity, const char* patterns, const char* folder,
                    OptionFlags options);

#endif
