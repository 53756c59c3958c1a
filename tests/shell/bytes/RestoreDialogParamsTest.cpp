// The block the restore dialog opens with: names and questions cut to their
// fields, the question's ending turned into one "?", short questions safe.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/bytes/RestoreDialogParams.h"

TEST(RestoreDialogParams, FieldsAreCutAndTheQuestionEndsInOneMark)
{
    RestoreCountRecord counts{12, "backup 2026-12-07.qpk"};
    RestoreDialogParams params;
    std::memset(&params, 0x55, sizeof params);
    InitRestoreDialogParams(params, 3001, 3002, counts, "Restore the notes of this backup ?\n", 1);
    EXPECT_EQ(params.firstId, 3001u);
    EXPECT_EQ(params.secondId, 3002u);
    EXPECT_EQ(params.flag, 1u);
    EXPECT_EQ(params.count, 12u);
    EXPECT_STREQ(params.name, "backup 2026-12-07.qpk");
    EXPECT_STREQ(params.question, "Restore the notes of this backup ?");

    // A name that fills its record without a terminator, and a question longer
    // than the block, are cut; texts of fewer than two characters still end in "?".
    std::memset(counts.name, 'n', sizeof counts.name);
    const std::string longQuestion(400, 'q');
    InitRestoreDialogParams(params, 0, 0, counts, longQuestion.c_str(), 0);
    EXPECT_EQ(std::string(params.name), std::string(50, 'n'));
    EXPECT_EQ(std::string(params.question), std::string(253, 'q') + "?");
    InitRestoreDialogParams(params, 0, 0, counts, "x", 0);
    EXPECT_STREQ(params.question, "x?");
    InitRestoreDialogParams(params, 0, 0, counts, nullptr, 0);
    EXPECT_STREQ(params.question, "?");
}
