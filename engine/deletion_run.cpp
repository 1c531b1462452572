#include "engine/deletion_run.h"

#include "base/global_block.h"
#include "engine/folder_walk.h"
#include "engine/found_path.h"
#include "engine/native_files.h"
#include "engine/pattern_list.h"
#include "engine/removal_workers.h"

volatile LONG g_cancelRequested;

namespace {

// The summary's fixed words, with its six inserts between them:
// "On va effacer les fichiers %s\nà partir de %s\nOn%sfait%sdu récursif\net on%sdemande%sune confirmation"
constexpr const char* SUMMARY_PIECES[] = {
    "On va effacer les fichiers ", "\nà partir de ", "\nOn", "fait", "du récursif\net on",
    "demande", "une confirmation",
};

// The longest pair of option inserts: " ne " and " pas ", for each of the two options.
constexpr int LONGEST_OPTION_INSERTS = 2 * (4 + 5);

void Append(char* text, int capacity, int& length, const char* piece)
{
    int room = capacity - length;
    if (room <= 1)
        return;
    lstrcpynA(text + length, piece, room);
    length += lstrlenA(text + length);
}

// Where the root of a final path in the Win32 form ends: after "\\?\C:\" or after
// "\\?\UNC\server\share\". 0 when it has neither form.
int RootLength(const WCHAR* path, int length)
{
    if (length >= 7 && CompareStringOrdinal(path, 4, L"\\\\?\\", 4, FALSE) == CSTR_EQUAL && path[5] == L':' &&
        path[6] == L'\\')
        return 7;
    if (length < 8 || CompareStringOrdinal(path, 8, L"\\\\?\\UNC\\", 8, TRUE) != CSTR_EQUAL)
        return 0;
    int at = 8;
    for (int part = 0; part < 2; ++part) {
        while (at < length && path[at] != L'\\')
            ++at;
        if (at == length)
            return 0;
        ++at;
    }
    return at;
}

// How many entries of the folder `parent` (the first `parentLength` characters) have the
// name `name` but for trailing dots and blanks; -1 when it cannot be listed.
int CountNamesakes(WCHAR* parent, int parentLength, const WCHAR* name, int nameLength, void* batch)
{
    WCHAR kept = parent[parentLength];
    parent[parentLength] = L'\0';
    HANDLE folder = OpenFolder(nullptr, parent, parentLength);
    parent[parentLength] = kept;
    if (folder == nullptr)
        return -1;
    FolderListing listing;
    bool listed = ListFolder(folder, batch, listing);
    CloseObject(folder);
    if (!listed)
        return -1;
    int stripped = StrippedLength(name, nameLength);
    int count = 0;
    FolderEntry* entry = listing.first;
    for (int i = 0; i < listing.count; ++i, entry = NextEntry(entry))
        if (StrippedLength(entry->name, entry->length) == stripped &&
            CompareStringOrdinal(entry->name, stripped, name, stripped, FALSE) == CSTR_EQUAL)
            ++count;
    ReleaseListing(listing);
    return count;
}

// Wine reports names without the trailing dots and blanks of every component, the start
// folder's and those of the folders above it too: from inside "tree", a link could lead
// to "tree.\x.obj" and be reported as "tree\x.obj". So a run does not start in a folder
// that has such a namesake, or below one. A folder above that cannot be listed, or that
// Wine leaves out of its parent's listing (it hides /dev, for one), shows no namesake.
// Windows reports names as they are; where it gives no drive-letter path, there is
// nothing to check.
bool HasNamesakeAbove(HANDLE start, void* batch)
{
    DWORD needed = GetFinalPathNameByHandleW(start, nullptr, 0, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (needed == 0)
        return false;
    GlobalBlock block((needed + 1) * sizeof(WCHAR));
    if (!block)
        return true;
    WCHAR* path = block.as<WCHAR>();
    int length = static_cast<int>(GetFinalPathNameByHandleW(start, path, needed + 1,
                                                            FILE_NAME_NORMALIZED | VOLUME_NAME_DOS));
    if (length <= 0 || length > static_cast<int>(needed))
        return true;
    int root = RootLength(path, length);
    if (root == 0)
        return false;
    for (int at = root; at < length;) {
        int end = at;
        while (end < length && path[end] != L'\\')
            ++end;
        // The parent keeps its backslash only when it is the root.
        int parentLength = at == root ? at : at - 1;
        if (end > at && CountNamesakes(path, parentLength, path + at, end - at, batch) > 1)
            return true;
        at = end + 1;
    }
    return false;
}

}  // namespace

int SummaryCapacity(const char* patterns, const char* folder)
{
    int fixed = 0;
    for (const char* piece : SUMMARY_PIECES)
        fixed += lstrlenA(piece);
    return fixed + LONGEST_OPTION_INSERTS + lstrlenA(patterns) + lstrlenA(folder) + 1;
}

void ComposeSummary(char* summary, int capacity, const char* patterns, const char* folder,
                    OptionFlags options)
{
    const char* recurseNot = (options & OPT_RECURSE) ? " " : " ne ";
    const char* recursePas = (options & OPT_RECURSE) ? " " : " pas ";
    const char* confirmNot = (options & OPT_CONFIRM) ? " " : " ne ";
    const char* confirmPas = (options & OPT_CONFIRM) ? " " : " pas ";
    const char* inserts[] = {patterns, folder, recurseNot, recursePas, confirmNot, confirmPas};

    int length = 0;
    summary[0] = '\0';
    for (int i = 0; i < 7; ++i) {
        Append(summary, capacity, length, SUMMARY_PIECES[i]);
        if (i < 6)
            Append(summary, capacity, length, inserts[i]);
    }
}

void RunDeletion(HWND owner, const char* folder, const char* patterns, OptionFlags options)
{
    g_cancelRequested = 0;

    int answer;
    {
        int capacity = SummaryCapacity(patterns, folder);
        GlobalBlock summary(capacity);
        if (!summary)
            return;
        ComposeSummary(summary.text(), capacity, patterns, folder, options);
        answer = MessageBoxA(owner, summary.text(), "Veuillez confirmer", MB_YESNO | MB_ICONQUESTION);
    }
    // Wine lets Escape and the close box end a Yes/No box with IDCANCEL: that is a No too.
    if (answer != IDYES)
        return;

    int listBytes = lstrlenA(patterns) + 1;
    GlobalBlock job(sizeof(DeletionJob));
    GlobalBlock patternList(listBytes);
    GlobalBlock workList(listBytes);
    GlobalBlock widePatterns(static_cast<SIZE_T>(listBytes) * sizeof(WCHAR));
    GlobalBlock batch(LISTING_BATCH_BYTES);
    GlobalBlock nameBlock(OBJECT_NAME_BYTES);
    GlobalBlock lastFolder(MAX_PATH * sizeof(WCHAR));
    // Without every block there is no safe run: delete nothing.
    if (!job || !patternList || !workList || !widePatterns || !batch || !nameBlock || !lastFolder)
        return;

    DeletionJob* record = job.as<DeletionJob>();
    record->owner = owner;
    record->options = options;
    record->patternList = patternList.text();
    lstrcpyA(record->patternList, patterns);
    record->workList = workList.text();
    lstrcpyA(record->workList, patterns);
    record->patterns = widePatterns.as<WCHAR>();
    record->patternCount = TakePatterns(record->workList, record->patterns, listBytes);
    record->batch = batch.as<void>();
    record->nameBlock = nameBlock.as<void>();
    record->lastFolder = lastFolder.as<WCHAR>();
    record->lastMessages = GetTickCount();

    // Every path shown in a question is built from the start folder's text: a relative
    // one ("sub\\", "\\") is made full once, here, from the current directory of the moment.
    int folderLength = MultiByteToWideChar(CP_ACP, 0, folder, -1, nullptr, 0);
    GlobalBlock typed(static_cast<SIZE_T>(folderLength) * sizeof(WCHAR));
    if (!typed || MultiByteToWideChar(CP_ACP, 0, folder, -1, typed.as<WCHAR>(), folderLength) == 0)
        return;
    DWORD fullLength = GetFullPathNameW(typed.as<WCHAR>(), 0, nullptr, nullptr) + 1;
    GlobalBlock start(static_cast<SIZE_T>(fullLength) * sizeof(WCHAR));
    if (!start)
        return;
    WCHAR* startPath = start.as<WCHAR>();
    DWORD length = GetFullPathNameW(typed.as<WCHAR>(), fullLength, startPath, nullptr);
    if (length == 0 || length + 1 >= fullLength)
        return;
    if (startPath[length - 1] != L'\\')
        startPath[length++] = L'\\';

    // The start folder is wherever its text leads; below it, only where the walk finds.
    HANDLE handle = OpenFolder(nullptr, startPath, static_cast<int>(length));
    if (handle == nullptr)
        return;
    int foundLength = 0;
    const WCHAR* found = QueryObjectName(handle, record->nameBlock, foundLength);
    WalkedFolder* root = found != nullptr ? MakeWalkedFolder(handle, found, foundLength, startPath,
                                                             static_cast<int>(length), L"", 0)
                                          : nullptr;
    if (root == nullptr) {
        CloseObject(handle);
        return;
    }
    if (!HasNamesakeAbove(handle, record->batch)) {
        if (!(options & OPT_CONFIRM))
            record->workers = StartRemovalWorkers();
        WalkFolder(*record, *root);
        FinishRemovals(*record);
    }
    ReleaseFolder(root);

    // As the walk leaves it: in the last folder entered, where that can be the current one.
    if (record->lastFolder[0] != L'\0')
        SetCurrentDirectoryW(record->lastFolder);
}
