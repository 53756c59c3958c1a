// The running program's calendar as a frame: its menu and what its items do,
// rolling up to the caption and back, staying on top, the caption's clicks
// and the window copied as a picture.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CalendarDriving.h"
#include "calendar/CalendarWindow.h"
#include "resources/ids/CalendarIds.h"
#include "resources/ids/NoteSettingsIds.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/ShownTips.h"
#include "support/StoredNotes.h"

namespace {
// The menu's items: the new note, settings, on top, roll up | three months,
// four months | copy | help, close.
const char kMenuLayout[] = "iiii-ii-i-ii";

// The column of the first month's first day, by the first day of the week
// the settings file gives.
int FirstDayColumn(int firstDayOfWeek)
{
    SYSTEMTIME first;
    GetLocalTime(&first);
    first.wDay = 1;
    FILETIME time;
    SystemTimeToFileTime(&first, &time);
    FileTimeToSystemTime(&time, &first);
    const int weekday = first.wDayOfWeek;  // 0 = Sunday
    return firstDayOfWeek == 6 ? weekday : (weekday + 6) % 7;
}

std::string ShortDate(int day)
{
    SYSTEMTIME date;
    GetLocalTime(&date);
    date.wDay = static_cast<WORD>(day);
    char text[64] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, text, sizeof text);
    return text;
}

RECT WindowRectOf(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

LPARAM ScreenPoint(int x, int y)
{
    return MAKELPARAM(static_cast<short>(x), static_cast<short>(y));
}
}

TEST(CalendarFrame, TheMenuSaysForWhichDayAndItsFirstItemMakesAnAlarmNoteOnThatDay)
{
    // The real pointer stays away from the calendar and its menus: a menu
    // that opens under it would take its item from the pointer, not the keys.
    MovePointerAwayFromCalendar();
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    // Once the start is over: a note it activates meanwhile would end the
    // calendar's raise while a menu of the calendar is open.
    ASSERT_NE(WaitUntilStarted(install, program), nullptr);
    HWND calendar = OpenCalendar(program);
    ASSERT_NE(calendar, nullptr);
    ASSERT_TRUE(SendWithTimeout(calendar, WM_COMMAND, IDM_CAL_THREE_MONTHS, 0));
    // Each menu opens over a calendar that is done drawing its new months:
    // under Wine a calendar still painting when its menu opens can end up
    // drawn over that menu.
    ASSERT_TRUE(WaitUntilPainted(calendar));

    // A right click on the calendar's own area: no day, the first item grayed.
    RECT client;
    GetClientRect(calendar, &client);
    PostMessageA(calendar, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, client.bottom - 2));
    HWND menu = WaitForOpenMenus(process, 1);
    ASSERT_NE(menu, nullptr);
    {
        // Read once it shows its items: grayed without a day, then enabled.
        EXPECT_TRUE(MenuShows(menu, kMenuLayout, {false, true}));
        MenuPicture picture(menu, kMenuLayout);
        EXPECT_TRUE(picture.Fits());
        EXPECT_TRUE(picture.HasMark(1)) << "the settings' picture";
        EXPECT_TRUE(picture.HasMark(4)) << "three months are shown";
        EXPECT_FALSE(picture.HasMark(5));
        EXPECT_FALSE(picture.HasMark(2)) << "not on top";
        EXPECT_TRUE(SaveScreenshotOf(menu, "calendar-menu"));
    }
    ASSERT_TRUE(CloseMenus(process));

    // A right click on a day of the month: the day in parentheses.
    ASSERT_TRUE(SendWithTimeout(calendar, kMsgCalendarSettingsChanged, 0, 0));
    ASSERT_TRUE(WaitUntilPainted(calendar));
    const CalendarFile file(install.File("calendar.QPD"));
    const int cell = 17;
    const int day = cell - FirstDayColumn(std::stoi(file.Option(1, "firstDayOfWeek"))) + 1;
    HWND dayCell = GetDlgItem(calendar, IDC_CAL_DAY + cell);
    PostMessageA(dayCell, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 3));
    PostMessageA(dayCell, WM_RBUTTONUP, 0, MAKELPARAM(3, 3));
    menu = WaitForOpenMenus(process, 1);
    ASSERT_NE(menu, nullptr);
    {
        // On a busy machine the screen can show the menu's place a moment
        // before it shows the menu there: the first item is read until it
        // shows, within the driver's wait.
        const std::string first = "&New alarm note on this date (" + ShortDate(day) + ")";
        WaitUntil([&] { return static_cast<bool>(DrawnAsWideAs(MenuPicture(menu, kMenuLayout).TextEnd(0), first)); });
        MenuPicture picture(menu, kMenuLayout);
        EXPECT_TRUE(picture.Fits());
        EXPECT_TRUE(DrawnAsWideAs(picture.TextEnd(0), first));
        EXPECT_TRUE(SaveScreenshotOf(menu, "calendar-menu-on-a-day"));
    }
    // Chosen: the new note's settings open on its alarm, on that day; OK
    // marks the day at once.
    EXPECT_FALSE(ShowsAlarmShade(dayCell));
    PressMenuKey(menu, VK_DOWN);
    PressMenuKey(menu, VK_RETURN);
    HWND sheet = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        sheet = FindTopWindowTitled("#32770", "Note settings...", process);
        return sheet && IsWindowVisible(sheet);
    }));
    HWND alarmPage = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND page = FindWindowExA(sheet, nullptr, "#32770", nullptr); page;
             page = FindWindowExA(sheet, page, "#32770", nullptr))
            if (GetDlgItem(page, IDC_ALARM_DATE) && IsWindowVisible(page))
                alarmPage = page;
        return alarmPage != nullptr;
    }));
    EXPECT_TRUE(SaveScreenshot("calendar-new-alarm-note"));
    PostMessageA(sheet, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == calendar; })) << "the calendar comes forward";
    EXPECT_TRUE(WaitUntil([&] { return ShowsAlarmShade(dayCell); }));
    EXPECT_TRUE(SaveScreenshotOf(calendar, "calendar-new-alarm-day-marked"));
    CloseProgram(install, program);

    const StoredNoteList notes = LoadEveryNote(install.Path());
    int onThatDay = 0;
    SYSTEMTIME today;
    GetLocalTime(&today);
    for (const auto& note : notes)
        if (note->m_alarmSet && note->m_alarm.m_day == day && note->m_alarm.m_month == today.wMonth &&
            note->m_alarm.m_year == today.wYear)
            ++onThatDay;
    EXPECT_EQ(onThatDay, 1);
}

TEST(CalendarFrame, RollsUpToItsCaptionAndUnrollsDownOrUpwardByItsPlace)
{
    MovePointerAwayFromCalendar();
    ProgramInstall install;
    install.AddInstalledDataFiles();
    FirstCalendarFile(install);
    OpenAtNextStartWith(install, {{"rollUp", "1"}});
    RunningProgram program(install, "");
    HWND calendar = WaitForCalendar(program.ProcessId());
    ASSERT_NE(calendar, nullptr);
    ASSERT_TRUE(SendWithTimeout(calendar, kMsgCalendarSettingsChanged, 0, 0));
    const CalendarFile file(install.File("calendar.QPD"));
    const int width = file.OptionNumber(1, "width");
    const int height = file.OptionNumber(1, "height");
    const int rolledHeight = GetSystemMetrics(SM_CYMIN);

    auto deactivate = [&] { SendWithTimeout(calendar, WM_ACTIVATE, WA_INACTIVE, 0); };
    auto activate = [&] { SendWithTimeout(calendar, WM_ACTIVATE, WA_ACTIVE, 0); };
    deactivate();
    RECT rolled = WindowRectOf(calendar);
    EXPECT_EQ(rolled.bottom - rolled.top, rolledHeight);
    EXPECT_TRUE(SaveScreenshotOf(calendar, "calendar-rolled-up"));
    activate();
    RECT unrolled = WindowRectOf(calendar);
    EXPECT_EQ(unrolled.right - unrolled.left, width);
    EXPECT_EQ(unrolled.bottom - unrolled.top, height);
    EXPECT_EQ(unrolled.top, rolled.top) << "high on the screen it unrolls downward";

    // Low on the screen it unrolls upward, its bottom edge kept.
    deactivate();
    const int low = GetSystemMetrics(SM_CYSCREEN) * 9 / 10;
    SetWindowPos(calendar, nullptr, 40, low, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    rolled = WindowRectOf(calendar);
    ASSERT_EQ(rolled.top, low);
    activate();
    unrolled = WindowRectOf(calendar);
    EXPECT_EQ(unrolled.bottom, rolled.bottom);
    EXPECT_EQ(unrolled.bottom - unrolled.top, height);

    // The settings keep the unrolled height, also while rolled up.
    deactivate();
    ASSERT_TRUE(SendWithTimeout(calendar, kMsgCalendarSettingsChanged, 0, 0));
    EXPECT_EQ(CalendarFile(install.File("calendar.QPD")).OptionNumber(1, "height"), height);
    // The mouse resting on the rolled caption unrolls it; once it has left
    // the window, the window rolls up again.
    const RECT caption = WindowRectOf(calendar);
    const POINT onCaption = {caption.left + 60, caption.top + 5};
    SetCursorPos(onCaption.x, onCaption.y);
    PostMessageA(calendar, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(onCaption.x, onCaption.y));
    EXPECT_TRUE(WaitUntil([&] { return WindowRectOf(calendar).bottom - WindowRectOf(calendar).top == height; }));
    SetCursorPos(caption.right + 50, caption.top - 20);
    EXPECT_TRUE(WaitUntil([&] { return WindowRectOf(calendar).bottom - WindowRectOf(calendar).top == rolledHeight; }));
    SetCursorPos(0, 0);

    // Not while its own menu is open.
    activate();
    PostMessageA(calendar, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 2));
    ASSERT_NE(WaitForOpenMenus(program.ProcessId(), 1), nullptr);
    deactivate();
    EXPECT_EQ(WindowRectOf(calendar).bottom - WindowRectOf(calendar).top, height);
    ASSERT_TRUE(CloseMenus(program.ProcessId()));
    // Ctrl+R: no more rolling up.
    ASSERT_TRUE(SendWithTimeout(calendar, WM_COMMAND, IDM_CAL_ROLL_UP, 0));
    deactivate();
    EXPECT_EQ(WindowRectOf(calendar).bottom - WindowRectOf(calendar).top, height);
    CloseProgram(install, program);
}

TEST(CalendarFrame, StaysOnTopByItsKeysAndItsCaptionOpensMenuOrSettings)
{
    MovePointerAwayFromCalendar();
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    // Once the start is over, so that no window of it takes the activation.
    ASSERT_NE(WaitUntilStarted(install, program), nullptr);
    HWND calendar = OpenCalendar(program);
    ASSERT_NE(calendar, nullptr);
    auto onTop = [&] { return (GetWindowLongA(calendar, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    auto leftEdge = [&](int inset) {
        const RECT window = WindowRectOf(calendar);
        return ScreenPixel(POINT{window.left + inset, (window.top + window.bottom) / 2});
    };
    // Opened from the tray, the calendar is brought forward: on top in a
    // blue frame until another window takes the activation. Activated again,
    // it stays as it is until a click on it brings it forward once more.
    EXPECT_TRUE(WaitUntil([&] { return ShowsBroughtForward(calendar); }))
        << std::hex << leftEdge(0) << " " << leftEdge(1);
    EXPECT_TRUE(SaveScreenshotOf(calendar, "calendar-brought-forward"));
    const std::vector<HWND> notes = NoteWindows(process);
    ASSERT_FALSE(notes.empty());
    auto activateNote = [&] {
        SetForegroundWindow(notes[0]);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == notes[0]; }));
        EXPECT_TRUE(WaitUntil([&] { return SendWithTimeout(calendar, WM_NULL, 0, 0) && !onTop(); }));
    };
    activateNote();
    SetForegroundWindow(calendar);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == calendar; }));
    ASSERT_TRUE(SendWithTimeout(calendar, WM_NULL, 0, 0));
    EXPECT_TRUE(ShowsNotBroughtForward(calendar));
    RECT client;
    GetClientRect(calendar, &client);
    PostMessageA(calendar, WM_LBUTTONUP, 0, MAKELPARAM(2, client.bottom - 2));
    EXPECT_TRUE(WaitUntil([&] { return ShowsBroughtForward(calendar); }))
        << std::hex << leftEdge(0) << " " << leftEdge(1);
    activateNote();
    SetForegroundWindow(calendar);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == calendar; }));

    // Ctrl+T: on top, with the two-pixel red border.
    PressKeys({VK_CONTROL, 'T'});
    ASSERT_TRUE(WaitUntil(onTop));
    ASSERT_TRUE(SendWithTimeout(calendar, WM_NULL, 0, 0));
    // The border is drawn when the window next paints, which may come after
    // the message that answers here.
    EXPECT_TRUE(WaitUntil([&] { return leftEdge(0) == RGB(255, 0, 0) && leftEdge(1) == RGB(255, 0, 0); }))
        << std::hex << leftEdge(0) << " " << leftEdge(1);
    EXPECT_TRUE(SaveScreenshotOf(calendar, "calendar-stays-on-top"));
    PressKeys({VK_CONTROL, 'T'});
    ASSERT_TRUE(WaitUntil([&] { return !onTop(); }));
    // Ctrl+Shift+T on a calendar not on top: on top, without rolling up.
    PressKeys({VK_CONTROL, VK_SHIFT, 'T'});
    ASSERT_TRUE(WaitUntil(onTop));
    ASSERT_TRUE(SendWithTimeout(calendar, kMsgCalendarSettingsChanged, 0, 0));
    const CalendarFile file(install.File("calendar.QPD"));
    EXPECT_EQ(file.Option(1, "stayOnTop"), "1");
    EXPECT_EQ(file.Option(1, "rollUp"), "0");

    // Ctrl+C: a picture of the whole window on the clipboard.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    PressKeys({VK_CONTROL, 'C'});
    ASSERT_TRUE(WaitUntil([&] { return IsClipboardFormatAvailable(CF_BITMAP) != 0; }));
    ASSERT_TRUE(WaitUntil([&] { return OpenClipboard(nullptr) != 0; }));
    BITMAP picture = {};
    GetObjectA(GetClipboardData(CF_BITMAP), sizeof picture, &picture);
    CloseClipboard();
    const RECT window = WindowRectOf(calendar);
    EXPECT_EQ(picture.bmWidth, window.right - window.left);
    EXPECT_EQ(picture.bmHeight, window.bottom - window.top);

    // The caption: the settings from its right button outside the icon
    // zone (no menu), the menu from inside it.
    ASSERT_TRUE(
        SendWithTimeout(calendar, WM_NCRBUTTONDOWN, HTCAPTION, ScreenPoint(window.right - 30, window.top + 6)));
    HWND settings = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        settings = FindTopWindowTitled("#32770", "Quillnet+ calendar settings", process);
        return settings && IsWindowVisible(settings);
    }));
    EXPECT_TRUE(OpenMenus(process).empty());
    PostMessageA(settings, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(settings); }));
    const LPARAM icon = ScreenPoint(window.left + 6, window.top + 6);
    EXPECT_NE(OpenMenuByMessage(calendar, process, WM_NCRBUTTONDOWN, HTSYSMENU, icon), nullptr);
    ASSERT_TRUE(CloseMenus(process));
    EXPECT_NE(OpenMenuByMessage(calendar, process, WM_NCLBUTTONDOWN, HTSYSMENU, icon), nullptr);
    ASSERT_TRUE(CloseMenus(process));
    // Near the screen's right edge its icon opens no menu.
    const int right = GetSystemMetrics(SM_CXSCREEN) - 20;
    SetWindowPos(calendar, nullptr, right, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Sent: back once the click is handled (a menu would hold it till it closed).
    ASSERT_TRUE(SendWithTimeout(calendar, WM_NCLBUTTONDOWN, HTNOWHERE, ScreenPoint(right + 6, 46)));
    EXPECT_TRUE(OpenMenus(process).empty());
    CloseMenus(process);
    SetWindowPos(calendar, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    // The Applications key opens the menu; Ctrl+W gives the window a border.
    SetForegroundWindow(calendar);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == calendar; }));
    PressKeys({VK_APPS});
    EXPECT_NE(WaitForOpenMenus(process, 1), nullptr);
    ASSERT_TRUE(CloseMenus(process));
    PressKeys({VK_CONTROL, 'W'});
    EXPECT_TRUE(WaitUntil([&] {
        return SendWithTimeout(calendar, kMsgCalendarSettingsChanged, 0, 0) &&
               CalendarFile(install.File("calendar.QPD")).Option(1, "hasBorder") == "1";
    }));

    // F1 without a help file.
    SetForegroundWindow(calendar);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == calendar; }));
    PressKeys({VK_F1});
    ShownMessageBox box = WaitForMessageBox(process, kDriverWaitMs, "");
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.text, "Unable to activate help");
    AnswerMessageBox(box, IDOK);
    CloseProgram(install, program);
}

namespace {
// The colour of the caption at the point, once the calendar has painted.
COLORREF CaptionPixel(HWND calendar, POINT point)
{
    SendWithTimeout(calendar, WM_NULL, 0, 0);
    return ScreenPixel(point);
}
}

TEST(CalendarFrame, TheCaptionTellsWhatItsPartsDoAndItsCloseBoxCloses)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND calendar = OpenCalendar(program);
    ASSERT_NE(calendar, nullptr);
    const RECT window = WindowRectOf(calendar);
    POINT clientTop = {0, 0};
    ClientToScreen(calendar, &clientTop);
    // The spot of the close box, at the caption's right end; the box is 16
    // pixels wide and centred in the caption's height.
    const int frame = GetSystemMetrics(SM_CXSIZEFRAME);
    const POINT spot = {window.right - frame - 8, window.top + (clientTop.y - window.top) / 2};
    const int middle = (window.left + window.right) / 2;
    const char* tips[3] = {"Left click for menu", "Right click for Calendar Settings", "Close calendar"};
    EXPECT_EQ(TipAfterRestAt(program.ProcessId(), POINT{window.left + 6, spot.y}, tips[0]), tips[0]);
    EXPECT_TRUE(SaveScreenshot("calendar-caption-menu-tip"));
    EXPECT_EQ(TipAfterRestAt(program.ProcessId(), POINT{middle, spot.y}, tips[1]), tips[1]);
    EXPECT_TRUE(SaveScreenshot("calendar-caption-settings-tip"));
    // The pointer resting on the spot draws the close box and then shows its
    // tip. The system takes the spot for the close button of the window's
    // system menu, which the calendar does not draw.
    const COLORREF caption = CaptionPixel(calendar, spot);
    EXPECT_EQ(TipAfterRestAt(program.ProcessId(), spot, tips[2]), tips[2]);
    EXPECT_NE(CaptionPixel(calendar, spot), caption) << "the close box is drawn";
    EXPECT_TRUE(SaveScreenshotOf(calendar, "calendar-close-box"));
    ClickAt(spot);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(calendar); }));
    SetCursorPos(0, 0);
    CloseProgram(install, program);
}
