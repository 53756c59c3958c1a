#pragma once

#include <windows.h>

#include <memory>
#include <set>
#include <vector>

#include "globals/CalendarStyle.h"
#include "calendar/ExtraMonthGrid.h"
#include "calendar/MonthGrid.h"

// The calendar's dialog template 742 made by the test program, with its four
// month grids built over it as the calendar window builds them, and a
// stand-in for the program's main window. Both windows record the private
// messages the drawn controls send them.

struct SeenMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    // The date a message pointed to, when it did (day 0 otherwise).
    BYTE day, month;
    WORD year;
    // For the calendar's raise: a request to open the Note Manager was
    // already waiting in the main window's queue.
    bool noteManagerQueued;
};

// Answers the alarm-day question for the dates it is given (yyyymmdd).
class MainWindowStandIn {
public:
    MainWindowStandIn();
    ~MainWindowStandIn();
    MainWindowStandIn(const MainWindowStandIn&) = delete;
    MainWindowStandIn& operator=(const MainWindowStandIn&) = delete;

    HWND Window() const { return m_window; }
    void SetAlarmDays(std::set<LPARAM> days) { m_alarmDays = std::move(days); }
    std::vector<SeenMessage> Seen(UINT message) const;
    void Forget() { m_seen.clear(); }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    std::set<LPARAM> m_alarmDays;
    std::vector<SeenMessage> m_seen;
};

class CalendarDialog {
public:
    // Colour the dialog paints behind its transparent controls.
    static constexpr COLORREF kBackground = RGB(200, 230, 200);

    CalendarDialog(const CCalendarStyle& style, const MainWindowStandIn& main);
    ~CalendarDialog();
    CalendarDialog(const CalendarDialog&) = delete;
    CalendarDialog& operator=(const CalendarDialog&) = delete;

    HWND Window() const { return m_window; }
    HWND Item(int id) const { return GetDlgItem(m_window, id); }
    CMonthGrid& Main() { return *m_main; }
    CExtraMonthGrid& Second() { return *m_second; }

    // Shows the month in the first grid: names, days, fitted to the grid's
    // font, laid out and painted. The second grid shows the month after it,
    // to the right.
    void ShowMonth(BYTE month, WORD year, bool sundayFirst, bool showOtherDays);
    // The first grid's cell of the day of its own month.
    CDayButton& CellOfDay(int day);
    void Repaint();

    std::vector<SeenMessage> Seen(UINT message) const;
    void Forget() { m_seen.clear(); }

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    const CCalendarStyle& m_style;
    HWND m_mainStandIn;
    std::unique_ptr<CMonthGrid> m_main;
    std::unique_ptr<CExtraMonthGrid> m_second;
    std::unique_ptr<CExtraMonthGrid> m_third;
    std::unique_ptr<CExtraMonthGrid> m_fourth;
    std::vector<SeenMessage> m_seen;
};

// The calendar look of the tests: Tahoma at the size, Monday first, March
// 2026, other months' days and grid lines shown, alarm days shaded, every
// part transparent over the dialog's own background.
CCalendarStyle TestCalendarStyle(int points);

// While alive, the test thread's keyboard state holds the key down.
class HeldKey {
public:
    explicit HeldKey(BYTE key);
    ~HeldKey();
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;

private:
    BYTE m_key;
};
