#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/GenericString.h"
#include "support/TempFolder.h"
#include "support/bytes/MessageBoxRecorder.h"

TEST(GenericString, GrowthFollowsTheCapacityRules)
{
    CGenericString a;
    EXPECT_EQ(a.GetCapacity(), 1);
    a += "abc";
    EXPECT_EQ(a.GetCapacity(), 14);
    EXPECT_EQ(std::string(a.GetString()), "abc");

    CGenericString b;
    b += "abcdefghijk";
    EXPECT_EQ(b.GetCapacity(), 13);

    CGenericString c("ab");
    EXPECT_EQ(c.GetCapacity(), 3);
    c += 'x';
    EXPECT_EQ(c.GetCapacity(), 7);
    EXPECT_EQ(std::string(c.GetString()), "abx");

    CGenericString d("a long text");
    d = "ab";
    EXPECT_EQ(d.GetCapacity(), 12);
    EXPECT_TRUE(d == "ab");
}

TEST(GenericString, SubStrAndPadding)
{
    CGenericString text("abcdef");
    EXPECT_TRUE(text.SubStr(0, 3) == "abc");
    try {
        text.SubStr(4, 3);
        FAIL();
    } catch (const CGenericException& e) {
        EXPECT_STREQ(e.GetErrorText(), "CGenericString::SubStr index too big  ");
    }

    CGenericString shortText(8);
    shortText = "ab";
    shortText.MakeStringRightPadded(5);
    EXPECT_EQ(std::string(shortText.GetString()), "ab   ");
    CGenericString longText("abcdefg");
    longText.MakeStringRightPadded(5);
    EXPECT_EQ(std::string(longText.GetString()), "abcde");

    CGenericString left(6);
    left = "7";
    left.MakeStringLeftPadded('*', 4);
    EXPECT_EQ(std::string(left.GetString()), "***7");
    EXPECT_THROW(left.MakeStringLeftPadded('*', 7), CGenericException);
}

TEST(GenericString, PadLeftLogsAndThrowsWhenTheValueDoesNotFit)
{
    TempFolder folder;
    SetCurrentDirectoryA(folder.Path().c_str());
    CGenericString field(5);
    field.PadLeft(42, '0', 5);
    EXPECT_EQ(std::string(field.GetString()), "00042");
    EXPECT_THROW(field.PadLeft(123456, '0', 5), CGenericException);
    std::string log = ReadWholeFile(folder.File("error.txt"));
    EXPECT_NE(log.find("CGenericString::PadLeft(): field len=5 Value=123456"), std::string::npos) << log;

    CGenericString number(8);
    number.PadLeftDouble(2.5, ' ', 6);
    EXPECT_EQ(std::string(number.GetString()), "   2.5");
    SetCurrentDirectoryA("..");
}

TEST(GenericString, TrimsAndIndexes)
{
    CGenericString text("xxabcxx");
    text.TrimRight('x');
    EXPECT_EQ(std::string(text.GetString()), "xxabc");
    text.TrimLeft('x');
    EXPECT_EQ(std::string(text.GetString()), "abc");
    CGenericString one("x");
    one.TrimRight('x');
    EXPECT_EQ(std::string(one.GetString()), "x");
    CGenericString only("xxx");
    only.TrimLeft('x');
    EXPECT_EQ(std::string(only.GetString()), "");

    EXPECT_EQ(text.GetCharFromIndex(1), 'b');
    EXPECT_THROW(text.GetCharFromIndex(-1), CGenericException);
    EXPECT_THROW(text.SetCharFromIndex(text.GetCapacity(), 'z'), CGenericException);
    CGenericString empty;
    try {
        empty.SetCharFromIndex(1, 'z');
        FAIL();
    } catch (const CGenericException& e) {
        EXPECT_STREQ(e.GetErrorText(), "CGenericString::SetCharFromIndex index too big");
    }
}

TEST(GenericString, TheFiftyFirstStringFails)
{
    MessageBoxRecorder boxes;
    std::vector<std::unique_ptr<CGenericString>> strings;
    int alive = static_cast<int>(StringAllocator().GetObjectCount()) - 1;
    for (int i = alive; i < 50; ++i)
        strings.emplace_back(new CGenericString("x"));
    try {
        CGenericString extra("y");
        FAIL();
    } catch (const CGenericException& e) {
        EXPECT_STREQ(e.GetErrorText(), "CGenericString(char*) constructor failed");
    }
    EXPECT_TRUE(boxes.Saw("51 - The memory allocator is full"));
}

// An argument that lies in another pooled string stays valid when our own
// growth compacts the pool and moves it.
TEST(GenericString, ArgumentFromTheSamePoolSurvivesCompaction)
{
    MessageBoxRecorder boxes;
    std::unique_ptr<CGenericString> filler(new CGenericString(std::string(20000, 'f').c_str()));
    std::unique_ptr<CGenericString> gap(new CGenericString(std::string(10000, 'g').c_str()));
    CGenericString source(std::string(6000, 's').c_str());
    CGenericString target("t");
    gap.reset();
    const char* before = source.GetString();
    target += source.GetString();
    EXPECT_NE(source.GetString(), before) << "the pool compacted and moved the argument";
    EXPECT_EQ(std::string(target.GetString()), "t" + std::string(6000, 's'));
    CGenericString copy(source.GetString());
    EXPECT_EQ(std::string(copy.GetString()), std::string(6000, 's'));
}

TEST(GenericString, WorkerStringHasTheSameBehaviour)
{
    CWorkerString text("ab");
    text += 'c';
    EXPECT_EQ(text.GetCapacity(), 7);
    text += "defghijklmnop";
    EXPECT_EQ(std::string(text.GetString()), "abcdefghijklmnop");
    CWorkerString number;
    IntToText(255, number, 16);
    EXPECT_EQ(std::string(number.GetString()), "ff");
}

TEST(GenericString, LargeTextsWarnButWork)
{
    MessageBoxRecorder boxes;
    CGenericString big(std::string(7000, 'b').c_str());
    EXPECT_EQ(boxes.LastText(), "CGenericString constructor 2, argument>6 KBytes");
    EXPECT_EQ(big.GetLength(), 7000);
}
