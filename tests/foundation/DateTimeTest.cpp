#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "foundation/DateTime.h"

TEST(DateTime, ArithmeticAcrossMonthEndsLeapYearsAndWeekends)
{
    using Step = std::function<void(CDateTime&)>;
    struct {
        CDateTime start;
        Step step;
        const char* expected;
    } cases[] = {
        {CDateTime(31, 12, 2007, 23, 59, 59), [](CDateTime& t) { t.AddSeconds(1); }, "01-01-2008 00:00:00"},
        {CDateTime(31, 12, 2007, 23, 59, 0), [](CDateTime& t) { t.AddMinutes(61); }, "01-01-2008 01:00:00"},
        {CDateTime(28, 2, 2008, 20, 0, 0), [](CDateTime& t) { t.AddHours(52); }, "02-03-2008 00:00:00"},
        {CDateTime(30, 4, 2009), [](CDateTime& t) { t.AddDays(1); }, "01-05-2009 00:00:00"},
        {CDateTime(30, 1, 2009), [](CDateTime& t) { t.AddDays(1); }, "31-01-2009 00:00:00"},
        {CDateTime(28, 2, 2008), [](CDateTime& t) { t.AddDays(1); }, "29-02-2008 00:00:00"},
        {CDateTime(28, 2, 2009), [](CDateTime& t) { t.AddDays(1); }, "01-03-2009 00:00:00"},
        {CDateTime(1, 1, 2008), [](CDateTime& t) { t.AddDays(366); }, "01-01-2009 00:00:00"},
        // Months and years keep the day inside the month.
        {CDateTime(31, 8, 2009), [](CDateTime& t) { t.AddMonths(1); }, "30-09-2009 00:00:00"},
        {CDateTime(31, 1, 2008), [](CDateTime& t) { t.AddMonths(13); }, "28-02-2009 00:00:00"},
        {CDateTime(15, 11, 2009), [](CDateTime& t) { t.AddMonths(3); }, "15-02-2010 00:00:00"},
        {CDateTime(29, 2, 2008), [](CDateTime& t) { t.AddYears(1); }, "28-02-2009 00:00:00"},
        {CDateTime(29, 2, 2008), [](CDateTime& t) { t.AddYears(4); }, "29-02-2012 00:00:00"},
        // 6 March 2009 is a Friday.
        {CDateTime(6, 3, 2009), [](CDateTime& t) { t.AddWeekdays(1); }, "09-03-2009 00:00:00"},
        {CDateTime(7, 3, 2009), [](CDateTime& t) { t.AddWeekdays(1); }, "09-03-2009 00:00:00"},
        {CDateTime(7, 3, 2009), [](CDateTime& t) { t.AddWeekdays(0); }, "07-03-2009 00:00:00"},
        {CDateTime(28, 12, 2009), [](CDateTime& t) { t.AddWeeks(1); }, "04-01-2010 00:00:00"},
    };
    for (auto& c : cases) {
        std::string before = c.start.FormatDateTime(false);
        c.step(c.start);
        EXPECT_STREQ(c.start.FormatDateTime(false), c.expected) << "from " << before;
    }
    EXPECT_EQ(CDateTime(6, 3, 2009).GetDayOfWeek(), 5);
    char name[40];
    CDateTime(9, 3, 2009).GetDayName(name, sizeof name);
    EXPECT_STREQ(name, "Monday");
    EXPECT_TRUE(CDateTime(29, 2, 2000).IsValidDay());
    EXPECT_FALSE(CDateTime(29, 2, 1900).IsValidDay());
    EXPECT_TRUE(CDateTime(30, 4, 2009).IsLastDayOfMonth());
}

TEST(DateTime, FormatsAndComparisons)
{
    CDateTime t(5, 3, 2008, 7, 4, 9);
    EXPECT_STREQ(t.FormatSortKey(), "20080305070409");
    EXPECT_STREQ(t.FormatDateTime(true), "05-03-2008");
    CDateTime later(5, 3, 2008, 7, 4, 10);
    EXPECT_TRUE(t < later && t <= t && !(later <= t));
    EXPECT_TRUE(t == CDateTime(5, 3, 2008, 7, 4, 9));
    SYSTEMTIME st = {};
    st.wDayOfWeek = 6;
    t.ToSystemTime(st);
    EXPECT_EQ(st.wYear, 2008);
    EXPECT_EQ(st.wDayOfWeek, 6) << "the weekday is left as it was";
}
