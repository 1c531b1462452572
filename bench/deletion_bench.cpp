// Times whole runs without questions through RunDeletion against the system's
// "cmd /c del /s /q" with the same patterns, on identical trees, in the same process:
//   all:  1,000 folders of 20 "*.obj" files each, every file named;
//   half: 1,000 folders of 10 "*.obj" and 10 "*.c" files, half of them kept.
// "memory N" instead runs once on a tree of N files, in a process of its own, and gives
// the peak memory of the run. "dotted" runs once over one folder of 30,000 files whose
// names end in a dot, all named, and gives the longest time that the run's owner window
// took to answer a message sent from another thread every 50 ms. "title" measures what the
// count in the title costs: one title change on a window like the main dialog, then runs
// with the count shown alternated with runs without, on the all-named tree, on a tree of
// 3,000 folders and on one folder of 30,000 files, each owned by a window that another
// thread keeps asking for an answer.
//   deletion_bench [rounds]
//   deletion_bench memory files
//   deletion_bench dotted
//   deletion_bench title [rounds]
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/progress_title.h"
#include "engine/deletion_run.h"

namespace {

const char PATTERNS[] = "*.res;*.obj;*.map";
const WCHAR WIDE_PATTERNS[] = L"*.res;*.obj;*.map";
const char DEL_PATTERNS[] = "*.res *.obj *.map";

struct Shape {
    const char* name;
    int top, middle, leaves;  // 10 + 90 + 900 = 1,000 folders
    int named, kept;          // files per folder: "*.obj" ones, "*.c" ones
    int Folders() const { return top + top * middle + top * middle * leaves; }
    int Named() const { return Folders() * named; }
    int Kept() const { return Folders() * kept; }
};

double Seconds()
{
    static LARGE_INTEGER frequency;
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void MakeEmptyFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
}

void FillFolder(const std::string& folder, const Shape& shape)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < shape.named; ++i)
        MakeEmptyFile(folder + "\\unit" + std::to_string(i) + ".obj");
    for (int i = 0; i < shape.kept; ++i)
        MakeEmptyFile(folder + "\\unit" + std::to_string(i) + ".c");
}

void BuildTree(const std::string& root, const Shape& shape)
{
    CreateDirectoryA(root.c_str(), nullptr);
    for (int t = 0; t < shape.top; ++t) {
        std::string top = root + "\\module" + std::to_string(t);
        FillFolder(top, shape);
        for (int m = 0; m < shape.middle; ++m) {
            std::string middle = top + "\\part" + std::to_string(m);
            FillFolder(middle, shape);
            for (int l = 0; l < shape.leaves; ++l)
                FillFolder(middle + "\\obj" + std::to_string(l), shape);
        }
    }
}

struct Left {
    int named = 0, kept = 0;
};

// The files left below `folder`, named ones and kept ones, and removes the tree.
Left CountAndRemove(const std::string& folder)
{
    Left left;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                Left below = CountAndRemove(folder + "\\" + name);
                left.named += below.named;
                left.kept += below.kept;
            } else {
                ++(name.size() > 2 && name.compare(name.size() - 2, 2, ".c") == 0 ? left.kept : left.named);
                DeleteFileA((folder + "\\" + name).c_str());
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
    return left;
}

// The summary question, answered Yes from inside its own modal loop.
LRESULT CALLBACK AnswerYes(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        if (GetDlgItem(box, IDYES) != nullptr && GetPropA(box, "answered") == nullptr) {
            SetPropA(box, "answered", reinterpret_cast<HANDLE>(1));
            PostMessageA(box, WM_COMMAND, IDYES, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The folder as a run takes it: UTF-16, ending with a backslash.
std::wstring RunFolder(const std::string& root)
{
    std::wstring folder(root.size() + 2, L'\0');
    folder.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_ACP, 0, root.c_str(), static_cast<int>(root.size()), &folder[0], static_cast<int>(folder.size()))));
    return folder + L"\\";
}

double TimeBrumix(const std::string& root)
{
    std::wstring folder = RunFolder(root);
    HHOOK hook = SetWindowsHookExA(WH_CBT, AnswerYes, nullptr, GetCurrentThreadId());
    double start = Seconds();
    RunDeletion(nullptr, folder.c_str(), WIDE_PATTERNS, OPT_RECURSE);
    double elapsed = Seconds() - start;
    UnhookWindowsHookEx(hook);
    SetCurrentDirectoryA("C:\\");
    return elapsed;
}

double TimeDel(const std::string& root)
{
    std::string commandLine = std::string("cmd.exe /c del /s /q ") + DEL_PATTERNS;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    // Its listing of what it deleted goes nowhere.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nothing = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    startup.hStdOutput = startup.hStdError = nothing;
    PROCESS_INFORMATION process = {};
    double start = Seconds();
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, root.c_str(),
                        &startup, &process)) {
        std::printf("cannot start cmd (error %lu)\n", GetLastError());
        return 0;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    double elapsed = Seconds() - start;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(nothing);
    return elapsed;
}

struct Memory {
    double peakWorkingSet, peakPrivate;  // MB
};

Memory PeakMemory()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return {static_cast<double>(counters.PeakWorkingSetSize) / 1048576.0,
            static_cast<double>(counters.PeakPagefileUsage) / 1048576.0};
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Best(const std::vector<double>& values)
{
    return *std::min_element(values.begin(), values.end());
}

std::string BenchFolder()
{
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    std::string base = std::string(temp) + "brumix-bench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(base.c_str(), nullptr);
    return base;
}

// Rounds on one shape; false when a run left a named file or took a kept one.
bool Compare(const std::string& base, const Shape& shape, int rounds)
{
    std::printf("\n%s: %d folders, %d files, %d of them named (patterns \"%s\")\n", shape.name, shape.Folders(),
                shape.Named() + shape.Kept(), shape.Named(), PATTERNS);
    std::vector<double> brumix, del;
    bool complete = true;
    for (int round = 0; round < rounds; ++round) {
        std::string a = base + "\\a", b = base + "\\b";
        BuildTree(a, shape);
        BuildTree(b, shape);
        // Alternated, so that neither side always runs on the colder tree.
        double tBrumix, tDel;
        if (round % 2 == 0) {
            tBrumix = TimeBrumix(a);
            tDel = TimeDel(b);
        } else {
            tDel = TimeDel(b);
            tBrumix = TimeBrumix(a);
        }
        Left leftA = CountAndRemove(a), leftB = CountAndRemove(b);
        std::printf("  round %d: brumix %.2f s, del /s /q %.2f s (left: brumix %d named %d kept, del %d named %d kept)\n",
                    round + 1, tBrumix, tDel, leftA.named, leftA.kept, leftB.named, leftB.kept);
        std::fflush(stdout);
        complete = complete && leftA.named == 0 && leftA.kept == shape.Kept() && leftB.named == 0;
        brumix.push_back(tBrumix);
        del.push_back(tDel);
    }
    // The machine may be shared: the best round is the one least disturbed.
    double files = shape.Named();
    for (int best = 1; best >= 0; --best) {
        double b = best ? Best(brumix) : Median(brumix), d = best ? Best(del) : Median(del);
        std::printf("  %s of %d: brumix %6.0f files/s (%.2f s), del /s /q %6.0f files/s (%.2f s): ratio %.2f\n",
                    best ? "best  " : "median", rounds, files / b, b, files / d, d, d / b);
    }
    return complete;
}

// The dotted names can only be made and removed by NT calls relative to their folder's
// handle: a Win32 path loses a trailing dot on the way.
HANDLE OpenRelative(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG disposition, ULONG options)
{
    UNICODE_STRING text;
    text.Buffer = const_cast<WCHAR*>(name.c_str());
    text.Length = text.MaximumLength = static_cast<USHORT>(name.size() * sizeof(WCHAR));
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, 0, folder, nullptr);
    IO_STATUS_BLOCK status;
    HANDLE handle = nullptr;
    NTSTATUS result = NtCreateFile(&handle, access | SYNCHRONIZE, &attributes, &status, nullptr, 0,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, disposition,
                                   options | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    return NT_SUCCESS(result) ? handle : nullptr;
}

HANDLE OpenFolderHandle(const std::string& folder)
{
    HANDLE handle = CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | SYNCHRONIZE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

std::wstring DottedName(int i)
{
    WCHAR name[32];
    wsprintfW(name, L"unit%05d.obj.", i);
    return name;
}

// The files left in the folder, each removed by its exact name.
int CountAndRemoveExactly(const std::string& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(std::wstring(folder.begin(), folder.end()).append(L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..")
                names.push_back(name);
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    HANDLE handle = OpenFolderHandle(folder);
    for (const std::wstring& name : names)
        CloseHandle(OpenRelative(handle, name, DELETE, FILE_OPEN, FILE_NON_DIRECTORY_FILE | FILE_DELETE_ON_CLOSE));
    CloseHandle(handle);
    RemoveDirectoryA(folder.c_str());
    return static_cast<int>(names.size());
}

struct AnswerWatch {
    HWND window;
    volatile LONG stop;
    double longest;  // seconds
    int answered;
};

// Asks the window every 50 ms whether it answers, as the system does to tell a hung one.
DWORD WINAPI WatchAnswers(void* parameter)
{
    auto* watch = static_cast<AnswerWatch*>(parameter);
    while (!watch->stop) {
        double sent = Seconds();
        DWORD_PTR result = 0;
        SendMessageTimeoutW(watch->window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
        watch->longest = std::max(watch->longest, Seconds() - sent);
        ++watch->answered;
        Sleep(50);
    }
    return 0;
}

// One run over a folder of dotted names, owned by a window of this thread that another
// thread keeps asking for an answer.
bool MeasureDotted(const std::string& base)
{
    constexpr int FILES = 30000;
    const WCHAR PATTERN[] = L"*.obj*";
    std::string folder = base + "\\dotted";
    CreateDirectoryA(folder.c_str(), nullptr);
    HANDLE handle = OpenFolderHandle(folder);
    int made = 0;
    for (int i = 0; i < FILES; ++i) {
        HANDLE file = OpenRelative(handle, DottedName(i), GENERIC_WRITE, FILE_CREATE, FILE_NON_DIRECTORY_FILE);
        made += file != nullptr;
        CloseHandle(file);
    }
    CloseHandle(handle);

    HWND owner = CreateWindowExW(0, L"STATIC", L"brumix bench", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    AnswerWatch watch = {owner, 0, 0.0, 0};
    HANDLE watcher = CreateThread(nullptr, 0, WatchAnswers, &watch, 0, nullptr);
    HHOOK hook = SetWindowsHookExA(WH_CBT, AnswerYes, nullptr, GetCurrentThreadId());
    double start = Seconds();
    RunDeletion(owner, RunFolder(folder).c_str(), PATTERN, OPT_RECURSE);
    double seconds = Seconds() - start;
    UnhookWindowsHookEx(hook);
    watch.stop = 1;
    // The watcher's last question needs this thread's messages to end.
    while (MsgWaitForMultipleObjects(1, &watcher, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    CloseHandle(watcher);
    DestroyWindow(owner);
    SetCurrentDirectoryA("C:\\");
    int left = CountAndRemoveExactly(folder);
    std::printf("dotted: %d files named \"unit00000.obj.\" and on in one folder (pattern \"%ls\"): run of %.2f s, "
                "%d left; the owner answered %d messages, the slowest in %.0f ms\n",
                made, PATTERN, seconds, left, watch.answered, watch.longest * 1000.0);
    return made == FILES && left == 0;
}

// One run on a tree of about `files` named files, and the peak memory of the process.
bool MeasureMemory(const std::string& base, int files)
{
    Shape shape = {"memory", 10, 10, std::max(1, files / 20 / 100 - 1), 20, 0};
    std::string tree = base + "\\m";
    BuildTree(tree, shape);
    Memory before = PeakMemory();
    double seconds = TimeBrumix(tree);
    Memory after = PeakMemory();
    Left left = CountAndRemove(tree);
    std::printf("memory: %d files in %d folders deleted in %.2f s (%.0f files/s); peak working set %.1f MB, "
                "peak private %.1f MB (before the run: %.1f MB, %.1f MB)\n",
                shape.Named(), shape.Folders(), seconds, shape.Named() / seconds, after.peakWorkingSet,
                after.peakPrivate, before.peakWorkingSet, before.peakPrivate);
    return left.named == 0;
}

// --- The count in the title --------------------------------------------------------

volatile LONG g_titleChanges;

LRESULT CALLBACK TitledWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == PROGRESS_TIMER_ID) {
        UpdateProgressTitle(window);
        return 0;
    }
    if (message == WM_SETTEXT)
        ++g_titleChanges;
    return DefWindowProcW(window, message, wParam, lParam);
}

// A shown window with the main dialog's frame and title.
HWND MakeTitledWindow()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = TitledWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BrumixBenchTitled";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(WS_EX_DLGMODALFRAME, L"BrumixBenchTitled", L"Brumix",
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 333, 131, 306, 296, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    UpdateWindow(window);
    return window;
}

void HandleWaitingMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

// One title change as a run makes it, the repaint that it causes included.
void MeasureTitleChange(HWND window)
{
    constexpr int CHANGES = 400;
    std::vector<double> costs;
    WCHAR title[PROGRESS_TITLE_CAPACITY];
    HandleWaitingMessages();
    for (int i = 0; i < CHANGES; ++i) {
        double start = Seconds();
        ComposeProgressTitle(title, PROGRESS_TITLE_CAPACITY, 9876 + i * 37);
        SetWindowTextW(window, title);
        HandleWaitingMessages();
        costs.push_back(Seconds() - start);
    }
    SetWindowTextW(window, L"Brumix");
    double total = 0;
    for (double cost : costs)
        total += cost;
    std::sort(costs.begin(), costs.end());
    std::printf("one title change (%d on a shown window): median %.0f us, mean %.0f us, 90th percentile %.0f us, "
                "slowest %.0f us\n",
                CHANGES, costs[costs.size() / 2] * 1e6, total / CHANGES * 1e6, costs[costs.size() * 9 / 10] * 1e6,
                costs.back() * 1e6);
}

struct TitledRun {
    double seconds;
    LONG changes;
    double longestAnswer;
};

// A run owned by `window`, with the count in its title as the main dialog shows it when
// `titled`, while another thread keeps asking the window for an answer.
TitledRun TimeOwnedRun(const std::string& root, HWND window, bool titled)
{
    std::wstring folder = RunFolder(root);
    AnswerWatch watch = {window, 0, 0.0, 0};
    HANDLE watcher = CreateThread(nullptr, 0, WatchAnswers, &watch, 0, nullptr);
    HHOOK hook = SetWindowsHookExA(WH_CBT, AnswerYes, nullptr, GetCurrentThreadId());
    g_titleChanges = 0;
    double start = Seconds();
    if (titled)
        StartProgressTitle(window);
    RunDeletion(window, folder.c_str(), WIDE_PATTERNS, OPT_RECURSE);
    if (titled)
        EndProgressTitle(window);
    double seconds = Seconds() - start;
    LONG changes = g_titleChanges - (titled ? 1 : 0);  // the title given back at the end
    UnhookWindowsHookEx(hook);
    watch.stop = 1;
    while (MsgWaitForMultipleObjects(1, &watcher, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        HandleWaitingMessages();
    CloseHandle(watcher);
    SetCurrentDirectoryA("C:\\");
    return {seconds, changes, watch.longest};
}

// Runs with and without the count on one shape, alternated; false when a run left a
// named file or took a kept one.
bool CompareTitled(const std::string& base, HWND window, const Shape& shape, int rounds)
{
    std::printf("\n%s: %d folders, %d files, %d of them named\n", shape.name, shape.Folders(),
                shape.Named() + shape.Kept(), shape.Named());
    std::vector<double> with, without;
    bool complete = true;
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            bool titled = (round + turn) % 2 == 0;
            std::string tree = base + "\\t";
            BuildTree(tree, shape);
            TitledRun run = TimeOwnedRun(tree, window, titled);
            Left left = CountAndRemove(tree);
            complete = complete && left.named == 0 && left.kept == shape.Kept();
            (titled ? with : without).push_back(run.seconds);
            std::printf("  round %d, %s: %.2f s, %ld title changes, the window answered within %.0f ms "
                        "(left: %d named %d kept)\n",
                        round + 1, titled ? "count shown" : "no count  ", run.seconds, run.changes,
                        run.longestAnswer * 1000.0, left.named, left.kept);
            std::fflush(stdout);
        }
    }
    std::printf("  best of %d: %.2f s with the count, %.2f s without (%+.1f %%)\n", rounds, Best(with),
                Best(without), (Best(with) / Best(without) - 1.0) * 100.0);
    return complete;
}

bool MeasureTitle(const std::string& base, int rounds)
{
    HWND window = MakeTitledWindow();
    MeasureTitleChange(window);
    bool complete = CompareTitled(base, window, Shape{"all named", 10, 9, 10, 20, 0}, rounds);
    complete = CompareTitled(base, window, Shape{"3,000 folders", 10, 11, 26, 2, 1}, rounds) && complete;
    complete = CompareTitled(base, window, Shape{"one crowded folder", 1, 0, 0, 30000, 0}, rounds) && complete;
    DestroyWindow(window);
    return complete;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string base = BenchFolder();
    bool complete;
    if (argc > 2 && std::strcmp(argv[1], "memory") == 0) {
        complete = MeasureMemory(base, std::atoi(argv[2]));
    } else if (argc > 1 && std::strcmp(argv[1], "dotted") == 0) {
        complete = MeasureDotted(base);
    } else if (argc > 1 && std::strcmp(argv[1], "title") == 0) {
        complete = MeasureTitle(base, argc > 2 ? std::max(1, std::atoi(argv[2])) : 3);
    } else {
        int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
        complete = Compare(base, Shape{"all named", 10, 9, 10, 20, 0}, rounds);
        complete = Compare(base, Shape{"half kept", 10, 9, 10, 10, 10}, rounds) && complete;
    }
    RemoveDirectoryA(base.c_str());
    if (!complete)
        std::printf("WARNING: a named file was left behind, or a kept one deleted\n");
    return complete ? 0 : 1;
}
