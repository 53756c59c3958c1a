#include <string>

#include <gtest/gtest.h>

#include "foundation/bytes/GenericException.h"
#include "support/bytes/ErrorOf.h"

TEST(GenericException, KeepsAtMost199Characters)
{
    std::string longText(250, 'x');
    CGenericException e(longText.c_str());
    EXPECT_EQ(std::string(e.GetErrorText()), std::string(199, 'x'));
}

TEST(GenericException, OperationPassesOwnExceptionsAndRenamesOthers)
{
    EXPECT_EQ(ErrorOf([] { RunOperation("outer failed", [] { throw CGenericException("inner text"); }); }),
              "inner text");
    EXPECT_EQ(ErrorOf([] { RunOperation("CGenericString(void) constructor failed", [] { throw 42; }); }),
              "CGenericString(void) constructor failed");
    EXPECT_EQ(RunOperation("unused", [] { return 7; }), 7);
}
