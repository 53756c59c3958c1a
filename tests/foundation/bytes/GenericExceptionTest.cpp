#include <string>

#include <gtest/gtest.h>

#include "foundation/bytes/GenericException.h"

TEST(GenericException, KeepsAtMost199Characters)
{
    std::string longText(250, 'x');
    CGenericException e(longText.c_str());
    EXPECT_EQ(std::string(e.GetErrorText()), std::string(199, 'x'));
}

TEST(GenericException, OperationPassesOwnExceptionsAndRenamesOthers)
{
    try {
        RunOperation("outer failed", [] { throw CGenericException("inner text"); });
        FAIL();
    } catch (const CGenericException& e) {
        EXPECT_STREQ(e.GetErrorText(), "inner text");
    }
    try {
        RunOperation("CGenericString(void) constructor failed", [] { throw 42; });
        FAIL();
    } catch (const CGenericException& e) {
        EXPECT_STREQ(e.GetErrorText(), "CGenericString(void) constructor failed");
    }
    EXPECT_EQ(RunOperation("unused", [] { return 7; }), 7);
}
