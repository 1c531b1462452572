// Times whole runs without questions through RunDeletion against the system's
// "cmd /c del /s /q" with the same patterns, on identical trees, in the same process:
//   all:  1,000 folders of 20 "*.obj" files each, every file named;
//   half: 1,000 folders of 10 "*.obj" and 10 "*.c" files, half of them kept.
// "memory N" instead runs once on a tree of N files, in a process of its own, and gives
// the peak memory of the run.
//   deletion_bench [rounds]
//   deletion_bench memory files
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

double TimeBrumix(const std::string& root)
{
    std::wstring folder(root.size() + 2, L'\0');
    folder.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_ACP, 0, root.c_str(), static_cast<int>(root.size()), &folder[0], static_cast<int>(folder.size()))));
    folder += L"\\";
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

}  // namespace

int main(int argc, char** argv)
{
    std::string base = BenchFolder();
    bool complete;
    if (argc > 2 && std::strcmp(argv[1], "memory") == 0) {
        complete = MeasureMemory(base, std::atoi(argv[2]));
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
