#include <string>

#include <gtest/gtest.h>

#include "foundation/DateTime.h"

namespace {
std::string Text(CDateTime value)
{
    return value.FormatDateTime(false);
}
}

TEST(DateTime, SecondsMinutesAndHoursCarryIntoTheNextYear)
{
    CDateTime t(31, 12, 2007, 23, 59, 59);
    t.AddSeconds(1);
    EXPECT_EQ(Text(t), "01-01-2008 00:00:00");
    CDateTime m(31, 12, 2007, 23, 59, 0);
    m.AddMinutes(61);
    EXPECT_EQ(Text(m), "01-01-2008 01:00:00");
    CDateTime h(28, 2, 2008, 20, 0, 0);
    h.AddHours(52);
    EXPECT_EQ(Text(h), "02-03-2008 00:00:00");
}

TEST(DateTime, DaysAcrossMonthEndsAndLeapYears)
{
    CDateTime a(30, 4, 2009);
    a.AddDays(1);
    EXPECT_EQ(Text(a), "01-05-2009 00:00:00");
    CDateTime b(30, 1, 2009);
    b.AddDays(1);
    EXPECT_EQ(Text(b), "31-01-2009 00:00:00");
    CDateTime leap(28, 2, 2008);
    leap.AddDays(1);
    EXPECT_EQ(Text(leap), "29-02-2008 00:00:00");
    CDateTime plain(28, 2, 2009);
    plain.AddDays(1);
    EXPECT_EQ(Text(plain), "01-03-2009 00:00:00");
    CDateTime yearLater(1, 1, 2008);
    yearLater.AddDays(366);
    EXPECT_EQ(Text(yearLater), "01-01-2009 00:00:00");
    EXPECT_TRUE(CDateTime(29, 2, 2000).IsValidDay());
    EXPECT_FALSE(CDateTime(29, 2, 1900).IsValidDay());
    EXPECT_TRUE(CDateTime(30, 4, 2009).IsLastDayOfMonth());
}

TEST(DateTime, MonthsAndYearsKeepTheDayInsideTheMonth)
{
    CDateTime a(31, 8, 2009);
    a.AddMonths(1);
    EXPECT_EQ(Text(a), "30-09-2009 00:00:00");
    CDateTime b(31, 1, 2008);
    b.AddMonths(13);
    EXPECT_EQ(Text(b), "28-02-2009 00:00:00");
    CDateTime c(15, 11, 2009);
    c.AddMonths(3);
    EXPECT_EQ(Text(c), "15-02-2010 00:00:00");
    CDateTime leapDay(29, 2, 2008);
    leapDay.AddYears(1);
    EXPECT_EQ(Text(leapDay), "28-02-2009 00:00:00");
    CDateTime leapToLeap(29, 2, 2008);
    leapToLeap.AddYears(4);
    EXPECT_EQ(Text(leapToLeap), "29-02-2012 00:00:00");
}

TEST(DateTime, WeekdaysSkipTheWeekend)
{
    CDateTime friday(6, 3, 2009);
    ASSERT_EQ(friday.GetDayOfWeek(), 5);
    friday.AddWeekdays(1);
    EXPECT_EQ(Text(friday), "09-03-2009 00:00:00");
    CDateTime saturday(7, 3, 2009);
    saturday.AddWeekdays(1);
    EXPECT_EQ(Text(saturday), "09-03-2009 00:00:00");
    CDateTime unchanged(7, 3, 2009);
    unchanged.AddWeekdays(0);
    EXPECT_EQ(Text(unchanged), "07-03-2009 00:00:00");
    CDateTime week(28, 12, 2009);
    week.AddWeeks(1);
    EXPECT_EQ(Text(week), "04-01-2010 00:00:00");
    char name[40];
    CDateTime(9, 3, 2009).GetDayName(name, sizeof name);
    EXPECT_STREQ(name, "Monday");
}

TEST(DateTime, FormatsAndComparisons)
{
    CDateTime t(5, 3, 2008, 7, 4, 9);
    EXPECT_STREQ(t.FormatSortKey(), "20080305070409");
    EXPECT_STREQ(t.FormatDateTime(false), "05-03-2008 07:04:09");
    EXPECT_STREQ(t.FormatDateTime(true), "05-03-2008");
    EXPECT_STRNE(t.GetTimeText(), "");
    CDateTime later(5, 3, 2008, 7, 4, 10);
    EXPECT_TRUE(t < later);
    EXPECT_TRUE(later > t);
    EXPECT_TRUE(t <= t);
    EXPECT_FALSE(later <= t);
    EXPECT_TRUE(t == CDateTime(5, 3, 2008, 7, 4, 9));
    SYSTEMTIME st = {};
    st.wDayOfWeek = 6;
    t.ToSystemTime(st);
    EXPECT_EQ(st.wYear, 2008);
    EXPECT_EQ(st.wDayOfWeek, 6) << "the weekday is left as it was";
}
