// Times a whole run without questions through RunDeletion on a tree of about 20,000 files
// in 1,000 folders, three patterns of which one matches, against the system's
// "cmd /c del /s /q" with the same patterns on an identical tree, in the same process.
// Also times the plain walk that the checks of the engine were added to, for their cost.
//   deletion_bench [rounds] [folders-per-level] [files-per-folder]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "engine/deletion_run.h"

namespace {

const char PATTERNS[] = "*.res;*.obj;*.map";

struct Shape {
    int top = 10, middle = 9, leaves = 10;  // 10 + 90 + 900 = 1,000 folders
    int files = 20;                         // 20,000 files, all "*.obj"
    int Folders() const { return top + top * middle + top * middle * leaves; }
    int Files() const { return Folders() * files; }
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

void FillFolder(const std::string& folder, int files)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < files; ++i) {
        std::string name = folder + "\\unit" + std::to_string(i) + ".obj";
        HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(file);
    }
}

void BuildTree(const std::string& root, const Shape& shape)
{
    CreateDirectoryA(root.c_str(), nullptr);
    for (int t = 0; t < shape.top; ++t) {
        std::string top = root + "\\module" + std::to_string(t);
        FillFolder(top, shape.files);
        for (int m = 0; m < shape.middle; ++m) {
            std::string middle = top + "\\part" + std::to_string(m);
            FillFolder(middle, shape.files);
            for (int l = 0; l < shape.leaves; ++l)
                FillFolder(middle + "\\obj" + std::to_string(l), shape.files);
        }
    }
}

// Files left below `folder`, and removes the tree.
int CountAndRemove(const std::string& folder)
{
    int files = 0;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                files += CountAndRemove(folder + "\\" + name);
            } else {
                ++files;
                DeleteFileA((folder + "\\" + name).c_str());
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
    return files;
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

double TimeBrumix(const std::string& root)
{
    HHOOK hook = SetWindowsHookExA(WH_CBT, AnswerYes, nullptr, GetCurrentThreadId());
    double start = Seconds();
    RunDeletion(nullptr, (root + "\\").c_str(), PATTERNS, OPT_RECURSE);
    double elapsed = Seconds() - start;
    UnhookWindowsHookEx(hook);
    SetCurrentDirectoryA("C:\\");
    return elapsed;
}

// The walk with none of the engine's checks: ANSI enumeration, DeleteFileA by path text.
void PlainWalk(const std::string& folder)
{
    if (!SetCurrentDirectoryA(folder.c_str()))
        return;
    WIN32_FIND_DATAA entry;
    for (const char* pattern : {"*.res", "*.obj", "*.map"}) {
        HANDLE find = FindFirstFileA(pattern, &entry);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        do
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + entry.cFileName).c_str());
        while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    HANDLE find = FindFirstFileA("*.*", &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = entry.cFileName;
        if (entry.dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY && name != "." && name != "..")
            PlainWalk(folder + name + "\\");
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}

double TimePlainWalk(const std::string& root)
{
    double start = Seconds();
    PlainWalk(root + "\\");
    double elapsed = Seconds() - start;
    SetCurrentDirectoryA("C:\\");
    return elapsed;
}

double TimeDel(const std::string& root)
{
    std::string commandLine = "cmd.exe /c del /s /q *.res *.obj *.map";
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

}  // namespace

int main(int argc, char** argv)
{
    int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
    Shape shape;
    if (argc > 2)
        shape.top = shape.middle = shape.leaves = std::atoi(argv[2]);
    if (argc > 3)
        shape.files = std::atoi(argv[3]);
    g_mainWindow = nullptr;

    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    std::string base = std::string(temp) + "brumix-bench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(base.c_str(), nullptr);
    std::printf("tree: %d files in %d folders, patterns \"%s\" (one matches every file)\n", shape.Files(),
                shape.Folders(), PATTERNS);

    // A small run first: the peak after it against the peak after the full runs shows
    // whether memory grows with the number of files.
    Shape small;
    {
        small.top = small.middle = small.leaves = 2;
        BuildTree(base + "\\small", small);
        TimeBrumix(base + "\\small");
        CountAndRemove(base + "\\small");
    }
    Memory afterSmall = PeakMemory();

    std::vector<double> brumix, plain, del;
    bool complete = true;
    for (int round = 0; round < rounds; ++round) {
        std::string a = base + "\\a", b = base + "\\b", c = base + "\\c";
        BuildTree(a, shape);
        BuildTree(b, shape);
        BuildTree(c, shape);
        // Alternated, so that neither side always runs on the colder tree.
        double tBrumix, tDel, tPlain;
        if (round % 2 == 0) {
            tBrumix = TimeBrumix(a);
            tDel = TimeDel(b);
        } else {
            tDel = TimeDel(b);
            tBrumix = TimeBrumix(a);
        }
        tPlain = TimePlainWalk(c);
        int leftA = CountAndRemove(a), leftB = CountAndRemove(b), leftC = CountAndRemove(c);
        std::printf("round %d: brumix %.2f s, del /s /q %.2f s, plain walk %.2f s (files left: %d, %d, %d)\n",
                    round + 1, tBrumix, tDel, tPlain, leftA, leftB, leftC);
        std::fflush(stdout);
        complete = complete && leftA == 0 && leftB == 0 && leftC == 0;
        brumix.push_back(tBrumix);
        del.push_back(tDel);
        plain.push_back(tPlain);
    }
    RemoveDirectoryA(base.c_str());
    Memory afterAll = PeakMemory();

    // The machine may be shared: the best round is the one least disturbed.
    double files = shape.Files();
    for (int best = 1; best >= 0; --best) {
        double b = best ? Best(brumix) : Median(brumix), d = best ? Best(del) : Median(del),
               p = best ? Best(plain) : Median(plain);
        std::printf("\n%s of %d rounds:\n", best ? "best" : "median", rounds);
        std::printf("  brumix (RunDeletion, every check on): %8.0f files/s  (%.2f s)\n", files / b, b);
        std::printf("  cmd /c del /s /q:                     %8.0f files/s  (%.2f s)\n", files / d, d);
        std::printf("  plain walk without the checks:        %8.0f files/s  (%.2f s)\n", files / p, p);
        std::printf("  brumix / del speed ratio: %.2f (above 1: brumix is faster)\n", d / b);
        std::printf("  cost of the checks: %.0f%% over the plain walk\n", (b / p - 1.0) * 100.0);
    }
    std::printf("peak memory: working set %.1f MB, private %.1f MB (after a %d-file run: %.1f MB, %.1f MB)\n",
                afterAll.peakWorkingSet, afterAll.peakPrivate, small.Files(), afterSmall.peakWorkingSet,
                afterSmall.peakPrivate);
    if (!complete)
        std::printf("WARNING: files were left behind\n");
    return complete ? 0 : 1;
}
