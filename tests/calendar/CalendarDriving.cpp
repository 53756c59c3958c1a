#include "CalendarDriving.h"

#include <vector>

#include "resources/ids/CalendarIds.h"
#include "resources/ids/TrayMenuIds.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"
#include "support/TempFolder.h"
#include "xmlfiles/bytes/XmlBufferDocument.h"

namespace {
const COLORREF kBroughtForwardFrame = RGB(0, 0, 0xE1);

bool IsOnTop(HWND window)
{
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

COLORREF LeftEdgePixel(HWND calendar, int inset)
{
    RECT window{};
    GetWindowRect(calendar, &window);
    return ScreenPixel(POINT{window.left + inset, (window.top + window.bottom) / 2});
}

struct CalendarSearch {
    DWORD processId;
    std::string title;
    int count;
    HWND found;
};

BOOL CALLBACK MatchCalendar(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<CalendarSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && WindowClassOf(window) == "#32770" && ReadWindowText(window) == search->title &&
        GetDlgItem(window, 1166)) {
        ++search->count;
        search->found = window;
    }
    return TRUE;
}

CalendarSearch SearchCalendars(DWORD processId)
{
    CalendarSearch search{processId, TodayLongDate(), 0, nullptr};
    EnumWindows(&MatchCalendar, reinterpret_cast<LPARAM>(&search));
    return search;
}

// The document parsed from the text, which it keeps.
struct ParsedFile {
    explicit ParsedFile(const std::string& text) : bytes(text)
    {
        document.SetBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), "calendar.QPD");
        parsed = document.Parse() == 1;
    }
    std::string bytes;
    CXMLBufferDocument document;
    bool parsed = false;
};
}

void MovePointerAwayFromCalendar()
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 5, GetSystemMetrics(SM_CYSCREEN) - 5);
}

HWND WaitUntilStarted(const ProgramInstall& install, const RunningProgram& program)
{
    HWND main = program.WaitForWindow("MainWindowClassName6");
    if (!main || !WaitUntil([&] { return PortAcceptsConnections(install.ListenPort()); }) ||
        !SendWithTimeout(main, WM_NULL, 0, 0))
        return nullptr;
    return main;
}

HWND OpenCalendar(const RunningProgram& program)
{
    HWND main = WaitForMainWindow(program);
    if (!main || !SendWithTimeout(main, WM_COMMAND, ID_TRAY_CALENDAR, 0))
        return nullptr;
    return WaitForCalendar(program.ProcessId());
}

std::string FirstCalendarFile(const ProgramInstall& install)
{
    RunningProgram program(install, "");
    HWND calendar = OpenCalendar(program);
    if (calendar)
        SendWithTimeout(calendar, WM_CLOSE, 0, 0);
    CloseProgram(install, program);
    return CalendarFile(install.File("calendar.QPD")).Option(1, "userID");
}

void OpenAtNextStartWith(const ProgramInstall& install,
                         std::initializer_list<std::pair<const char*, const char*>> values)
{
    std::string text = ReadWholeFile(install.File("calendar.QPD"));
    text = WithElement(text, "visible", "1");
    for (const auto& value : values)
        text = WithElement(text, value.first, value.second);
    WriteWholeFile(install.File("calendar.QPD"), text);
}

SYSTEMTIME FirstOfNextMonth()
{
    SYSTEMTIME day;
    GetLocalTime(&day);
    day.wDay = 1;
    day.wMonth = day.wMonth == 12 ? 1 : day.wMonth + 1;
    if (day.wMonth == 1)
        ++day.wYear;
    // The round trip fills in the day of the week.
    FILETIME time;
    SystemTimeToFileTime(&day, &time);
    FileTimeToSystemTime(&time, &day);
    return day;
}

HWND NextMonthDayCell(HWND calendar, int day, int firstDayOfWeek)
{
    const int weekday = FirstOfNextMonth().wDayOfWeek;  // 0 = Sunday
    const int column = firstDayOfWeek == 6 ? weekday : (weekday + 6) % 7;
    return GetDlgItem(calendar, IDC_CAL_DAY + column + day - 1);
}

bool ShowsAlarmShade(HWND cell)
{
    // The standard calendar shades the days that hold alarm notes in this colour.
    const COLORREF kAlarmShade = 0xFFDAB9;
    RECT rect;
    GetWindowRect(cell, &rect);
    int shaded = 0;
    for (COLORREF pixel : ScreenPixels(rect))
        shaded += pixel == kAlarmShade ? 1 : 0;
    return shaded > 20;
}

bool ShowsBroughtForward(HWND calendar)
{
    return IsOnTop(calendar) && LeftEdgePixel(calendar, 0) == kBroughtForwardFrame &&
           LeftEdgePixel(calendar, 1) == kBroughtForwardFrame;
}

bool ShowsNotBroughtForward(HWND calendar)
{
    return !IsOnTop(calendar) && LeftEdgePixel(calendar, 0) != kBroughtForwardFrame &&
           LeftEdgePixel(calendar, 1) != kBroughtForwardFrame;
}

std::string TodayLongDate()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[128] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &now, nullptr, text, sizeof text);
    return text;
}

HWND WaitForCalendar(DWORD processId)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = SearchCalendars(processId).found) != nullptr; });
    return found;
}

int CountCalendars(DWORD processId)
{
    return SearchCalendars(processId).count;
}

std::string MonthTitle(HWND calendar, int titleId)
{
    return ReadWindowText(GetDlgItem(calendar, titleId));
}

bool ItemInsideClient(HWND calendar, int id)
{
    RECT client;
    GetClientRect(calendar, &client);
    RECT item;
    GetWindowRect(GetDlgItem(calendar, id), &item);
    MapWindowPoints(nullptr, calendar, reinterpret_cast<POINT*>(&item), 2);
    return item.left >= 0 && item.top >= 0 && item.right <= client.right && item.bottom <= client.bottom;
}

CalendarFile::CalendarFile(const std::string& path) : m_text(ReadWholeFile(path))
{
    ParsedFile file(m_text);
    m_readable = file.parsed;
    if (!m_readable)
        return;
    char error[256];
    m_options = file.document.CountElements("content", "options", error, sizeof error);
    m_styleSets = file.document.CountElements("content", "styles", error, sizeof error);
}

std::string CalendarFile::Option(int k, const char* key) const
{
    ParsedFile file(m_text);
    char value[512] = "";
    char error[256];
    if (!file.parsed || file.document.GetValue("content", "options", k, key, value, sizeof value, error, sizeof error) != 1)
        return "(missing)";
    return value;
}

std::string CalendarFile::Style(int k, int index, const char* key) const
{
    ParsedFile file(m_text);
    char value[512] = "";
    char error[256];
    CXMLBufferDocument& document = file.document;
    if (!file.parsed || !document.GotoChildOfCurrentParent("styles", k, error, sizeof error) ||
        !document.SetCurrentChildAsParent(error, sizeof error) ||
        !document.GotoChildOfCurrentParent("style", index + 1, error, sizeof error) ||
        document.GetValueOfCurrentChild(key, value, sizeof value, error, sizeof error) != 1)
        return "(missing)";
    return value;
}

std::string WithElement(const std::string& text, const char* key, const std::string& value, int k)
{
    const std::string open = std::string("<") + key + ">";
    const std::string close = std::string("</") + key + ">";
    size_t start = 0;
    for (int found = 0; found < k; ++found) {
        start = text.find(open, found ? start + 1 : 0);
        if (start == std::string::npos)
            return text;
    }
    const size_t end = text.find(close, start);
    if (end == std::string::npos)
        return text;
    return text.substr(0, start + open.size()) + value + text.substr(end);
}
