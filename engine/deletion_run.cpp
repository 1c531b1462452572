#include "engine/deletion_run.h"

#include "base/global_block.h"
#include "base/text_append.h"
#include "engine/folder_walk.h"
#include "engine/native_files.h"
#include "engine/pattern_list.h"
#include "engine/removal_workers.h"
#include "engine/run_questions.h"
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

// The message that stops a run on a pattern that can name no file, in pieces:
// "Le motif « %s » ne peut désigner aucun fichier : %s\n\nRien n'a été effacé."
constexpr WCHAR FAULT_START[] = L"Le motif \u00ab\u00a0";
constexpr WCHAR FAULT_MIDDLE[] = L"\u00a0\u00bb ne peut d\u00e9signer aucun fichier\u00a0: ";
constexpr WCHAR FAULT_END[] = L"\n\nRien n'a \u00e9t\u00e9 effac\u00e9.";
constexpr WCHAR FAULT_EMPTY[] = L"il n'y a rien entre ses guillemets.";
constexpr WCHAR FAULT_FOLDER_PART[] =
    L"il contient un chemin ou un lecteur. Un motif ne d\u00e9signe que des fichiers du r\u00e9pertoire "
    L"\u00e0 parcourir.";
constexpr WCHAR FAULT_CHARACTER_START[] = L"il contient \u00ab\u00a0";
constexpr WCHAR FAULT_CONTROL_START[] = L"il contient un caract\u00e8re de contr\u00f4le (code ";
constexpr WCHAR FAULT_CHARACTER_END[] = L"\u00a0\u00bb, qu'aucun nom de fichier ne peut contenir.";
constexpr WCHAR FAULT_CONTROL_END[] = L"), qu'aucun nom de fichier ne peut contenir.";
constexpr WCHAR FAULT_CAPTION[] = L"Brumix";
// Room for the longest reason and the code of a control character.
constexpr int FAULT_REASON_ROOM = 160;

// Every run starts afresh, also one that asks nothing: not cancelled, nothing deleted, not
// walking yet.
void ClearRunState()
{
    g_cancelRequested = 0;
    g_runProgress.walking = false;
    InterlockedExchange(&g_runProgress.filesDeleted, 0);
}

// Yes to the summary of this run: anything else, Escape and the close box included
// (Wine lets them end a Yes/No box with IDCANCEL), is a No.
bool ConfirmRun(HWND owner, const WCHAR* folder, const WCHAR* patterns, OptionFlags options)
{
    int capacity = SummaryCapacity(patterns, folder);
    GlobalBlock summary(static_cast<SIZE_T>(capacity) * sizeof(WCHAR));
    if (!summary)
        return false;
    ComposeSummary(summary.as<WCHAR>(), capacity, patterns, folder, options);
    return AskQuestion(owner, summary.as<WCHAR>(), SUMMARY_CAPTION, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// True when every pattern of the list can name a file. Else the first that cannot is named
// in a message, with what is wrong with it: the walk would pass it over, and the files
// it was meant to name would silently stay. A list that cannot be checked is not run.
bool PatternsCanNameFiles(HWND owner, const WCHAR* patterns)
{
    SIZE_T bytes = (static_cast<SIZE_T>(lstrlenW(patterns)) + 1) * sizeof(WCHAR);
    GlobalBlock list(bytes);
    if (!list)
        return false;
    CopyMemory(list.as<WCHAR>(), patterns, bytes);
    for (WCHAR* pattern = CutPattern(list.as<WCHAR>()); pattern != nullptr; pattern = CutPattern(nullptr)) {
        WCHAR character;
        PatternFault fault = FindPatternFault(pattern, character);
        if (fault == PATTERN_USABLE)
            continue;
        WCHAR* message = ComposePatternFault(pattern, fault, character);
        if (message != nullptr) {
            AskQuestion(owner, message, FAULT_CAPTION, MB_OK | MB_ICONEXCLAMATION);
            GlobalFree(message);
        }
        return false;
    }
    return true;
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

WCHAR* ComposePatternFault(const WCHAR* pattern, PatternFault fault, WCHAR character)
{
    int capacity = lstrlenW(FAULT_START) + lstrlenW(pattern) + lstrlenW(FAULT_MIDDLE) + FAULT_REASON_ROOM +
                   lstrlenW(FAULT_END) + 1;
    auto* message = static_cast<WCHAR*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, capacity * sizeof(WCHAR)));
    if (message == nullptr)
        return nullptr;
    int length = 0;
    AppendText(message, capacity, length, FAULT_START);
    AppendText(message, capacity, length, pattern);
    AppendText(message, capacity, length, FAULT_MIDDLE);
    if (fault == PATTERN_EMPTY) {
        AppendText(message, capacity, length, FAULT_EMPTY);
    } else if (fault == PATTERN_FOLDER_PART) {
        AppendText(message, capacity, length, FAULT_FOLDER_PART);
    } else if (character < 32) {
        WCHAR code[8];
        wsprintfW(code, L"%d", static_cast<int>(character));
        AppendText(message, capacity, length, FAULT_CONTROL_START);
        AppendText(message, capacity, length, code);
        AppendText(message, capacity, length, FAULT_CONTROL_END);
    } else {
        WCHAR shown[2] = {character, L'\0'};
        AppendText(message, capacity, length, FAULT_CHARACTER_START);
        AppendText(message, capacity, length, shown);
        AppendText(message, capacity, length, FAULT_CHARACTER_END);
    }
    AppendText(message, capacity, length, FAULT_END);
    return message;
}

void RunDeletion(HWND owner, const WCHAR* folder, const WCHAR* patterns, OptionFlags options)
{
    // A text that cannot be made full names no folder: there is nothing to ask.
    WCHAR* fullFolder = MakeFullFolder(folder);
    if (fullFolder == nullptr) {
        ClearRunState();
        return;
    }
    RunDeletionFromFullFolder(owner, fullFolder, patterns, options);
    GlobalFree(fullFolder);
}

void RunDeletionFromFullFolder(HWND owner, const WCHAR* folder, const WCHAR* patterns, OptionFlags options)
{
    ClearRunState();

    // The question names the folder that the walk then starts in, whatever the current
    // directory becomes meanwhile, and every pattern it lists can name files.
    if (PatternsCanNameFiles(owner, patterns) && ConfirmRun(owner, folder, patterns, options))
        WalkFrom(owner, folder, patterns, options);
}
