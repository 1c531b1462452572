// A run long enough to be felt, in the running program: the dialog keeps answering
// messages, Escape, the close box and Alt+F4 stop it without closing the program, and no
// command starts anything while it lasts. The tree is sized from a rate measured here,
// so that each run lasts about two seconds on this machine.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/app_driver.h"
#include "res/resource.h"
#include "support/cursor.h"
#include "support/focus.h"
#include "support/temp_folder.h"
#include "support/unix_files.h"

using driver::BrumixApp;

namespace {

constexpr int FILES_PER_FOLDER = 40;

std::string Folder(int i)
{
    char name[16];
    wsprintfA(name, "d%04d\\", i);
    return name;
}

// Where the trees are made. This machine's disk makes files slowly (about half a
// millisecond each, for Linux itself): under Wine they go to the memory file system that
// Linux offers in /dev/shm, when there is one.
std::string TreeBase()
{
    const char* memory = "Z:\\dev\\shm\\";
    DWORD attributes = GetFileAttributesA(memory);
    if (driver::RunningUnderWine() && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return memory;
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    return temp;
}

// Makes `folders` folders of named files and one kept file each, in the current folder.
const char MAKE_TREE[] =
    "import os, sys\n"
    "folders, files = int(sys.argv[1]), int(sys.argv[2])\n"
    "for i in range(folders):\n"
    "    folder = 'd%04d' % i\n"
    "    os.mkdir(folder)\n"
    "    for name in ['f%d.obj' % j for j in range(files)] + ['keep.c']:\n"
    "        open(os.path.join(folder, name), 'w').close()\n"
    "open('built', 'w').close()\n";

// `folders` folders, each with its own named files and one kept file. Under Wine one
// Linux process makes them, many times faster than a call each through Wine.
void BuildTree(TempFolder& root, int folders)
{
    if (driver::RunningUnderWine()) {
        std::string script = root.MakeFile("make_tree.py", MAKE_TREE);
        ASSERT_TRUE(RunUnixScript(root.path(), "python3 make_tree.py " + std::to_string(folders) + " " +
                                                   std::to_string(FILES_PER_FOLDER),
                                  "built"));
        DeleteFileA(script.c_str());
        DeleteFileA((root / "built").c_str());
        return;
    }
    for (int f = 0; f < folders; ++f) {
        std::string folder = root.MakeFolder(Folder(f));
        for (int i = 0; i < FILES_PER_FOLDER; ++i) {
            std::string name = folder + "f" + std::to_string(i) + ".obj";
            CloseHandle(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        }
        root.MakeFile(Folder(f) + "keep.c");
    }
}

int NamedLeft(const TempFolder& root)
{
    std::vector<std::string> files = root.Files();
    return static_cast<int>(std::count_if(files.begin(), files.end(), [](const std::string& file) {
        return file.size() > 4 && file.compare(file.size() - 4, 4, ".obj") == 0;
    }));
}

// Starts the program on `root` and begins a run without questions.
void StartRun(BrumixApp& app, const TempFolder& root)
{
    ASSERT_TRUE(app.Start(root.path()));
    ASSERT_TRUE(app.BeginRun(root.path(), "*.obj", true, false));
}

bool Busy(const BrumixApp& app)
{
    return !IsWindowEnabled(app.Control(IDOK));
}

// Folders for a run of about two seconds, from a small run timed on this machine.
int FoldersForALongRun()
{
    static int folders = 0;
    if (folders != 0)
        return folders;
    TempFolder root(TreeBase());
    constexpr int SAMPLE = 50;
    BuildTree(root, SAMPLE);
    BrumixApp app;
    StartRun(app, root);
    DWORD start = GetTickCount();
    EXPECT_TRUE(app.WaitIdle());
    double seconds = std::max(0.05, (GetTickCount() - start) / 1000.0);
    EXPECT_TRUE(app.Close());
    folders = std::min(5000, std::max(100, static_cast<int>(2.0 * SAMPLE / seconds)));
    return folders;
}

// Waits until the run has visibly begun: the first folder's files are going.
bool WaitForDeletionsToStart(const TempFolder& root)
{
    for (int tries = 0; tries < 1500; ++tries) {
        if (!root.Exists(Folder(0) + "f0.obj"))
            return true;
        Sleep(10);
    }
    return false;
}

struct WindowSearch {
    DWORD process;
    HWND dialog;
    int count;
};

BOOL CALLBACK CountOtherWindow(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && window != search->dialog && IsWindowVisible(window))
        ++search->count;
    return TRUE;
}

// Visible windows of the program other than its main dialog (a box, a picker, the help).
int OtherWindows(const BrumixApp& app)
{
    WindowSearch search = {app.processId(), app.dialog(), 0};
    EnumWindows(CountOtherWindow, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

// A tree sized for a long run, and the program to run on it.
struct LongRun {
    int folders = FoldersForALongRun();
    TempFolder root{TreeBase()};
    BrumixApp app;
    HCURSOR idle = nullptr;  // the dialog's cursor before the run, the mouse beside its banner

    // Makes the tree and starts a run without questions on it, with a click on OK.
    void Begin()
    {
        BuildTree(root, folders);
        ASSERT_TRUE(app.Start(root.path()));
        idle = PointAt(app.dialog(), {4, 10});
        ASSERT_TRUE(app.BeginRun(root.path(), "*.obj", true, false));
    }
};

TEST(LongRunE2E, TheDialogAnswersWithinASecondAllTheWayThrough)
{
    LongRun run;
    ASSERT_NO_FATAL_FAILURE(run.Begin());
    DWORD start = GetTickCount(), slowest = 0;
    int answered = 0;
    while (Busy(run.app)) {
        DWORD sent = GetTickCount();
        DWORD_PTR result = 0;
        ASSERT_NE(SendMessageTimeoutA(run.app.dialog(), WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result), 0)
            << "the dialog did not answer within 1 s, " << (sent - start) << " ms into the run";
        slowest = std::max(slowest, GetTickCount() - sent);
        ++answered;
        ASSERT_LT(GetTickCount() - start, 60000u) << "the run never ended";
        Sleep(50);
    }
    DWORD lasted = GetTickCount() - start;
    EXPECT_GT(lasted, 1000u) << "the run was too short to show anything (" << run.folders << " folders)";
    EXPECT_GE(answered, 10);
    EXPECT_LT(slowest, 1000u);
    EXPECT_EQ(NamedLeft(run.root), 0);
    EXPECT_EQ(run.root.Files().size(), static_cast<size_t>(run.folders)) << "a kept file went";
    std::printf("run of %d files: %lu ms, %d messages answered, the slowest in %lu ms\n",
                run.folders * FILES_PER_FOLDER, lasted, answered, slowest);
    EXPECT_TRUE(run.app.Close());
}

TEST(LongRunE2E, EscapeTheCloseBoxAndAltF4StopTheRunAndTheNextStartsAfresh)
{
    const char* ways[] = {"posted IDCANCEL", "Escape", "close box", "Alt+F4"};
    for (int way = 0; way < 4; ++way) {
        SCOPED_TRACE(ways[way]);
        LongRun run;
        ASSERT_NO_FATAL_FAILURE(run.Begin());
        BrumixApp& app = run.app;
        ASSERT_TRUE(WaitForDeletionsToStart(run.root));
        switch (way) {
        case 0: PostMessageA(app.dialog(), WM_COMMAND, IDCANCEL, 0); break;
        case 1: app.PressKey(VK_ESCAPE); break;
        case 2: app.ClickCloseBox(app.dialog()); break;
        case 3: PostMessageA(app.dialog(), WM_SYSKEYDOWN, VK_F4, 1 | (1u << 29)); break;
        }
        ASSERT_TRUE(app.WaitIdle());
        EXPECT_TRUE(app.IsRunning()) << "the program closed in the middle of a run";
        EXPECT_TRUE(IsWindowVisible(app.dialog()));
        // OK, clicked to start the run, has the focus again, and the wait cursor is gone.
        EXPECT_TRUE(WaitForFocusOn(app.Control(IDOK)));
        EXPECT_TRUE(WaitForCursor(run.idle));
        int left = NamedLeft(run.root);
        EXPECT_GT(left, 0) << "the run was not stopped";
        EXPECT_LT(left, run.folders * FILES_PER_FOLDER) << "the run never began";
        EXPECT_EQ(OtherWindows(app), 0);

        // The next run starts afresh and deletes what it should.
        ASSERT_TRUE(app.BeginRun(run.root.path(), "*.obj", true, false));
        ASSERT_TRUE(app.WaitIdle());
        EXPECT_EQ(NamedLeft(run.root), 0);
        EXPECT_EQ(run.root.Files().size(), static_cast<size_t>(run.folders));
        // Idle again, Escape closes the program as it always has.
        EXPECT_TRUE(app.Close(driver::BY_ESCAPE));
    }
}

TEST(LongRunE2E, CommandsPostedDuringARunStartNothing)
{
    LongRun run;
    ASSERT_NO_FATAL_FAILURE(run.Begin());
    ASSERT_TRUE(WaitForDeletionsToStart(run.root));
    for (int command : {IDOK, IDC_BROWSE_FOLDER, IDC_BROWSE_PATTERNS, IDHELP, IDOK})
        PostMessageA(run.app.dialog(), WM_COMMAND, static_cast<WPARAM>(command), 0);
    Sleep(300);
    EXPECT_TRUE(Busy(run.app));
    EXPECT_EQ(OtherWindows(run.app), 0) << "a command started something during the run";
    ASSERT_TRUE(run.app.WaitIdle());
    EXPECT_TRUE(run.app.NoMessageBoxWithin(500)) << "a second run began after the first";
    EXPECT_EQ(OtherWindows(run.app), 0);
    EXPECT_EQ(NamedLeft(run.root), 0) << "the run did not go to its end";
    EXPECT_TRUE(run.app.Close());
}

}  // namespace
