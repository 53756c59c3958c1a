// The calendar window of the running program, driven from outside as a user
// meets it: opened from the tray menu's command, closed by its keys, opened
// again at start when it was left open, and its settings file.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CalendarDriving.h"
#include "calendar/CalendarWindow.h"
#include "globals/MainWindowMessages.h"
#include "resources/ids/CalendarIds.h"
#include "resources/ids/TrayMenuIds.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
std::string MonthTitleOf(const SYSTEMTIME& day)
{
    char text[64] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, 0, &day, "MMMM yyyy", text, sizeof text);
    return text;
}

std::string CurrentMonthTitle()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return MonthTitleOf(now);
}

std::string NextMonthTitle()
{
    return MonthTitleOf(FirstOfNextMonth());
}

}

TEST(CalendarProgram, OpensOnceClosesByItsKeysAndReopensWhenLeftOpen)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RECT place = {};
    {
        RunningProgram program(install, "");
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(SendWithTimeout(main, WM_COMMAND, ID_TRAY_CALENDAR, 0));
        ASSERT_TRUE(SendWithTimeout(main, WM_COMMAND, ID_TRAY_CALENDAR, 0));
        HWND calendar = WaitForCalendar(program.ProcessId());
        ASSERT_NE(calendar, nullptr);
        EXPECT_EQ(CountCalendars(program.ProcessId()), 1);
        EXPECT_EQ(MonthTitle(calendar, IDC_CAL_TITLE), CurrentMonthTitle());
        EXPECT_TRUE(SaveScreenshotOf(calendar, "calendar-opened"));

        // Alt+F4 leaves it open: the next key still reaches it.
        SetForegroundWindow(calendar);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == calendar; }));
        PressKeys({VK_MENU, VK_F4});
        PressKeys({VK_NEXT});
        EXPECT_TRUE(WaitUntil([&] { return MonthTitle(calendar, IDC_CAL_TITLE) == NextMonthTitle(); }));
        EXPECT_TRUE(IsWindow(calendar));
        // Closed within the first tick of its clock, it still keeps its place.
        GetWindowRect(calendar, &place);
        PressKeys({VK_CONTROL, VK_F4});
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(calendar); }));
        CloseProgram(install, program);
    }
    // The first close wrote the file: the standard options (those of style
    // 2) and the nine standard styles, one element a line.
    CalendarFile first(install.File("calendar.QPD"));
    ASSERT_TRUE(first.IsReadable()) << first.Text();
    EXPECT_EQ(first.Text().rfind("<?xml version=\"1.0\" encoding=\"Windows-1252\" standalone=\"yes\"?>\r\n"
                                 "<content>\r\n   <options>\r\n      <userID>",
                                 0),
              0u);
    size_t lines = 0;
    for (size_t at = first.Text().find("\r\n"); at != std::string::npos; at = first.Text().find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, 3u + (2 + 73) + (2 + 9 * (3 + 73)));
    EXPECT_EQ(first.CountOptions(), 1);
    EXPECT_EQ(first.CountStyleSets(), 1);
    const struct {
        const char* key;
        const char* value;
    } standard[] = {{"visible", "0"},          {"filterText", ""},
                    {"nrOfMonthsToShow", "1"}, {"hotkeyAllow", "1"},
                    {"hotkeyCtrl", "0"},       {"hotkeyAlt", "1"},
                    {"hotkeyShift", "1"},      {"hotkeyKey", "84"},
                    {"backgroundType", "0"},   {"backgroundImage", ""},
                    {"dialogBackColor", "16771289"},        {"dialogTitleBackColor", "16698272"},
                    {"dialogTitleTextColor", "8388608"},    {"daysAreaTextColor", "8388608"},
                    {"daysWithAlarmShadeColor", "16767673"}, {"calendarLeftLFHEIGHT", "-15"},
                    {"calendarLeftLFFACENAME", "Arial"},    {"dialogTitleLFWEIGHT", "400"},
                    {"showGrid", "1"},         {"automaticResizing", "1"}};
    for (const auto& entry : standard)
        EXPECT_EQ(first.Option(1, entry.key), entry.value) << entry.key;
    EXPECT_NE(first.Option(1, "width"), "0");
    EXPECT_EQ(first.Style(1, 0, "userID"), first.Option(1, "userID"));
    for (int index = 0; index < 9; ++index)
        EXPECT_EQ(first.Style(1, index, "index"), std::to_string(index));
    EXPECT_EQ(first.Style(1, 0, "backgroundImage"), "marble.jpg");
    EXPECT_EQ(first.Style(1, 0, "dialogTitleLFWEIGHT"), "700");
    EXPECT_EQ(first.Style(1, 3, "backgroundImage"), "yellow.jpg");
    EXPECT_EQ(first.Style(1, 8, "backgroundType"), "5");
    EXPECT_EQ(first.Style(1, 7, "dialogTitleTextColor"), "16711935");
    {
        // Closed by hand, it stays closed.
        RunningProgram program(install, "");
        ASSERT_NE(WaitUntilStarted(install, program), nullptr);
        EXPECT_EQ(CountCalendars(program.ProcessId()), 0);
        HWND calendar = OpenCalendar(program);
        ASSERT_NE(calendar, nullptr);
        // The tray's command brings it forward.
        EXPECT_TRUE(WaitUntil([&] { return ShowsBroughtForward(calendar); }));
        RECT again;
        GetWindowRect(calendar, &again);
        EXPECT_EQ(again.left, place.left);
        EXPECT_EQ(again.top, place.top);
        SetForegroundWindow(calendar);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == calendar; }));
        PressKeys({VK_CONTROL, 'H'});
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(calendar); }));
        // The calendar's hotkey opens it too, and the request of another
        // window; both bring it forward, until another window is activated.
        HWND main = WaitForMainWindow(program);
        PostMessageA(main, WM_HOTKEY, 27, MAKELPARAM(MOD_ALT | MOD_SHIFT, 'T'));
        calendar = WaitForCalendar(program.ProcessId());
        ASSERT_NE(calendar, nullptr);
        EXPECT_TRUE(WaitUntil([&] { return ShowsBroughtForward(calendar); }));
        ASSERT_TRUE(SendWithTimeout(calendar, WM_CLOSE, 0, 0));
        PostMessageA(main, kMsgShowCalendar, 0, 0);
        calendar = WaitForCalendar(program.ProcessId());
        ASSERT_NE(calendar, nullptr);
        EXPECT_TRUE(WaitUntil([&] { return ShowsBroughtForward(calendar); }));
        const std::vector<HWND> notes = NoteWindows(program.ProcessId());
        ASSERT_FALSE(notes.empty());
        SetForegroundWindow(notes[0]);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == notes[0]; }));
        EXPECT_TRUE(WaitUntil([&] { return SendWithTimeout(calendar, WM_NULL, 0, 0) && !ShowsBroughtForward(calendar); }));
        EXPECT_EQ(GetWindowLongA(calendar, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
        // Left open as the program ends, it opens again at the next start.
        CloseProgram(install, program);
    }
    EXPECT_EQ(CalendarFile(install.File("calendar.QPD")).Option(1, "visible"), "1");
    RunningProgram program(install, "");
    // Reopened at the start, it is not brought forward.
    HWND calendar = WaitForCalendar(program.ProcessId());
    ASSERT_NE(calendar, nullptr);
    ASSERT_NE(WaitUntilStarted(install, program), nullptr);
    ASSERT_TRUE(SendWithTimeout(calendar, WM_NULL, 0, 0));
    EXPECT_TRUE(WaitUntilPainted(calendar));
    EXPECT_TRUE(ShowsNotBroughtForward(calendar));
    CloseProgram(install, program);
}

namespace {
// The text of the first "options" element of the file, tags included.
std::string FirstOptionsBlock(const std::string& text)
{
    const std::string open = "   <options>\r\n";
    const std::string close = "   </options>\r\n";
    const size_t start = text.find(open);
    const size_t end = text.find(close, start);
    return text.substr(start, end + close.size() - start);
}

std::string WithoutElement(const std::string& text, const char* key)
{
    const size_t start = text.find(std::string("      <") + key + ">");
    const size_t end = text.find("\r\n", start);
    return text.substr(0, start) + text.substr(end + 2);
}
}

TEST(CalendarProgram, EveryUsersOptionsAreKeptAndATypedFilterLeavesTheFileReadable)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    const std::string user = FirstCalendarFile(install);
    ASSERT_NE(user, "(missing)");
    const std::string other = std::to_string(std::stoi(user) + 100);

    // Another user's options, of the oldest form (no "visible", no
    // "filterText"), come first; the user's own have the calendar open and a
    // filter that only CDATA can hold.
    const std::string text = ReadWholeFile(install.File("calendar.QPD"));
    const std::string ours = FirstOptionsBlock(text);
    std::string theirs = WithElement(ours, "userID", other);
    theirs = WithElement(theirs, "dialogBackColor", "255");
    theirs = WithoutElement(WithoutElement(theirs, "visible"), "filterText");
    std::string mine = WithElement(WithElement(ours, "visible", "1"), "filterText", "<![CDATA[<a&b>]]>");
    const size_t at = text.find(ours);
    WriteWholeFile(install.File("calendar.QPD"), text.substr(0, at) + theirs + mine + text.substr(at + ours.size()));

    RunningProgram program(install, "");
    HWND calendar = WaitForCalendar(program.ProcessId());
    ASSERT_NE(calendar, nullptr);
    // Moved, the calendar keeps its new place at the next tick of its clock.
    RECT place;
    GetWindowRect(calendar, &place);
    const int left = place.left + 37;
    SetWindowPos(calendar, nullptr, left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const std::string path = install.File("calendar.QPD");
    ASSERT_TRUE(WaitUntil([&] { return CalendarFile(path).Option(1, "left") == std::to_string(left); }))
        << ReadWholeFile(path);

    CalendarFile saved(path);
    ASSERT_TRUE(saved.IsReadable());
    EXPECT_NE(saved.Text().find("<filterText><![CDATA[<a&b>]]></filterText>"), std::string::npos);
    EXPECT_EQ(saved.Option(1, "userID"), user);
    EXPECT_EQ(saved.Option(1, "filterText"), "<a&b>");
    EXPECT_EQ(saved.Option(1, "visible"), "1");
    EXPECT_EQ(saved.Option(2, "userID"), other);
    EXPECT_EQ(saved.Option(2, "visible"), "0");
    EXPECT_EQ(saved.Option(2, "filterText"), "");
    EXPECT_EQ(saved.Option(2, "dialogBackColor"), "255");
    EXPECT_EQ(saved.CountStyleSets(), 1);
    CloseProgram(install, program);

    // Open at the end: it opens again, and its filter has gone with the window.
    CalendarFile last(path);
    EXPECT_EQ(last.Option(1, "visible"), "1");
    EXPECT_EQ(last.Option(1, "filterText"), "");
    EXPECT_EQ(last.CountOptions(), 2);
}

TEST(CalendarProgram, TheOtherMonthsFollowTheFirstOne)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND calendar = OpenCalendar(program);
    ASSERT_NE(calendar, nullptr);
    auto key = [&](WPARAM code) { return SendWithTimeout(calendar, WM_KEYDOWN, code, 0); };
    auto showsMonth = [&](int month, int year) {
        SYSTEMTIME day = {};
        day.wDay = 1;
        day.wMonth = static_cast<WORD>(month);
        day.wYear = static_cast<WORD>(year);
        return MonthTitleOf(day);
    };
    // Page Down and Page Up to January 2027, from whatever month today is.
    SYSTEMTIME now;
    GetLocalTime(&now);
    for (int steps = 2027 * 12 - (now.wYear * 12 + now.wMonth - 1); steps != 0; steps += steps > 0 ? -1 : 1)
        ASSERT_TRUE(key(steps > 0 ? VK_NEXT : VK_PRIOR));
    ASSERT_EQ(MonthTitle(calendar, IDC_CAL_TITLE), showsMonth(1, 2027));

    // Three months: the one before and the one after.
    ASSERT_TRUE(SendWithTimeout(calendar, WM_COMMAND, IDM_CAL_THREE_MONTHS, 0));
    EXPECT_EQ(MonthTitle(calendar, IDC_CAL2_TITLE), showsMonth(12, 2026));
    EXPECT_EQ(MonthTitle(calendar, IDC_CAL3_TITLE), showsMonth(2, 2027));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(calendar, IDC_CAL3_TITLE)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(calendar, IDC_CAL4_TITLE)));
    EXPECT_TRUE(SaveScreenshotOf(calendar, "calendar-three-months"));

    // Four months from November 2026: the three that follow it.
    ASSERT_TRUE(SendWithTimeout(calendar, WM_COMMAND, IDM_CAL_FOUR_MONTHS, 0));
    ASSERT_TRUE(key(VK_PRIOR) && key(VK_PRIOR));
    ASSERT_EQ(MonthTitle(calendar, IDC_CAL_TITLE), showsMonth(11, 2026));
    const std::string four[3] = {showsMonth(12, 2026), showsMonth(1, 2027), showsMonth(2, 2027)};
    const int titles[3] = {IDC_CAL2_TITLE, IDC_CAL3_TITLE, IDC_CAL4_TITLE};
    for (int index = 0; index < 3; ++index)
        EXPECT_EQ(MonthTitle(calendar, titles[index]), four[index]);
    // February 2027 has five weeks: the window grew to hold the last one.
    EXPECT_TRUE(ItemInsideClient(calendar, IDC_CAL4_DAY + 34));
    EXPECT_TRUE(SaveScreenshotOf(calendar, "calendar-four-months"));
    // One month, then four again: the same months.
    ASSERT_TRUE(SendWithTimeout(calendar, WM_COMMAND, IDM_CAL_FOUR_MONTHS, 0));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(calendar, IDC_CAL2_TITLE)));
    ASSERT_TRUE(SendWithTimeout(calendar, WM_COMMAND, IDM_CAL_FOUR_MONTHS, 0));
    for (int index = 0; index < 3; ++index) {
        EXPECT_EQ(MonthTitle(calendar, titles[index]), four[index]);
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(calendar, titles[index])));
    }
    // The window holds the four months.
    EXPECT_TRUE(ItemInsideClient(calendar, IDC_CAL4_DAY + 34));

    // End: December of the shown year, and its column; Home: today's month.
    ASSERT_TRUE(key(VK_END));
    EXPECT_EQ(MonthTitle(calendar, IDC_CAL_TITLE), showsMonth(12, 2026));
    EXPECT_EQ(MonthTitle(calendar, IDC_CAL2_TITLE), showsMonth(1, 2027));
    // January 2027 takes six weeks, and the column moved down by one.
    EXPECT_TRUE(ItemInsideClient(calendar, IDC_CAL4_DAY + 34));
    ASSERT_TRUE(key(VK_END));
    EXPECT_EQ(MonthTitle(calendar, IDC_CAL_TITLE), showsMonth(12, 2026));
    ASSERT_TRUE(key(VK_HOME));
    EXPECT_EQ(MonthTitle(calendar, IDC_CAL_TITLE), CurrentMonthTitle());
    CloseProgram(install, program);
}

namespace {
// The colour of the frame's left edge, half way down.
COLORREF LeftEdgeColour(HWND calendar, int inset)
{
    RECT window;
    GetWindowRect(calendar, &window);
    return ScreenPixel(POINT{window.left + inset, (window.top + window.bottom) / 2});
}

// Waits until the program has dealt with what it was sent, and painted.
bool CalendarSettled(HWND calendar)
{
    return SendWithTimeout(calendar, WM_NULL, 0, 0) && SaveScreenshotOf(calendar, "calendar-frame");
}
}

TEST(CalendarProgram, TheFrameTellsBorderAndOnTopAndTransparencyFollowsActivation)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    FirstCalendarFile(install);
    OpenAtNextStartWith(install, {{"hasBorder", "1"}, {"transparency", "40"}});
    {
        RunningProgram program(install, "");
        HWND calendar = WaitForCalendar(program.ProcessId());
        ASSERT_NE(calendar, nullptr);
        ASSERT_TRUE(CalendarSettled(calendar));
        EXPECT_TRUE(SaveScreenshotOf(calendar, "calendar-bordered"));
        EXPECT_EQ(LeftEdgeColour(calendar, 0), RGB(0, 0, 255));
        EXPECT_NE(LeftEdgeColour(calendar, 1), RGB(0, 0, 255)) << "one pixel wide";

        BYTE alpha = 0;
        DWORD flags = 0;
        SetForegroundWindow(calendar);
        EXPECT_TRUE(WaitUntil([&] {
            return GetLayeredWindowAttributes(calendar, nullptr, &alpha, &flags) && alpha == 229;
        })) << static_cast<int>(alpha);
        EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
        SetForegroundWindow(FindTopWindow("Shell_TrayWnd"));
        EXPECT_TRUE(WaitUntil([&] {
            return GetLayeredWindowAttributes(calendar, nullptr, &alpha, &flags) && alpha == 153;
        })) << static_cast<int>(alpha);
        CloseProgram(install, program);
    }
    // A place wholly off the screen comes back onto it; under 5 % is no transparency.
    OpenAtNextStartWith(install, {{"hasBorder", "0"}, {"transparency", "3"}, {"stayOnTop", "1"}, {"left", "5000"},
                                  {"top", "-400"}});
    RunningProgram program(install, "");
    HWND calendar = WaitForCalendar(program.ProcessId());
    ASSERT_NE(calendar, nullptr);
    RECT place;
    GetWindowRect(calendar, &place);
    EXPECT_EQ(place.left, 20);
    EXPECT_EQ(place.top, 20);
    ASSERT_TRUE(CalendarSettled(calendar));
    EXPECT_TRUE(SaveScreenshotOf(calendar, "calendar-on-top"));
    EXPECT_EQ(LeftEdgeColour(calendar, 0), RGB(255, 0, 0));
    EXPECT_EQ(LeftEdgeColour(calendar, 1), RGB(255, 0, 0)) << "two pixels wide";
    EXPECT_NE(GetWindowLongA(calendar, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindowLongA(calendar, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    CloseProgram(install, program);
}

namespace {
// The days font's size in the settings file, once the calendar has saved
// what it had pending.
int SavedDaysPoints(const ProgramInstall& install, HWND calendar)
{
    if (!SendWithTimeout(calendar, kMsgCalendarSettingsChanged, 0, 0))
        return 0;
    const int height = CalendarFile(install.File("calendar.QPD")).OptionNumber(1, "calendarLeftLFHEIGHT");
    HDC screen = GetDC(nullptr);
    const int points = MulDiv(-height, 72, GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    return points;
}

// The user drags the bottom right corner to the size.
void SizeAsTheUserDoes(HWND calendar, int width, int height)
{
    RECT rect;
    GetWindowRect(calendar, &rect);
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
    SendWithTimeout(calendar, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&rect));
    SetWindowPos(calendar, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
}

TEST(CalendarProgram, SizingStepsTheDaysFontAPointAtATimeAndKeepsTheMonthsInside)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND calendar = OpenCalendar(program);
    ASSERT_NE(calendar, nullptr);
    ASSERT_TRUE(SendWithTimeout(calendar, WM_COMMAND, IDM_CAL_THREE_MONTHS, 0));
    int points = SavedDaysPoints(install, calendar);
    ASSERT_EQ(points, 11);

    // A drag gives many small changes of size: growing, the font follows each
    // a point at a time, and the months stay inside the window.
    int grown = points;
    for (int step = 0; step < 80; ++step) {
        RECT rect;
        GetWindowRect(calendar, &rect);
        SizeAsTheUserDoes(calendar, rect.right - rect.left + 4, rect.bottom - rect.top + 6);
        const int now = SavedDaysPoints(install, calendar);
        EXPECT_LE(now - points, 1) << "step " << step;
        EXPECT_GE(now, points) << "step " << step;
        EXPECT_TRUE(ItemInsideClient(calendar, IDC_CAL2_DAY + 34) && ItemInsideClient(calendar, IDC_CAL3_DAY + 34))
            << "step " << step;
        points = now;
        grown = now > grown ? now : grown;
    }
    EXPECT_GE(grown, 16) << "the font grew with the window";
    EXPECT_TRUE(SaveScreenshotOf(calendar, "calendar-grown"));

    for (int step = 0; step < 250; ++step) {
        RECT rect;
        GetWindowRect(calendar, &rect);
        if (rect.right - rect.left <= 80)
            break;
        SizeAsTheUserDoes(calendar, rect.right - rect.left - 4, rect.bottom - rect.top - 3);
        // Shrinking takes the first size that leaves the month room to spare,
        // which may be two points down.
        const int now = SavedDaysPoints(install, calendar);
        EXPECT_LE(now, points) << "step " << step;
        EXPECT_GE(now, 6) << "step " << step;
        points = now;
    }
    EXPECT_EQ(points, 6) << "the font shrank with the window";
    EXPECT_TRUE(SaveScreenshotOf(calendar, "calendar-shrunk"));
    CloseProgram(install, program);
}
