// The calendar window made by this test program over its own data folder,
// with the clock set by the test: today's date in the title, the months that
// follow the date across midnight, and the moves of the first month.
#include <windows.h>

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "CalendarDialog.h"
#include "CalendarDriving.h"
#include "calendar/CalendarBackground.h"
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarSettingsFile.h"
#include "calendar/CalendarWindow.h"
#include "calendar/CalendarWnd.h"
#include "foundation/Clock.h"
#include "resources/ids/CalendarIds.h"
#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"
#include "support/InFolder.h"
#include "support/NoteDriving.h"
#include "support/PictureFiles.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
SYSTEMTIME Moment(WORD day, WORD month, WORD year, WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME time = {};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    FILETIME file;
    SystemTimeToFileTime(&time, &file);
    FileTimeToSystemTime(&file, &time);  // the day of the week
    return time;
}

std::string LongDate(const SYSTEMTIME& time)
{
    char text[128] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &time, nullptr, text, sizeof text);
    return text;
}

class CalendarWindowTest : public InFolder {
protected:
    void SetUp() override { SetClock(Moment(31, 5, 2027, 23, 59, 58)); }
    void TearDown() override
    {
        if (HWND calendar = GetCalendarWindow())
            DestroyWindow(calendar);
        SetClockOverride(nullptr);
        RemoveAllCalendarOptions();
        RemoveAllCalendarStyleSets();
    }
    void SetClock(const SYSTEMTIME& time)
    {
        m_now = time;
        SetClockOverride(&m_now);
    }
    // The standard options, as a first start finds them.
    void LoadStandardSettings()
    {
        BuildDefaultCalendarStyles(UserSettings().userId);
        LoadCalendarSettingsFile();
    }
    // The calendar of the standard options.
    HWND Open()
    {
        LoadStandardSettings();
        HWND calendar = CreateCalendarWindow(nullptr, true);
        EXPECT_NE(calendar, nullptr);
        return calendar;
    }
    CCalendarWnd& Calendar() { return *CCalendarWnd::FromWindow(GetCalendarWindow()); }

    MainWindowStandIn m_main;
    SYSTEMTIME m_now = {};
};
}

TEST_F(CalendarWindowTest, AtMidnightTheTitleAndTheMonthFollowTheDate)
{
    HWND calendar = Open();
    ASSERT_NE(calendar, nullptr);
    char title[128] = "";
    GetWindowTextA(calendar, title, sizeof title);
    EXPECT_EQ(title, LongDate(m_now));
    EXPECT_EQ(Calendar().MainGrid().GetMonth(), 5);
    EXPECT_TRUE(SaveScreenshotOf(calendar, "calendar-in-test-program"));

    SetClock(Moment(1, 6, 2027, 0, 0, 3));
    ASSERT_TRUE(WaitUntil([&] { return Calendar().MainGrid().GetMonth() == 6; }, 20000));
    EXPECT_EQ(Calendar().MainGrid().GetYear(), 2027);
    GetWindowTextA(calendar, title, sizeof title);
    EXPECT_EQ(title, LongDate(m_now));
    EXPECT_EQ(ReadWindowText(GetDlgItem(calendar, 1166)), "June 2027");

    // A note's alarm changed: every shown day asks again, here of three months.
    SendMessageA(calendar, WM_COMMAND, IDM_CAL_THREE_MONTHS, 0);
    m_main.Forget();
    SendMessageA(calendar, kMsgRefreshCalendar, 0, 0);
    std::set<int> months;
    for (const SeenMessage& seen : m_main.Seen(kMsgHasAlarmOnDate))
        months.insert(seen.month);
    EXPECT_EQ(months, (std::set<int>{4, 5, 6, 7})) << "with the days of April before May";
}

TEST_F(CalendarWindowTest, TheTitleButtonTellsTheWayBackToTheCurrentMonth)
{
    SetClock(Moment(15, 1, 2026, 12, 0, 0));
    HWND calendar = Open();
    ASSERT_NE(calendar, nullptr);
    CMonthGrid& grid = Calendar().MainGrid();
    auto press = [&](int id) { SendMessageA(calendar, WM_COMMAND, id, 0); };
    auto shows = [&](int month, int year, const char* tip) {
        return grid.GetMonth() == month && grid.GetYear() == year &&
               std::string(grid.TitleButton().GetTooltipText()) == tip;
    };
    const char kBack[] = "Return to current month";
    EXPECT_TRUE(shows(1, 2026, ""));
    press(IDC_CAL_NEXT_MONTH);
    EXPECT_TRUE(shows(2, 2026, kBack));
    press(IDC_CAL_PREV_MONTH);
    EXPECT_TRUE(shows(1, 2026, ""));
    press(IDC_CAL_NEXT_YEAR);
    EXPECT_TRUE(shows(1, 2027, kBack));
    // Back a year lands on the current month, and still says the way back.
    press(IDC_CAL_PREV_YEAR);
    EXPECT_TRUE(shows(1, 2026, kBack));
    press(IDC_CAL_TITLE);
    EXPECT_TRUE(shows(1, 2026, ""));
    SendMessageA(calendar, WM_KEYDOWN, VK_END, 0);
    EXPECT_TRUE(shows(12, 2026, kBack));
    SendMessageA(calendar, WM_KEYDOWN, VK_PRIOR, 0);
    SendMessageA(calendar, WM_KEYDOWN, VK_END, 0);
    EXPECT_TRUE(shows(12, 2026, kBack));
    // The month shown is kept for the next opening of this run.
    EXPECT_EQ(CurrentCalendarOptions().monthOnTheLeft, 12);
    DestroyWindow(calendar);
    ASSERT_NE(CreateCalendarWindow(nullptr, false), nullptr);
    EXPECT_EQ(Calendar().MainGrid().GetMonth(), 12);
}

TEST_F(CalendarWindowTest, AnOpenCalendarTakesTheReloadedOptionsAndKeepsNoneOfTheOldOnes)
{
    // What a restore brings back: four months, in another colour.
    HWND calendar = Open();
    ASSERT_NE(calendar, nullptr);
    SendMessageA(calendar, WM_COMMAND, IDM_CAL_FOUR_MONTHS, 0);
    DestroyWindow(calendar);
    const std::string text = WithElement(Read("calendar.QPD"), "dialogBackColor", "4259584");
    // Meanwhile the calendar shows one month.
    calendar = CreateCalendarWindow(nullptr, false);
    ASSERT_NE(calendar, nullptr);
    SendMessageA(calendar, WM_COMMAND, IDM_CAL_FOUR_MONTHS, 0);
    ASSERT_FALSE(IsWindowVisible(GetDlgItem(calendar, IDC_CAL4_TITLE)));
    WriteWholeFile(File("calendar.QPD"), text);

    LoadCalendarSettings();
    HWND again = GetCalendarWindow();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(CalendarSettingsList().GetCount(), 1u);
    EXPECT_EQ(CurrentCalendarOptions().dialogBackColor, 4259584u);
    EXPECT_EQ(CurrentCalendarOptions().visible, 1u);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(again, IDC_CAL4_TITLE)));
    EXPECT_EQ(ReadWindowText(GetDlgItem(again, IDC_CAL4_TITLE)), "August 2027");
    EXPECT_TRUE(ItemInsideClient(again, IDC_CAL4_DAY + 34));
    // The window paints with the options it took.
    ASSERT_TRUE(SaveScreenshotOf(again, "calendar-reloaded"));
    RECT client;
    GetClientRect(again, &client);
    POINT corner = {client.right - 2, client.bottom - 2};
    ClientToScreen(again, &corner);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, corner.x, corner.y), 4259584u);
    ReleaseDC(nullptr, screen);
}

TEST_F(CalendarWindowTest, ATextureFillsTheBackgroundAndAMissingOneLeavesThePlainColour)
{
    ASSERT_TRUE(CreateDirectoryA(File("TEXTURES").c_str(), nullptr));
    const COLORREF texture = RGB(200, 120, 40);
    WriteWholeFile(File("TEXTURES\\tile.bmp"), SquareBitmap(24, texture));
    LoadStandardSettings();
    CCalendarStyle& options = CurrentCalendarOptions();
    options.backgroundType = 4;
    options.SetBackgroundImage("tile.bmp");
    auto clientPixel = [](HWND window, int x, int y) {
        POINT point = {x, y};
        ClientToScreen(window, &point);
        HDC screen = GetDC(nullptr);
        const COLORREF colour = GetPixel(screen, point.x, point.y);
        ReleaseDC(nullptr, screen);
        return colour;
    };
    HWND calendar = CreateCalendarWindow(nullptr, false);
    ASSERT_NE(calendar, nullptr);
    ASSERT_TRUE(SaveScreenshotOf(calendar, "calendar-texture"));
    // Over the strip above the months, off the picture's black diagonal.
    EXPECT_TRUE(CloseColour(clientPixel(calendar, 5, 2), texture)) << std::hex << clientPixel(calendar, 5, 2);
    EXPECT_TRUE(CloseColour(clientPixel(calendar, 29, 2), texture));
    EXPECT_EQ(options.backgroundType, 4u);
    DestroyWindow(calendar);

    options.SetBackgroundImage("gone.bmp");
    calendar = CreateCalendarWindow(nullptr, false);
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(options.backgroundType, 0u);
    EXPECT_STREQ(options.backgroundImage, "");
    ASSERT_TRUE(SaveScreenshotOf(calendar, "calendar-texture-gone"));
    EXPECT_EQ(clientPixel(calendar, 5, 2), options.dialogBackColor);
}

TEST(CalendarBackground, APictureIsTiledFromTheCornerOrStretchedOverTheArea)
{
    // Each pixel of the 50 x 30 picture has a colour of its own.
    auto colourAt = [](int x, int y) { return RGB(x * 5, y * 8, 100); };
    HDC screen = GetDC(nullptr);
    HDC picture = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 50, 30);
    HGDIOBJ previous = SelectObject(picture, bitmap);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 50; ++x)
            SetPixel(picture, x, y, colourAt(x, y));
    SelectObject(picture, previous);
    HDC target = CreateCompatibleDC(screen);
    HBITMAP area = CreateCompatibleBitmap(screen, 130, 80);
    HGDIOBJ previousArea = SelectObject(target, area);
    RECT whole = {0, 0, 130, 80};
    FillRect(target, &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    DrawBitmapStretchedOrTiled(picture, target, bitmap, 50, 30, false, 120, 70);
    // Three rows of three: 30, 30 and 10 pixels high.
    for (POINT point : {POINT{0, 0}, POINT{49, 29}, POINT{50, 30}, POINT{119, 69}, POINT{75, 62}})
        EXPECT_EQ(GetPixel(target, point.x, point.y), colourAt(point.x % 50, point.y % 30))
            << point.x << ", " << point.y;
    EXPECT_EQ(GetPixel(target, 120, 10), RGB(255, 255, 255)) << "nothing beyond the area";
    EXPECT_EQ(GetPixel(target, 10, 70), RGB(255, 255, 255));
    EXPECT_EQ(GetCurrentObject(picture, OBJ_BITMAP), previous) << "the memory DC has its own bitmap back";

    DrawBitmapStretchedOrTiled(picture, target, bitmap, 50, 30, true, 100, 60);
    EXPECT_TRUE(CloseColour(GetPixel(target, 0, 0), colourAt(0, 0)));
    EXPECT_TRUE(CloseColour(GetPixel(target, 99, 59), colourAt(49, 29)));
    EXPECT_TRUE(CloseColour(GetPixel(target, 40, 20), colourAt(20, 10)));

    SelectObject(target, previousArea);
    DeleteObject(area);
    DeleteDC(target);
    DeleteObject(bitmap);
    DeleteDC(picture);
    ReleaseDC(nullptr, screen);
}
