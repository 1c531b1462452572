#include "engine/deletion_run.h"

#include "app/global_block.h"
#include "engine/folder_walk.h"
#include "engine/found_path.h"

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

    // Declared in this order so that they are released in the reverse one:
    // found path, entry name, work list, pattern list, find data, then the job itself.
    int listBytes = lstrlenA(patterns) + 1;
    GlobalBlock job(sizeof(DeletionJob));
    GlobalBlock findData(sizeof(WIN32_FIND_DATAW));
    GlobalBlock patternList(listBytes);
    GlobalBlock workList(listBytes);
    GlobalBlock entryName(MAX_PATH);
    GlobalBlock foundPath(FOUND_PATH_CAPACITY * sizeof(WCHAR));
    // Without every block there is no safe run: delete nothing.
    if (!job || !findData || !patternList || !workList || !entryName || !foundPath)
        return;

    DeletionJob* record = job.as<DeletionJob>();
    record->findData = findData.as<WIN32_FIND_DATAW>();
    record->options = options;
    record->patternList = patternList.text();
    lstrcpyA(record->patternList, patterns);
    record->workList = workList.text();
    record->entryName = entryName.text();
    record->foundPath = foundPath.as<WCHAR>();

    // Every path of the run is built from the start folder's text while the current
    // directory moves: a relative one ("sub\", "\") would name other files after the
    // first step. It is made full once, here, from the current directory of the moment.
    DWORD fullBytes = GetFullPathNameA(folder, 0, nullptr, nullptr) + 1;
    GlobalBlock start(fullBytes);
    if (!start)
        return;
    DWORD length = GetFullPathNameA(folder, fullBytes, start.text(), nullptr);
    if (length == 0 || length + 1 >= fullBytes)
        return;
    if (start.text()[length - 1] != '\\')
        start.text()[length] = '\\';

    WalkFolder(*record, start.text());
}
