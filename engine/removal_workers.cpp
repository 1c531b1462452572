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

// What one thread works with: the shared queue, and its own scratch block for the name
// checks, had before the thread starts, so that a thread never takes a file that it
// could not check.
struct WorkerSeat {
    RemovalWorkers* workers;
    void* nameBlock;
};

struct RemovalWorkers {
    CRITICAL_SECTION lock;
    CONDITION_VARIABLE filesWaiting;
    CONDITION_VARIABLE roomFree;
    QueuedFile queue[QUEUE_CAPACITY];
    int head;
    int count;
    bool closing;
    volatile LONG working;       // threads that have not yet left their loop
    HANDLE threads[WORKER_COUNT];
    WorkerSeat seats[WORKER_COUNT];
    int threadCount;
};

namespace {

DWORD WINAPI RemoveQueuedFiles(void* parameter)
{
    auto* seat = static_cast<WorkerSeat*>(parameter);
    RemovalWorkers* workers = seat->workers;
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
        if (!g_cancelRequested)
            RemoveUnasked(*file.folder, *file.entry, seat->nameBlock);
        ReleaseFolder(file.folder);
    }
    // The last touch of the shared block (see FinishRemovals).
    InterlockedDecrement(&workers->working);
    return 0;
}

// Frees what the threads shared; only once every one of them has ended.
void FreeWorkers(RemovalWorkers* workers)
{
    for (int i = 0; i < workers->threadCount; ++i) {
        CloseHandle(workers->threads[i]);
        GlobalFree(workers->seats[i].nameBlock);
    }
    DeleteCriticalSection(&workers->lock);
    GlobalFree(workers);
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
        // A thread without its block is not started: its files stay with the others, or
        // with the walk itself when there is none.
        WorkerSeat& seat = workers->seats[workers->threadCount];
        seat.workers = workers;
        seat.nameBlock = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, OBJECT_NAME_BYTES);
        if (seat.nameBlock == nullptr)
            break;
        InterlockedIncrement(&workers->working);
        HANDLE thread = CreateThread(nullptr, 64 * 1024, RemoveQueuedFiles, &seat, STACK_SIZE_PARAM_IS_A_RESERVATION,
                                     nullptr);
        if (thread == nullptr) {
            InterlockedDecrement(&workers->working);
            GlobalFree(seat.nameBlock);
            seat.nameBlock = nullptr;
            break;
        }
        workers->threads[workers->threadCount++] = thread;
    }
    if (workers->threadCount == 0) {
        FreeWorkers(workers);
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
    job.workers = nullptr;
    EnterCriticalSection(&workers->lock);
    workers->closing = true;
    LeaveCriticalSection(&workers->lock);
    WakeAllConditionVariable(&workers->filesWaiting);
    DWORD count = static_cast<DWORD>(workers->threadCount);
    DWORD ended;
    while ((ended = WaitForMultipleObjects(count, workers->threads, TRUE, WAIT_SLICE_MS)) == WAIT_TIMEOUT)
        HandleOwnerMessages(job);
    if (ended < WAIT_OBJECT_0 + count) {
        FreeWorkers(workers);
        return;
    }
    // The system cannot say when the threads end: the run ends once each has left its
    // loop, and their block is left to them rather than freed under their feet.
    while (workers->working != 0) {
        HandleOwnerMessages(job);
        Sleep(WAIT_SLICE_MS);
    }
}
