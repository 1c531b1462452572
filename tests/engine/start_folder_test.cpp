// The folder text as a run names it: made full once, a device path kept as typed, a path
// in quotes taken from inside them; and a run from a full folder walks that very text.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "driver/app_driver.h"
#include "engine/deletion_run.h"
#include "engine/start_folder.h"
#include "support/question_answerer.h"
#include "support/temp_folder.h"
#include "support/unix_files.h"
#include "support/utf8.h"

namespace {

std::string Full(const std::string& typed)
{
    WCHAR* full = MakeFullFolder(Wide(typed).c_str());
    std::string text = full != nullptr ? Utf8(full) : "(none)";
    if (full != nullptr)
        GlobalFree(full);
    return text;
}

// The system's own making full, once, as the program does it.
std::string FullOnce(const std::string& typed)
{
    char full[4096] = "";
    GetFullPathNameA(typed.c_str(), sizeof full, full, nullptr);
    return full;
}

TEST(StartFolderText, QuotesDevicePathsAndRelativeTextsEachNameOneFolder)
{
    TempFolder root;
    root.MakeFolder("sub");
    SetCurrentDirectoryA(root.path().c_str());
    const std::string device = "\\\\?\\" + root.path();
    struct Case { std::string typed, full; };
    const Case cases[] = {
        {root / "sub", root / "sub\\"},
        {"\"" + root / "sub" + "\"", root / "sub\\"},
        {"\"" + root / "sub\\\"", root / "sub\\"},
        {"\"sub\"", root / "sub\\"},
        {"\"\"", root.path().substr(0, 3)},
        // One quote alone is part of the name, which no folder has.
        {"\"sub", root / "\"sub\\"},
        // Kept as typed: the only way to name a folder that ends in a dot or a blank.
        {device + "sub", device + "sub\\"},
        {device + "sub.\\", device + "sub.\\"},
        {device + "sub\\..\\x ", device + "sub\\..\\x \\"},
        {"\\\\.\\" + root / "sub", device + "sub\\"},
        {"\"" + device + "sub.\"", device + "sub.\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(Full(c.typed), c.full);
    }
}

// The system drops one trailing dot of an inner name each time it makes a path full:
// made full twice, the text would name another folder than the box shows.
TEST(StartFolderText, IsMadeFullOnceAndOnlyOnce)
{
    TempFolder root;
    std::string typed = root / "dots..\\";
    std::string once = FullOnce(typed);
    ASSERT_NE(FullOnce(once), once) << "the system's making full is idempotent here: the case shows nothing";
    EXPECT_EQ(Full(typed), once);
}

// The folder a run from a full folder names and walks is the text given, not that text
// made full again: through "\\?\" a folder whose name ends in a dot is walked, not the
// folder of the same name without it.
TEST(StartFolderText, RunFromAFullFolderWalksThatVeryText)
{
    if (!driver::RunningUnderWine())
        GTEST_SKIP() << "the fixture needs a Unix name ending in a dot, under Wine";
    TempFolder root;
    root.MakeFile("plain\\keep.obj");
    ASSERT_TRUE(RunUnixScript(root.path(), "mkdir d && echo x > d/gone.obj && mv d dotted.", "dotted."));
    std::string folder = "\\\\?\\" + root / "dotted.\\";
    QuestionAnswerer answerer([](const QuestionSeen&) { return IDYES; });
    RunDeletionFromFullFolder(nullptr, Wide(folder).c_str(), L"*.obj", 0);
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].text,
              "On va effacer les fichiers *.obj\n\xE0 partir de " + folder +
                  "\nOn ne fait pas du r\xE9" "cursif\net on ne demande pas une confirmation");
    EXPECT_FALSE(UnixPathExists(root.path(), "dotted./gone.obj"));
    EXPECT_EQ(root.Files(), std::vector<std::string>{"plain\\keep.obj"});
}

}  // namespace
