// A long run keeps its owner window alive: now and then the walk lets the window handle
// the messages waiting for it (repaint, moves, the title bar, Escape and the close box,
// which the owner turns into a stop), so that the system never takes it for hung.
#ifndef BRUMIX_OWNER_MESSAGES_H
#define BRUMIX_OWNER_MESSAGES_H

#include "engine/deletion_run.h"

// How often a run hands the owner its messages, at least.
constexpr DWORD OWNER_MESSAGE_INTERVAL_MS = 25;

// Handles the waiting messages of the run's thread, the owner's keys through its dialog
// manager, when the interval has passed since the last time; costs a clock read
// otherwise. A quit message stops the run and is put back for the message loop above.
void HandleOwnerMessages(DeletionJob& job);

#endif
