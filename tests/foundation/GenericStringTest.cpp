#include <climits>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/GenericString.h"
#include "support/CurrentFolder.h"
#include "support/TempFolder.h"
#include "support/bytes/ErrorOf.h"
#include "support/bytes/MessageBoxRecorder.h"

TEST(GenericString, GrowthFollowsTheCapacityRules)
{
    CGenericString a;
    EXPECT_EQ(a.GetCapacity(), 1);
    a += "abc";
    EXPECT_EQ(a.GetCapacity(), 14);
    EXPECT_STREQ(a.GetString(), "abc");

    CGenericString b;
    b += "abcdefghijk";
    EXPECT_EQ(b.GetCapacity(), 13);

    CGenericString c("ab");
    EXPECT_EQ(c.GetCapacity(), 3);
    c += 'x';
    EXPECT_EQ(c.GetCapacity(), 7);
    EXPECT_STREQ(c.GetString(), "abx");

    CGenericString d("a long text");
    d = "ab";
    EXPECT_EQ(d.GetCapacity(), 12);
    EXPECT_TRUE(d == "ab");
}

TEST(GenericString, SubStrPaddingTrimsAndIndexes)
{
    CGenericString text("abcdef");
    EXPECT_TRUE(text.SubStr(0, 3) == "abc");
    EXPECT_EQ(ErrorOf([&] { text.SubStr(4, 3); }), "CGenericString::SubStr index too big  ");
    EXPECT_EQ(ErrorOf([&] { text.SubStr(1, INT_MAX); }), "CGenericString::SubStr index too big  ");

    CGenericString shortText(8);
    shortText = "ab";
    shortText.MakeStringRightPadded(5);
    EXPECT_STREQ(shortText.GetString(), "ab   ");
    CGenericString longText("abcdefg");
    longText.MakeStringRightPadded(5);
    EXPECT_STREQ(longText.GetString(), "abcde");
    CGenericString left(6);
    left = "7";
    left.MakeStringLeftPadded('*', 4);
    EXPECT_STREQ(left.GetString(), "***7");
    EXPECT_THROW(left.MakeStringLeftPadded('*', 7), CGenericException);

    CGenericString trimmed("xxabcxx");
    trimmed.TrimRight('x');
    trimmed.TrimLeft('x');
    EXPECT_STREQ(trimmed.GetString(), "abc");
    CGenericString one("x");
    one.TrimRight('x');
    EXPECT_STREQ(one.GetString(), "x") << "a text of one character is not trimmed away";
    EXPECT_EQ(trimmed.GetCharFromIndex(1), 'b');
    EXPECT_THROW(trimmed.GetCharFromIndex(-1), CGenericException);
    EXPECT_THROW(trimmed.SetCharFromIndex(trimmed.GetCapacity(), 'z'), CGenericException);
    CGenericString empty;
    EXPECT_EQ(ErrorOf([&] { empty.SetCharFromIndex(1, 'z'); }), "CGenericString::SetCharFromIndex index too big");
}

TEST(GenericString, PadLeftLogsAndThrowsWhenTheValueDoesNotFit)
{
    TempFolder folder;
    CurrentFolder current(folder.Path());
    CGenericString field(5);
    field.PadLeft(42, '0', 5);
    EXPECT_STREQ(field.GetString(), "00042");
    EXPECT_THROW(field.PadLeft(123456, '0', 5), CGenericException);
    EXPECT_NE(ReadWholeFile(folder.File("error.txt")).find("CGenericString::PadLeft(): field len=5 Value=123456"),
              std::string::npos);
    CGenericString number(8);
    number.PadLeftDouble(2.5, ' ', 6);
    EXPECT_STREQ(number.GetString(), "   2.5");
    // A number that is not finite fits no field; one no int holds is reported as it is.
    const double kNaN = std::numeric_limits<double>::quiet_NaN();
    const double kInfinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(ErrorOf([&] { number.PadLeftDouble(kNaN, ' ', 6); }), " field len=6 Value=nan");
    EXPECT_EQ(ErrorOf([&] { number.PadLeftDouble(-kInfinity, ' ', 6); }), " field len=6 Value=-inf");
    EXPECT_EQ(ErrorOf([&] { number.PadLeftDouble(1e300, ' ', 4); }), " field len=4 Value=1e+300");
    EXPECT_EQ(ErrorOf([&] { number.PadLeftDouble(-12345.25, ' ', 4); }), " field len=4 Value=-12345.25");
    EXPECT_STREQ(number.GetString(), "   2.5");
}

TEST(GenericString, TheFiftyFirstStringFails)
{
    MessageBoxRecorder boxes;
    std::vector<std::unique_ptr<CGenericString>> strings;
    int alive = static_cast<int>(StringAllocator().GetObjectCount()) - 1;
    for (int i = alive; i < 50; ++i)
        strings.emplace_back(new CGenericString("x"));
    EXPECT_EQ(ErrorOf([] { CGenericString extra("y"); }), "CGenericString(char*) constructor failed");
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

TEST(GenericString, WorkerStringsAndLargeTexts)
{
    CWorkerString text("ab");
    text += 'c';
    EXPECT_EQ(text.GetCapacity(), 7);
    text += "defghijklmnop";
    EXPECT_STREQ(text.GetString(), "abcdefghijklmnop");
    CWorkerString number;
    IntToText(255, number, 16);
    EXPECT_STREQ(number.GetString(), "ff");

    MessageBoxRecorder boxes;
    CGenericString big(std::string(7000, 'b').c_str());
    EXPECT_EQ(boxes.LastText(), "CGenericString constructor 2, argument>6 KBytes");
    EXPECT_EQ(big.GetLength(), 7000);
}

namespace {
// A pool laid out as filler, gap, source (the argument), then whatever the test
// adds. While a box is up, its message loop lets other windows run: here the gap
// goes and a block longer than the tail is taken, as a repainting note might, so
// the pool compacts and the source moves down.
struct MovingArgument {
    MovingArgument(size_t fillerSize, size_t gapSize, const std::string& text)
        : filler(new CGenericString(std::string(fillerSize, 'f').c_str())),
          gap(new CGenericString(std::string(gapSize, 'g').c_str())),
          source(new CGenericString(text.c_str()))
    {
    }
    void CompactWhileShown(MessageBoxRecorder& boxes)
    {
        boxes.WhileShown([this] {
            gap.reset();
            during.reset(new CGenericString(static_cast<int>(StringAllocator().GetTailRun())));
            during->Fill('n');
        });
    }
    std::unique_ptr<CGenericString> filler;
    std::unique_ptr<CGenericString> gap;
    std::unique_ptr<CGenericString> source;
    std::unique_ptr<CGenericString> during;
};
}

TEST(GenericString, AnArgumentMovedWhileTheSizeWarningIsUpArrivesWhole)
{
    MessageBoxRecorder otherWarnings;
    {
        MessageBoxRecorder boxes;
        std::string text(3000, 's');
        MovingArgument pool(20000, 10000, text);
        CGenericString target(std::string(3200, 't').c_str());
        pool.CompactWhileShown(boxes);
        const char* before = pool.source->GetString();
        target += pool.source->GetString();
        ASSERT_TRUE(boxes.Saw("CGenericString operator+= , argument>6KBytes"));
        EXPECT_NE(pool.source->GetString(), before) << "the box's allocation moved the argument";
        EXPECT_EQ(std::string(target.GetString()), std::string(3200, 't') + text);
    }
    {
        std::string text(6200, 'c');
        MovingArgument pool(15000, 8000, text);
        MessageBoxRecorder boxes;
        pool.CompactWhileShown(boxes);
        CGenericString copy(pool.source->GetString());
        ASSERT_TRUE(boxes.Saw("CGenericString constructor 2, argument>6 KBytes"));
        EXPECT_NE(pool.during, nullptr) << "the box's allocation moved the argument";
        EXPECT_EQ(std::string(copy.GetString()), text);
    }
}
