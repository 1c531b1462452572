// A tree far deeper than any path the user could type: the walk holds one name per
// level, not a path, and no call stack grows with the depth.
//
// Slow under Wine by Wine's own doing: each open of an entry, and each name it reports,
// costs time in the square of the entry's depth (150 ms a call at 1,500 levels here), so
// the walk alone takes minutes. The fixture is therefore made, read and removed by Linux
// itself under Wine, and by calls relative to each level's handle on Windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "driver/app_driver.h"
#include "exact_names.h"
#include "support/temp_folder.h"
#include "support/unix_files.h"
#include "run_in_process.h"

namespace {

constexpr int LEVELS = 1500;
// Named files at every hundredth level and at the bottom; kept files halfway and at the
// bottom. Files at every level would only add to Wine's cost per level.
constexpr int NAMED_EVERY = 100;
constexpr int KEPT_AT = LEVELS / 2;

bool HasNamedFile(int level)
{
    return level % NAMED_EVERY == 0 || level == LEVELS;
}

bool HasKeptFile(int level)
{
    return level == KEPT_AT || level == LEVELS;
}

// A chain of folders "d", one in the other, below `root`; levels count from 1.
const char MAKE_CHAIN[] =
    "import os, sys\n"
    "levels, every, kept = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])\n"
    "path = '.'\n"
    "for level in range(1, levels + 1):\n"
    "    path = os.path.join(path, 'd')\n"
    "    os.mkdir(path)\n"
    "    if level % every == 0 or level == levels:\n"
    "        open(os.path.join(path, 'x.obj'), 'w').close()\n"
    "    if level == kept or level == levels:\n"
    "        open(os.path.join(path, 'x.c'), 'w').close()\n";

// Counts the levels, and the named and kept files left, into counts.txt.
const char COUNT_CHAIN[] =
    "import os\n"
    "levels = named = kept = 0\n"
    "path = 'd'\n"
    "while os.path.isdir(path):\n"
    "    levels += 1\n"
    "    for name in os.listdir(path):\n"
    "        if name.endswith('.obj'):\n"
    "            named += 1\n"
    "        elif name.endswith('.c'):\n"
    "            kept += 1\n"
    "    path = os.path.join(path, 'd')\n"
    "open('counts.txt', 'w').write('%d %d %d' % (levels, named, kept))\n";

struct Counts {
    int levels = 0, named = 0, kept = 0;
};

void MakeChainByHandles(const TempFolder& root)
{
    HANDLE level = OpenFolderForNames(root.path());
    for (int depth = 1; depth <= LEVELS && level != nullptr; ++depth) {
        HANDLE below = OpenExact(level, L"d", true, FILE_CREATE, FILE_LIST_DIRECTORY | FILE_TRAVERSE);
        CloseHandle(level);
        level = below;
        if (below != nullptr && HasNamedFile(depth))
            MakeExactEntry(below, L"x.obj");
        if (below != nullptr && HasKeptFile(depth))
            MakeExactEntry(below, L"x.c");
    }
    if (level != nullptr)
        CloseHandle(level);
}

// Counts what is left and removes the chain, from the bottom up.
Counts CountAndRemoveByHandles(const TempFolder& root)
{
    Counts counts;
    std::vector<HANDLE> chain = {OpenFolderForNames(root.path())};
    while (chain.back() != nullptr) {
        HANDLE below = nullptr;
        for (const std::wstring& name : ListExact(chain.back())) {
            if (name == L"d")
                below = OpenExact(chain.back(), name, true, FILE_OPEN, FILE_LIST_DIRECTORY | FILE_TRAVERSE);
            else if (name == L"x.obj")
                ++counts.named;
            else if (name == L"x.c")
                ++counts.kept;
        }
        chain.push_back(below);
    }
    chain.pop_back();
    counts.levels = static_cast<int>(chain.size()) - 1;
    for (size_t at = chain.size() - 1; at > 0; --at) {
        for (const std::wstring& name : ListExact(chain[at]))
            RemoveExact(chain[at], name, false);
        CloseHandle(chain[at]);
        RemoveExact(chain[at - 1], L"d", true);
    }
    CloseHandle(chain[0]);
    return counts;
}

TEST(DeepWalk, FifteenHundredLevelsDeepEveryNamedFileGoesAndEveryOtherStays)
{
    TempFolder root;
    bool underWine = driver::RunningUnderWine();
    if (underWine) {
        root.MakeFile("make_chain.py", MAKE_CHAIN);
        ASSERT_TRUE(RunUnixScript(root.path(),
                                  "python3 make_chain.py " + std::to_string(LEVELS) + " " +
                                      std::to_string(NAMED_EVERY) + " " + std::to_string(KEPT_AT) +
                                      " && rm make_chain.py && touch built",
                                  "built"));
        DeleteFileA((root / "built").c_str());
    } else {
        MakeChainByHandles(root);
    }

    RunInProcess(root.path(), "*.obj", OPT_RECURSE);

    Counts counts;
    if (underWine) {
        root.MakeFile("count_chain.py", COUNT_CHAIN);
        ASSERT_TRUE(RunUnixScript(root.path(), "python3 count_chain.py && rm -rf d count_chain.py && touch counted",
                                  "counted"));
        std::ifstream(root / "counts.txt") >> counts.levels >> counts.named >> counts.kept;
    } else {
        counts = CountAndRemoveByHandles(root);
    }
    EXPECT_EQ(counts.levels, LEVELS);
    EXPECT_EQ(counts.named, 0);
    EXPECT_EQ(counts.kept, 2);
}

}  // namespace
