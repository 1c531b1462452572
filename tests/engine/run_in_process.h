// A whole deletion run in the test's own process, through RunDeletion, with its
// questions answered by a hook: the summary with Yes, each file with the next answer.
#ifndef BRUMIX_TESTS_ENGINE_RUN_IN_PROCESS_H
#define BRUMIX_TESTS_ENGINE_RUN_IN_PROCESS_H

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "engine/deletion_run.h"
#include "support/question_answerer.h"
#include "support/utf8.h"

// Runs with both texts in UTF-8 and gives the texts of the file questions, in the order
// asked.
inline std::vector<std::string> RunInProcess(const std::string& folder, const std::string& patterns,
                                             OptionFlags options, std::vector<int> answers = {})
{
    QuestionAnswerer answerer(YesToSummaryThen(answers));
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
