#include "engine/removal_workers.h"

#include "engine/file_removal.h"
#include "engine/native_files.h"
#include "engine/owner_messages.h"

namespace {

// Under Wine every file costs several round trips to the single-threaded wine server;
// a few threads keep it busy while each waits for its answers.
constexpr int WORKER_COUNT = 4;
// Files waiting at most: the queue's memory is the same for any tree.
constexpr int QUEUE_CAPACITY = 1024;
// How long the walk waits at a time for room in the queue or for the end of the work.
constexpr DWORD WAIT_SLICE_MS = 20;

struct QueuedFile {
    WalkedFolder* folder;
    const FolderEntry* entry;
};

}  // namespace

struct RemovalWorkers {
    CRITICAL_SECTION lock;
    CONDITION_VARIABLE filesWaiting;
    CONDITION_VARIABLE roomFree;
    QueuedFile queue[QUEUE_CAPACITY];
    int head;
    int count;
    bool closing;
    HANDLE threads[WORKER_COUNT];
    int threadCount;
};

namespace {

DWORD WINAPI RemoveQueuedFiles(void* parameter)
{
    auto* workers = static_cast<RemovalWorkers*>(parameter);
    void* nameBlock = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, OBJECT_NAME_BYTES);
    for (;;) {
        EnterCriticalSection(&workers->lock);
        while (workers->count == 0 && !workers->closing)
            SleepConditionVariableCS(&workers->filesWaiting, &workers->lock, INFINITE);
        if (workers->count == 0) {
            LeaveCriticalSection(&workers->lock);
            break;
        }
        QueuedFile file = workers->queue[workers->head];
        workers->head = (workers->head + 1) % QUEUE_CAPACITY;
        --workers->count;
        LeaveCriticalSection(&workers->lock);
        WakeConditionVariable(&workers->roomFree);

        // After a cancel the files still queued are dropped, not deleted.
        if (!g_cancelRequested && nameBlock != nullptr)
            RemoveUnasked(*file.folder, *file.entry, nameBlock);
        ReleaseFolder(file.folder);
    }
    if (nameBlock != nullptr)
        GlobalFree(nameBlock);
    return 0;
}

}  // namespace

RemovalWorkers* StartRemovalWorkers()
{
    auto* workers = static_cast<RemovalWorkers*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(RemovalWorkers)));
    if (workers == nullptr)
        return nullptr;
    InitializeCriticalSection(&workers->lock);
    InitializeConditionVariable(&workers->filesWaiting);
    InitializeConditionVariable(&workers->roomFree);
    for (int i = 0; i < WORKER_COUNT; ++i) {
        HANDLE thread = CreateThread(nullptr, 64 * 1024, RemoveQueuedFiles, workers, STACK_SIZE_PARAM_IS_A_RESERVATION,
                                     nullptr);
        if (thread != nullptr)
            workers->threads[workers->threadCount++] = thread;
    }
    if (workers->threadCount == 0) {
        DeleteCriticalSection(&workers->lock);
        GlobalFree(workers);
        return nullptr;
    }
    return workers;
}

void QueueRemoval(DeletionJob& job, WalkedFolder& folder, const FolderEntry& entry)
{
    RemovalWorkers* workers = job.workers;
    HoldFolder(&folder);
    EnterCriticalSection(&workers->lock);
    while (workers->count == QUEUE_CAPACITY) {
        SleepConditionVariableCS(&workers->roomFree, &workers->lock, WAIT_SLICE_MS);
        // The owner's messages are handled without the lock: the workers go on meanwhile.
        LeaveCriticalSection(&workers->lock);
        HandleOwnerMessages(job);
        EnterCriticalSection(&workers->lock);
    }
    workers->queue[(workers->head + workers->count) % QUEUE_CAPACITY] = QueuedFile{&folder, &entry};
    ++workers->count;
    LeaveCriticalSection(&workers->lock);
    WakeConditionVariable(&workers->filesWaiting);
}

void FinishRemovals(DeletionJob& job)
{
    RemovalWorkers* workers = job.workers;
    if (workers == nullptr)
        return;
    EnterCriticalSection(&workers->lock);
    workers->closing = true;
    LeaveCriticalSection(&workers->lock);
    WakeAllConditionVariable(&workers->filesWaiting);
    while (WaitForMultipleObjects(static_cast<DWORD>(workers->threadCount), workers->threads, TRUE, WAIT_SLICE_MS) ==
           WAIT_TIMEOUT)
        HandleOwnerMessages(job);
    for (int i = 0; i < workers->threadCount; ++i)
        CloseHandle(workers->threads[i]);
    DeleteCriticalSection(&workers->lock);
    GlobalFree(workers);
    job.workers = nullptr;
}
