// The count of files deleted in the title of the running program, read from outside as
// the title bar shows it. Each file is asked about, and the test answers at its own pace:
// the run cannot end, nor the count move, before the test lets it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "driver/app_driver.h"
#include "res/resource.h"
#include "support/temp_folder.h"

using driver::BrumixApp;
using driver::MessageBoxSeen;

namespace {

#define STOP_HINT L" \u2014 \u00c9chap pour arr\u00eater"
const wchar_t* const TITLE_WITH[] = {
    L"Brumix \u2014 0 fichier effac\u00e9" STOP_HINT, L"Brumix \u2014 1 fichier effac\u00e9" STOP_HINT,
    L"Brumix \u2014 2 fichiers effac\u00e9s" STOP_HINT, L"Brumix \u2014 3 fichiers effac\u00e9s" STOP_HINT,
};
const char* const FILES[] = {"a.obj", "b.obj", "c.obj", "d.obj"};

TEST(ProgressTitleE2E, EachFileGoneShowsInTheTitleAndTheTitleIsPlainAgainHoweverTheRunEnds)
{
    enum Ending { YES_TO_THE_LAST, ANNULER, ESCAPE, CLOSE_BOX };
    struct Case {
        const char* what;
        Ending ending;
    };
    const Case cases[] = {
        {"Yes to the last file: the run goes to its end", YES_TO_THE_LAST},
        {"Annuler in the last question", ANNULER},
        {"Escape in the last question", ESCAPE},
        {"the last question's close box", CLOSE_BOX},
    };
    TempFolder folder;
    folder.MakeFile("keep.c");
    BrumixApp app;
    ASSERT_TRUE(app.Start(folder.path()));
    ASSERT_EQ(app.Title(), L"Brumix");

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* name : FILES)
            folder.MakeFile(name);
        ASSERT_TRUE(app.BeginRun(folder.path(), "*.obj", false, true));
        // Each question waits for the test: the count shows the files answered Yes so far,
        // one more with each answer.
        for (int deleted = 0; deleted < 4; ++deleted) {
            MessageBoxSeen question;
            ASSERT_TRUE(app.WaitForMessageBox(question));
            ASSERT_EQ(question.caption, "Confirmation d'effacement");
            ASSERT_TRUE(app.WaitForTitle(TITLE_WITH[deleted]));
            if (deleted < 3) {
                ASSERT_TRUE(app.Answer(question, IDYES));
                continue;
            }
            switch (c.ending) {
            case YES_TO_THE_LAST: ASSERT_TRUE(app.Answer(question, IDYES)); break;
            case ANNULER: ASSERT_TRUE(app.Answer(question, IDCANCEL)); break;
            case ESCAPE: ASSERT_TRUE(app.AnswerWithKey(question, VK_ESCAPE)); break;
            case CLOSE_BOX: ASSERT_TRUE(app.AnswerWithCloseBox(question)); break;
            }
        }
        ASSERT_TRUE(app.WaitIdle());
        EXPECT_EQ(app.Title(), L"Brumix");
        // The last count shown, 3, is no more than the files gone.
        EXPECT_EQ(folder.Files(), c.ending == YES_TO_THE_LAST ? (std::vector<std::string>{"keep.c"})
                                                              : (std::vector<std::string>{"d.obj", "keep.c"}));
    }
    EXPECT_TRUE(app.Close());
}

}  // namespace
