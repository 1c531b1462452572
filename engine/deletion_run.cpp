#include "engine/deletion_run.h"

#include "base/global_block.h"
#include "engine/folder_walk.h"
#include "engine/native_files.h"
#include "engine/pattern_list.h"
#include "engine/removal_workers.h"
#include "engine/start_folder.h"

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

    WalkedFolder* root = OpenStartFolder(folder, record->nameBlock);
    if (root == nullptr)
        return;
    if (!HasNamesakeAbove(root->handle, record->batch)) {
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
