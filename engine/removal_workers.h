// The threads that delete the files of a run without questions, so that the walk goes on
// listing while files are removed. The walk hands them files through a bounded queue:
// memory stays the same whatever the size of the tree.
#ifndef BRUMIX_REMOVAL_WORKERS_H
#define BRUMIX_REMOVAL_WORKERS_H

#include "engine/deletion_run.h"
#include "engine/walked_folder.h"

// Starts the threads; null when they cannot be had (the walk then deletes by itself).
RemovalWorkers* StartRemovalWorkers();

// Queues `entry` of `folder` for deletion, holding a reference to the folder until it is
// done; waits while the queue is full.
void QueueRemoval(DeletionJob& job, WalkedFolder& folder, const FolderEntry& entry);

// Waits until every queued file has been dealt with (after a cancel: dropped) and every
// thread has ended, handling the owner's messages meanwhile; only then frees the queue.
void FinishRemovals(DeletionJob& job);

#endif
