#include "engine/file_removal.h"

#include "base/global_block.h"
#include "engine/native_files.h"
#include "engine/run_questions.h"

namespace {

constexpr WCHAR QUESTION_START[] = L"D'accord pour d\u00e9truire\n";
constexpr WCHAR QUESTION_END[] = L"\n?";
constexpr WCHAR QUESTION_CAPTION[] = L"Confirmation d'effacement";
constexpr int QUESTION_START_LENGTH = sizeof QUESTION_START / sizeof(WCHAR) - 1;
constexpr int QUESTION_END_LENGTH = sizeof QUESTION_END / sizeof(WCHAR) - 1;

// Yes deletes, No keeps; anything else (Cancel, Escape, the close box, or 0 when the
// box cannot be shown) keeps the file and stops the run.
bool AskToDelete(const DeletionJob& job, const WalkedFolder& folder, const FolderEntry& entry)
{
    WCHAR* question = ComposeFileQuestion(folder, entry.name, entry.length);
    int answer = question != nullptr ? AskQuestion(job.owner, question, QUESTION_CAPTION, MB_YESNOCANCEL) : 0;
    if (question != nullptr)
        GlobalFree(question);
    if (answer != IDYES && answer != IDNO)
        g_cancelRequested = 1;
    return answer == IDYES;
}

// Deletes the file open in `file`, a file of `folder`, through that very handle, which it
// closes. False when the system refuses (a read-only file stays, as with a plain deletion).
bool DeleteOpenFile(const WalkedFolder& folder, HANDLE file)
{
    ULONG serial = 0;
    bool marked = FolderVolumeSerial(folder, serial) ? MarkForDeletion(file, serial) : MarkForDeletion(file);
    CloseObject(file);
    return marked;
}

// Counted only once the handle that carries the deletion is closed: until then the file
// is still there, whatever its mark. The removal threads and the walk count alike.
void NoteFileGone()
{
    InterlockedIncrement(&g_runProgress.filesDeleted);
}

}  // namespace

WCHAR* ComposeFileQuestion(const WalkedFolder& folder, const WCHAR* name, int nameLength)
{
    int length = QUESTION_START_LENGTH + folder.shownLength + nameLength + QUESTION_END_LENGTH;
    auto* text = static_cast<WCHAR*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, (length + 1) * sizeof(WCHAR)));
    if (text == nullptr)
        return nullptr;
    WCHAR* at = text;
    auto put = [&at](const WCHAR* piece, int count) {
        CopyMemory(at, piece, count * sizeof(WCHAR));
        at += count;
    };
    put(QUESTION_START, QUESTION_START_LENGTH);
    WriteShownPath(folder, at);
    at += folder.shownLength;
    put(name, nameLength);
    put(QUESTION_END, QUESTION_END_LENGTH);
    return text;
}

HANDLE OpenCheckedFile(const WalkedFolder& folder, const FolderEntry& entry, void* nameBlock)
{
    HANDLE file = OpenFileForDeletion(folder.handle, entry.name, entry.length);
    if (file == nullptr)
        return nullptr;
    if (!IsListedEntry(folder, entry, file, nameBlock)) {
        CloseObject(file);
        return nullptr;
    }
    if (!IsDataReparseFile(entry.attributes, entry.tag))
        return file;
    // Checked as the entry itself first: opened through its filter, a link would lead on.
    CloseObject(file);
    file = OpenFileThroughFilter(folder.handle, entry.name, entry.length);
    if (file != nullptr && !IsListedEntry(folder, entry, file, nameBlock)) {
        CloseObject(file);
        file = nullptr;
    }
    return file;
}

bool RemoveFile(DeletionJob& job, WalkedFolder& folder, FolderEntry& entry)
{
    // A file that is not there to delete, or not the entry listed, is not asked about.
    HANDLE file = OpenCheckedFile(folder, entry, job.nameBlock);
    if (file == nullptr)
        return g_cancelRequested == 0;
    CloseObject(file);
    if (AskToDelete(job, folder, entry)) {
        file = OpenCheckedFile(folder, entry, job.nameBlock);
        if (file != nullptr && DeleteOpenFile(folder, file)) {
            entry.flags |= ENTRY_GONE;
            NoteFileGone();
        }
    }
    return g_cancelRequested == 0;
}

void RemoveUnasked(const WalkedFolder& folder, const FolderEntry& entry, void* nameBlock)
{
    HANDLE file = OpenCheckedFile(folder, entry, nameBlock);
    if (file != nullptr && DeleteOpenFile(folder, file))
        NoteFileGone();
}
