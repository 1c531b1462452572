// A run long enough to be felt, in the running program: the dialog keeps answering
// messages, Escape, the close box, Alt+F4 and a quit message stop it, and no command
// starts anything while it lasts. The tree holds far more files than a run deletes while
// the test sends it a key; a test that stops a run makes sure first that it is still
// under way, and takes a larger tree when it was not. Every check waits for what it looks
// at, so none depends on how fast the machine is.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "driver/app_driver.h"
#include "res/resource.h"
#include "support/cursor.h"
#include "support/focus.h"
#include "support/temp_folder.h"
#include "support/unix_files.h"
#include "support/utf8.h"

using driver::BrumixApp;

namespace {

// A tree of folders, each with its named files and one kept file.
struct Shape {
    int folders, filesPerFolder;
    constexpr int Named() const { return folders * filesPerFolder; }
};
// Files enough for a run that lasts; and a few thousand folders, each with little to do.
constexpr Shape DENSE = {100, 100};
constexpr Shape WIDE = {3000, 2};

// The longest the dialog may take to answer a message during a run: far above what a run
// costs it (a few tens of milliseconds), and still a wait that a person would call hung.
constexpr DWORD ANSWER_BOUND_MS = 2000;
// How long a whole run may last, on a machine as loaded as it gets.
constexpr DWORD RUN_BOUND_MS = 120000;
// Between two questions to the dialog: an observer that asks without pause slows the
// program it watches.
constexpr DWORD PROBE_INTERVAL_MS = 50;

std::string Folder(int i)
{
    char name[16];
    wsprintfA(name, "d%04d\\", i);
    return name;
}

// Where the trees are made. This machine's disk makes files slowly (about half a
// millisecond each, for Linux itself): under Wine they go to a folder of this build's own
// in the memory file system that Linux offers in /dev/shm, which the test run empties
// after these tests whatever became of them.
std::string TreeBase()
{
    if (driver::RunningUnderWine()) {
        std::string base = "Z:" BRUMIX_LONG_RUN_TREES "\\";
        std::replace(base.begin(), base.end(), '/', '\\');
        CreateDirectoryA(base.c_str(), nullptr);
        DWORD attributes = GetFileAttributesA(base.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return base;
    }
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

// The folders, each with its own named files and one kept file. Under Wine one Linux
// process makes them, many times faster than a call each through Wine.
void BuildTree(TempFolder& root, const Shape& shape)
{
    if (driver::RunningUnderWine()) {
        std::string script = root.MakeFile("make_tree.py", MAKE_TREE);
        ASSERT_TRUE(RunUnixScript(root.path(), "python3 make_tree.py " + std::to_string(shape.folders) + " " +
                                                   std::to_string(shape.filesPerFolder),
                                  "built"));
        DeleteFileA(script.c_str());
        DeleteFileA((root / "built").c_str());
        return;
    }
    for (int f = 0; f < shape.folders; ++f) {
        std::string folder = root.MakeFolder(Folder(f));
        for (int i = 0; i < shape.filesPerFolder; ++i) {
            std::string name = folder + "f" + std::to_string(i) + ".obj";
            CloseHandle(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        }
        root.MakeFile(Folder(f) + "keep.c");
    }
}

int NamedLeft(const TempFolder& root, const std::string& below = "")
{
    std::vector<std::string> files = root.Files();
    return static_cast<int>(std::count_if(files.begin(), files.end(), [&](const std::string& file) {
        return file.rfind(below, 0) == 0 && file.size() > 4 && file.compare(file.size() - 4, 4, ".obj") == 0;
    }));
}

bool Busy(const BrumixApp& app)
{
    return !IsWindowEnabled(app.Control(IDOK));
}

constexpr int PLAIN_TITLE = -1;
constexpr int UNKNOWN_TITLE = -2;
constexpr int HINT_ALONE = -3;

// The count that a title shows, read as a person reads it: "Brumix — 12 345 fichiers
// effacés — Échap pour arrêter", the digits grouped by three with no-break spaces.
// PLAIN_TITLE for "Brumix", HINT_ALONE for "Brumix — Échap pour arrêter" (before the first
// count), UNKNOWN_TITLE for any other text: a title during a run that does not say how to
// stop it is one.
int CountInTitle(const std::wstring& title)
{
    if (title == L"Brumix")
        return PLAIN_TITLE;
    const std::wstring hint = L" \u2014 \u00c9chap pour arr\u00eater";
    if (title.size() < hint.size() || title.compare(title.size() - hint.size(), hint.size(), hint) != 0)
        return UNKNOWN_TITLE;
    std::wstring shown = title.substr(0, title.size() - hint.size());
    if (shown == L"Brumix")
        return HINT_ALONE;
    const std::wstring start = L"Brumix \u2014 ";
    size_t end = shown.find(L' ', start.size());
    if (shown.compare(0, start.size(), start) != 0 || end == std::wstring::npos)
        return UNKNOWN_TITLE;
    // One to three digits, then groups of a no-break space and three digits.
    std::wstring number = shown.substr(start.size(), end - start.size());
    size_t first = std::min(number.find(L'\u00a0'), number.size());
    if (first == 0 || first > 3 || (number.size() - first) % 4 != 0 || number.size() > 11)
        return UNKNOWN_TITLE;
    int count = 0;
    for (size_t i = 0; i < number.size(); ++i) {
        if (i >= first && (i - first) % 4 == 0) {
            if (number[i] != L'\u00a0')
                return UNKNOWN_TITLE;
        } else if (number[i] >= L'0' && number[i] <= L'9') {
            count = count * 10 + (number[i] - L'0');
        } else {
            return UNKNOWN_TITLE;
        }
    }
    const std::wstring words = count < 2 ? L" fichier effac\u00e9" : L" fichiers effac\u00e9s";
    return shown.compare(end, std::wstring::npos, words) == 0 ? count : UNKNOWN_TITLE;
}

// The titles that a run shows, read as it goes: each one "Brumix", the stop hint alone, or
// a count with it, no count below one seen before and no hint alone after a count.
struct TitleWatch {
    int last = PLAIN_TITLE;
    int counts = 0;  // how many different counts were seen
    bool hintSeen = false;  // a title that says how to stop the run was seen

    void Read(const BrumixApp& app)
    {
        std::wstring title = app.Title();
        int count = CountInTitle(title);
        ASSERT_NE(count, UNKNOWN_TITLE) << "the title reads \"" << Utf8(title) << "\"";
        if (count == PLAIN_TITLE)
            return;
        hintSeen = true;
        if (count == HINT_ALONE) {
            ASSERT_LT(last, 0) << "the count went away from the title";
            return;
        }
        ASSERT_GE(count, last) << "the count went down";
        counts += count != last;
        last = count;
    }
};

// Waits until the run has visibly begun: the first folder's files are going.
bool WaitForDeletionsToStart(const TempFolder& root)
{
    return driver::WaitUntil([&] { return !root.Exists(Folder(0) + "f0.obj"); });
}

// Waits until the title shows a count, or the run is over (false, no failure of its own:
// the caller tells by Busy); fails when neither comes.
bool WaitForCount(const BrumixApp& app, TitleWatch& titles)
{
    DWORD start = GetTickCount();
    while (titles.last < 0) {
        titles.Read(app);
        if (testing::Test::HasFatalFailure() || !Busy(app))
            return false;
        if (GetTickCount() - start > driver::WAIT_MS) {
            ADD_FAILURE() << "no count showed in the title";
            return false;
        }
        Sleep(10);
    }
    return true;
}

// Dialogs of the program other than its main dialog, shown yet or not: a box, a picker,
// the help.
int OtherDialogs(const BrumixApp& app)
{
    HWND dialog = app.dialog();
    return static_cast<int>(driver::TopLevelWindows(app.processId(), [dialog](HWND window) {
                                return window != dialog && driver::ClassName(window) == "#32770";
                            }).size());
}

// A tree for a long run, and the program to run on it. Under Wine the tree goes through
// Linux's rm when the test ends: a call each through Wine would take seconds.
struct LongRun {
    struct Tree {
        TempFolder root{TreeBase()};
        ~Tree()
        {
            if (driver::RunningUnderWine())
                RemoveUnixTree(root.path());
        }
    } tree;
    TempFolder& root = tree.root;
    BrumixApp app;
    Shape shape = DENSE;
    HCURSOR idle = nullptr;  // the dialog's cursor before the run, the mouse beside its banner

    // Makes the tree and starts a run without questions on it, with a click on OK.
    void Begin(const Shape& treeShape = DENSE)
    {
        shape = treeShape;
        ASSERT_NO_FATAL_FAILURE(BuildTree(root, shape));
        ASSERT_TRUE(app.Start(root.path()));
        idle = PointAt(app.dialog(), {4, 10});
        ASSERT_NE(idle, nullptr) << "the dialog set no cursor when the mouse came over it";
        ASSERT_TRUE(app.BeginRun(root.path(), "*.obj", true, false));
    }
};

// The larger trees that a test stopping a run takes when the run on the last one was over
// before the test could stop it: a machine faster than this one.
constexpr int TREE_TRIES = 3;
constexpr int TREE_GROWTH = 4;

// Starts a run that is still going once `ready` (what the test waits for before it stops
// the run) has seen what it waits for, on ever larger trees: the test then posts its key
// or command to a run that is still under way. Gives the run, or null with a failure.
template <typename Ready>
std::unique_ptr<LongRun> BeginLastingRun(Ready ready)
{
    Shape shape = DENSE;
    for (int tries = 0; tries < TREE_TRIES; ++tries, shape.filesPerFolder *= TREE_GROWTH) {
        std::unique_ptr<LongRun> run(new LongRun);
        run->Begin(shape);
        if (testing::Test::HasFatalFailure())
            return nullptr;
        bool seen = ready(*run);
        if (testing::Test::HasFatalFailure())
            return nullptr;
        if (Busy(run->app)) {
            if (seen)
                return run;
            ADD_FAILURE() << "the run is under way, and did not show what the test waited for";
            return nullptr;
        }
        std::printf("the run over %d files was over before the test could stop it: again over %d\n",
                    shape.Named(), shape.Named() * TREE_GROWTH);
        if (!run->app.WaitIdle() || !run->app.Close())
            return nullptr;
    }
    ADD_FAILURE() << "every run was over before the test could stop it, the last over " << shape.Named() / TREE_GROWTH
                  << " files";
    return nullptr;
}

TEST(LongRunE2E, TheDialogAnswersWithinTwoSecondsAllTheWayThroughWithItsCountInTheTitle)
{
    for (const Shape& shape : {DENSE, WIDE}) {
        SCOPED_TRACE(testing::Message() << shape.folders << " folders of " << shape.filesPerFolder << " named files");
        LongRun run;
        ASSERT_NO_FATAL_FAILURE(run.Begin(shape));
        TitleWatch titles;
        // The bound is the probe's own; how long each answer took, as this thread measures
        // it, counts this thread's own waits for the processor too, and is only reported.
        DWORD start = GetTickCount(), slowest = 0;
        int answered = 0;
        while (Busy(run.app)) {
            DWORD sent = GetTickCount();
            DWORD_PTR result = 0;
            ASSERT_NE(SendMessageTimeoutA(run.app.dialog(), WM_NULL, 0, 0, SMTO_NORMAL, ANSWER_BOUND_MS, &result), 0)
                << "the dialog did not answer within " << ANSWER_BOUND_MS << " ms, " << (sent - start)
                << " ms into the run";
            slowest = std::max(slowest, GetTickCount() - sent);
            ++answered;
            ASSERT_NO_FATAL_FAILURE(titles.Read(run.app));
            ASSERT_LT(GetTickCount() - start, RUN_BOUND_MS) << "the run never ended";
            Sleep(PROBE_INTERVAL_MS);
        }
        EXPECT_TRUE(run.app.WaitIdle());
        EXPECT_EQ(run.app.Title(), L"Brumix");
        EXPECT_TRUE(titles.hintSeen) << "the title never said how to stop the run";
        EXPECT_GE(titles.counts, 1) << "no count ever showed in the title";
        EXPECT_LE(titles.last, shape.Named());
        EXPECT_EQ(NamedLeft(run.root), 0);
        EXPECT_EQ(run.root.Files().size(), static_cast<size_t>(shape.folders)) << "a kept file went";
        std::printf("run of %d files in %d folders: %lu ms, %d messages answered, the slowest in %lu ms; "
                    "%d counts seen in the title, the last %d\n",
                    shape.Named(), shape.folders, GetTickCount() - start, answered, slowest, titles.counts,
                    titles.last);
        EXPECT_TRUE(run.app.Close());
    }
}

TEST(LongRunE2E, EscapeTheCloseBoxAndAltF4StopTheRunAndTheNextStartsAfresh)
{
    const char* ways[] = {"posted IDCANCEL", "Escape", "close box", "Alt+F4"};
    for (int way = 0; way < 4; ++way) {
        SCOPED_TRACE(ways[way]);
        // Stopped once its count shows: the title is plain again at the end, and the last
        // count that it showed is no more than the files gone.
        TitleWatch titles;
        std::unique_ptr<LongRun> lasting = BeginLastingRun([&](LongRun& begun) {
            titles = TitleWatch();
            return WaitForDeletionsToStart(begun.root) && WaitForCount(begun.app, titles);
        });
        ASSERT_NE(lasting, nullptr);
        LongRun& run = *lasting;
        BrumixApp& app = run.app;
        switch (way) {
        case 0: PostMessageA(app.dialog(), WM_COMMAND, IDCANCEL, 0); break;
        case 1: app.PressKey(VK_ESCAPE); break;
        case 2: app.ClickCloseBox(app.dialog()); break;
        case 3: PostMessageA(app.dialog(), WM_SYSKEYDOWN, VK_F4, 1 | (1u << 29)); break;
        }
        ASSERT_TRUE(app.WaitIdle());
        ASSERT_TRUE(app.CatchUp()) << "the program closed in the middle of a run";
        EXPECT_TRUE(IsWindowVisible(app.dialog()));
        // OK, clicked to start the run, has the focus again, and the wait cursor is gone.
        EXPECT_TRUE(WaitForFocusOn(app.Control(IDOK)));
        EXPECT_TRUE(WaitForCursor(run.idle));
        EXPECT_EQ(app.Title(), L"Brumix");
        int left = NamedLeft(run.root);
        EXPECT_GT(left, 0) << "the run was not stopped";
        EXPECT_LT(left, run.shape.Named()) << "the run never began";
        EXPECT_LE(titles.last, run.shape.Named() - left) << "the title counted files that are still there";
        EXPECT_EQ(OtherDialogs(app), 0);

        // The next run starts afresh: in the last folder alone, whatever the first left there.
        std::string last = Folder(run.shape.folders - 1);
        int leftElsewhere = left - NamedLeft(run.root, last);
        ASSERT_TRUE(app.BeginRun(run.root / last, "*.obj", false, false));
        ASSERT_TRUE(app.WaitIdle());
        EXPECT_EQ(NamedLeft(run.root, last), 0);
        EXPECT_EQ(NamedLeft(run.root), leftElsewhere);
        EXPECT_TRUE(run.root.Exists(last + "keep.c"));
        // Idle again, Escape closes the program as it always has.
        EXPECT_TRUE(app.Close(driver::BY_ESCAPE));
    }
}

TEST(LongRunE2E, AQuitMessageStopsTheRunAndEndsTheProgramWithCodeZero)
{
    std::unique_ptr<LongRun> lasting = BeginLastingRun([](LongRun& begun) { return WaitForDeletionsToStart(begun.root); });
    ASSERT_NE(lasting, nullptr);
    LongRun& run = *lasting;
    DWORD thread = GetWindowThreadProcessId(run.app.dialog(), nullptr);
    ASSERT_TRUE(PostThreadMessageA(thread, WM_QUIT, 7, 0));
    DWORD exitCode = 1;
    ASSERT_TRUE(run.app.WaitForExit(exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_GT(NamedLeft(run.root), 0) << "the run went on after the quit";
    EXPECT_EQ(run.root.Files().size() - static_cast<size_t>(NamedLeft(run.root)), static_cast<size_t>(run.shape.folders))
        << "a kept file went";
}

TEST(LongRunE2E, CommandsPostedDuringARunStartNothing)
{
    std::unique_ptr<LongRun> lasting = BeginLastingRun([](LongRun& begun) { return WaitForDeletionsToStart(begun.root); });
    ASSERT_NE(lasting, nullptr);
    LongRun& run = *lasting;
    for (int command : {IDOK, IDC_BROWSE_FOLDER, IDC_BROWSE_PATTERNS, IDHELP, IDOK})
        PostMessageA(run.app.dialog(), WM_COMMAND, static_cast<WPARAM>(command), 0);
    ASSERT_TRUE(run.app.CatchUp());
    EXPECT_TRUE(Busy(run.app)) << "the run ended before the commands were handled: the tree is too small";
    EXPECT_EQ(OtherDialogs(run.app), 0) << "a command started something during the run";
    ASSERT_TRUE(run.app.WaitIdle());
    ASSERT_TRUE(run.app.CatchUp());
    EXPECT_EQ(OtherDialogs(run.app), 0) << "a command started something after the run";
    EXPECT_EQ(NamedLeft(run.root), 0) << "the run did not go to its end";
    EXPECT_TRUE(run.app.Close());
}

}  // namespace
