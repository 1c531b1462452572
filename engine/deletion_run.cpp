#include "engine/deletion_run.h"

#include "base/global_block.h"
#include "base/text_append.h"
#include "engine/folder_walk.h"
#include "engine/native_files.h"
#include "engine/pattern_list.h"
#include "engine/removal_workers.h"
#include "engine/start_folder.h"

volatile LONG g_cancelRequested;
RunProgress g_runProgress;

namespace {

// The summary's fixed words, with its six inserts between them:
// "On va effacer les fichiers %s\nà partir de %s\nOn%sfait%sdu récursif\net on%sdemande%sune confirmation"
constexpr const WCHAR* SUMMARY_PIECES[] = {
    L"On va effacer les fichiers ", L"\n\u00e0 partir de ", L"\nOn", L"fait", L"du r\u00e9cursif\net on",
    L"demande", L"une confirmation",
};
constexpr WCHAR SUMMARY_CAPTION[] = L"Veuillez confirmer";

// The longest pair of option inserts: " ne " and " pas ", for each of the two options.
constexpr int LONGEST_OPTION_INSERTS = 2 * (4 + 5);

// Yes to the summary of this run: anything else, Escape and the close box included
// (Wine lets them end a Yes/No box with IDCANCEL), is a No.
bool ConfirmRun(HWND owner, const WCHAR* folder, const WCHAR* patterns, OptionFlags options)
{
    int capacity = SummaryCapacity(patterns, folder);
    GlobalBlock summary(static_cast<SIZE_T>(capacity) * sizeof(WCHAR));
    if (!summary)
        return false;
    ComposeSummary(summary.as<WCHAR>(), capacity, patterns, folder, options);
    return MessageBoxW(owner, summary.as<WCHAR>(), SUMMARY_CAPTION, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// Builds the run's job and walks from the start folder; without every block there is no
// safe run, and nothing is deleted.
void WalkFrom(HWND owner, const WCHAR* folder, const WCHAR* patterns, OptionFlags options)
{
    int listLength = lstrlenW(patterns) + 1;
    SIZE_T listBytes = static_cast<SIZE_T>(listLength) * sizeof(WCHAR);
    GlobalBlock job(sizeof(DeletionJob));
    GlobalBlock patternList(listBytes);
    GlobalBlock workList(listBytes);
    GlobalBlock table(listBytes);
    GlobalBlock batch(LISTING_BATCH_BYTES);
    GlobalBlock nameBlock(OBJECT_NAME_BYTES);
    GlobalBlock lastFolder(MAX_PATH * sizeof(WCHAR));
    if (!job || !patternList || !workList || !table || !batch || !nameBlock || !lastFolder)
        return;

    DeletionJob* record = job.as<DeletionJob>();
    record->owner = owner;
    record->options = options;
    record->patternList = patternList.as<WCHAR>();
    CopyMemory(record->patternList, patterns, listBytes);
    record->workList = workList.as<WCHAR>();
    CopyMemory(record->workList, patterns, listBytes);
    record->patterns = table.as<WCHAR>();
    record->patternCount = TakePatterns(record->workList, record->patterns, listLength);
    record->batch = batch.as<void>();
    record->nameBlock = nameBlock.as<void>();
    record->lastFolder = lastFolder.as<WCHAR>();
    record->lastMessages = GetTickCount();

    WalkedFolder* root = OpenStartFolder(folder, record->nameBlock);
    if (root == nullptr)
        return;
    if (!HasNamesakeAbove(*root, record->batch)) {
        g_runProgress.walkStart = GetTickCount();
        g_runProgress.walking = true;
        if (!(options & OPT_CONFIRM))
            record->workers = StartRemovalWorkers();
        WalkFolder(*record, *root);
        FinishRemovals(*record);
        g_runProgress.walking = false;
    }
    ReleaseFolder(root);

    // As the walk leaves it: in the last folder entered, where that can be the current one.
    if (record->lastFolder[0] != L'\0')
        SetCurrentDirectoryW(record->lastFolder);
}

}  // namespace

int SummaryCapacity(const WCHAR* patterns, const WCHAR* folder)
{
    int fixed = 0;
    for (const WCHAR* piece : SUMMARY_PIECES)
        fixed += lstrlenW(piece);
    return fixed + LONGEST_OPTION_INSERTS + lstrlenW(patterns) + lstrlenW(folder) + 1;
}

void ComposeSummary(WCHAR* summary, int capacity, const WCHAR* patterns, const WCHAR* folder,
                    OptionFlags options)
{
    const WCHAR* recurseNot = (options & OPT_RECURSE) ? L" " : L" ne ";
    const WCHAR* recursePas = (options & OPT_RECURSE) ? L" " : L" pas ";
    const WCHAR* confirmNot = (options & OPT_CONFIRM) ? L" " : L" ne ";
    const WCHAR* confirmPas = (options & OPT_CONFIRM) ? L" " : L" pas ";
    const WCHAR* inserts[] = {patterns, folder, recurseNot, recursePas, confirmNot, confirmPas};

    int length = 0;
    summary[0] = L'\0';
    for (int i = 0; i < 7; ++i) {
        AppendText(summary, capacity, length, SUMMARY_PIECES[i]);
        if (i < 6)
            AppendText(summary, capacity, length, inserts[i]);
    }
}

void RunDeletion(HWND owner, const WCHAR* folder, const WCHAR* patterns, OptionFlags options)
{
    g_cancelRequested = 0;
    g_runProgress.walking = false;
    InterlockedExchange(&g_runProgress.filesDeleted, 0);

    // The question names the folder that the walk then starts in, whatever the current
    // directory becomes meanwhile. A text that cannot be made full names no folder.
    WCHAR* fullFolder = MakeFullFolder(folder);
    if (fullFolder == nullptr)
        return;
    if (ConfirmRun(owner, fullFolder, patterns, options))
        WalkFrom(owner, fullFolder, patterns, options);
    GlobalFree(fullFolder);
}
