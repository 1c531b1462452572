// One deletion run: the summary question, then the walk over the folder tree.
#ifndef BRUMIX_DELETION_RUN_H
#define BRUMIX_DELETION_RUN_H

#include <windows.h>
#include "base/option_flags.h"
#include "engine/entry_check.h"
#include "engine/pattern_list.h"

struct RemovalWorkers;

// The record that carries one run through the walk. Each of its blocks comes from the
// global heap and belongs to RunDeletion; the walk only uses them.
struct DeletionJob {
    HWND owner;                  // owner of the per-file questions
    OptionFlags options;
    WCHAR* patternList;          // the pattern text as given, never changed
    WCHAR* workList;             // same size; cut into patterns once, at the start
    WCHAR* patterns;             // the usable patterns, each terminated
    int patternCount;
    void* batch;                 // where each folder's listing is read (LISTING_BATCH_BYTES)
    void* nameBlock;             // where the walk's name checks are read (OBJECT_NAME_BYTES)
    WCHAR* lastFolder;           // the path of the last folder entered, as shown
    RemovalWorkers* workers;     // the threads that delete in runs without questions, or null
    DWORD lastMessages;          // when the owner last had its messages handled
    EntryCheck entryCheck;       // how opened entries are checked: the platform's (0) way
};

// 0 while a run may go on; 1 once the user has cancelled, until the next run starts.
// Set by a per-file question's Cancel, and by the owner when the user stops a run.
extern volatile LONG g_cancelRequested;

// How far the run under way has got, for its owner to show while the run lasts. Cleared
// as each run starts; read on the owner's thread, which is the walk's.
struct RunProgress {
    // Files deleted so far, each counted once it is gone, by whichever thread deleted it:
    // never more than the files that are gone.
    volatile LONG filesDeleted;
    bool walking;                // from the start of the walk (after the summary's Yes) to its end
    DWORD walkStart;             // GetTickCount() as the walk started
};
extern RunProgress g_runProgress;

// Both texts are taken whole, at any length; they must stay valid for the whole call. The
// folder is made full (see MakeFullFolder) before anything is asked, then the run goes on
// as RunDeletionFromFullFolder. `owner` owns the summary question and every per-file
// question, and has its messages handled during the run (see owner_messages.h): it must
// not start another run meanwhile.
void RunDeletion(HWND owner, const WCHAR* folder, const WCHAR* patterns, OptionFlags options);

// The same with a folder that MakeFullFolder has made full already, as the main dialog
// shows it: it is used as it is, never made full again (the system's making full is not
// idempotent: "C:\Temp..\" becomes "C:\Temp.\", then "C:\Temp\"), so that the box, the
// question and the walk name one folder. A pattern that can name no file stops the run
// before the summary question, with a message that names it (see ComposePatternFault);
// nothing is deleted then.
void RunDeletionFromFullFolder(HWND owner, const WCHAR* folder, const WCHAR* patterns, OptionFlags options);

// The summary question for these texts and options, and the characters it takes with its
// terminator: no text length can make it overrun.
int SummaryCapacity(const WCHAR* patterns, const WCHAR* folder);
void ComposeSummary(WCHAR* summary, int capacity, const WCHAR* patterns, const WCHAR* folder,
                    OptionFlags options);

// The message for a pattern that can name no file: the pattern as it stands in the list
// and what is wrong with it, in a block of its own size that the caller frees with
// GlobalFree; null when the heap cannot supply it.
WCHAR* ComposePatternFault(const WCHAR* pattern, PatternFault fault, WCHAR character);

#endif
