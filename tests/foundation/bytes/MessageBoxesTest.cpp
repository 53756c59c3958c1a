#include <gtest/gtest.h>

#include "support/bytes/MessageBoxRecorder.h"

TEST(MessageBoxes, EachKindHasItsFlagsAndTheDefaultAnswer)
{
    MessageBoxRecorder boxes;
    EXPECT_EQ(ShowErrorMessage(nullptr, "e", ProgramTitle), kIdOk);
    EXPECT_EQ(ShowInfoMessage(nullptr, "i", ProgramTitle), kIdOk);
    EXPECT_EQ(ShowWarningMessage(nullptr, "w", ProgramTitle), kIdOk);
    EXPECT_EQ(AskYesNo(nullptr, "q", ProgramTitle), kIdNo) << "No is the default button";
    boxes.QueueAnswer(kIdYes);
    EXPECT_EQ(AskYesNo(nullptr, "q", ProgramTitle), kIdYes);
    std::vector<RecordedBox> shown = boxes.Boxes();
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0].flags, 0x10u);
    EXPECT_EQ(shown[1].flags, 0x40u);
    EXPECT_EQ(shown[2].flags, 0x30u);
    EXPECT_EQ(shown[3].flags, 0x124u);
    EXPECT_EQ(shown[0].caption, "Quillnet+");
}
