// A whole deletion run in the test's own process, through RunDeletion, with its
// questions answered by a hook: the summary with Yes, each file as the test says.
//
// A run that starts anywhere but in a folder the test made answers Cancel to every file
// question but those it names (YesOnlyTo), so that no fault of the program can make it
// delete what the test did not make.
#ifndef BRUMIX_TESTS_ENGINE_RUN_IN_PROCESS_H
#define BRUMIX_TESTS_ENGINE_RUN_IN_PROCESS_H

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "engine/deletion_run.h"
#include "support/question_answerer.h"
#include "support/utf8.h"

// Runs with both texts in UTF-8, the questions answered as `decide` says, and gives the
// texts of the file questions, in the order asked.
inline std::vector<std::string> RunInProcess(const std::string& folder, const std::string& patterns,
                                             OptionFlags options, QuestionAnswerer::Decide decide)
{
    QuestionAnswerer answerer(std::move(decide));
    RunDeletion(nullptr, Wide(folder).c_str(), Wide(patterns).c_str(), options);
    EXPECT_FALSE(answerer.seen().empty());
    if (answerer.seen().empty())
        return {};
    EXPECT_EQ(answerer.seen()[0].caption, "Veuillez confirmer");
    for (size_t i = 1; i < answerer.seen().size(); ++i) {
        const QuestionSeen& question = answerer.seen()[i];
        EXPECT_EQ(question.caption, "Confirmation d'effacement");
        EXPECT_EQ(question.buttons, (std::vector<int>{IDCANCEL, IDYES, IDNO}));
    }
    return answerer.Texts(1);
}

// The same with the summary answered Yes and each file question the next answer of the
// list, Yes once it runs out.
inline std::vector<std::string> RunInProcess(const std::string& folder, const std::string& patterns,
                                             OptionFlags options, std::vector<int> answers = {})
{
    return RunInProcess(folder, patterns, options, YesToSummaryThen(std::move(answers)));
}

inline std::string CurrentDirectory()
{
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    std::string text = current;
    if (text.empty() || text.back() != '\\')
        text += '\\';
    return text;
}

typedef std::vector<std::string> Names;

#endif
