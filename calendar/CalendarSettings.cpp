#include "calendar/CalendarSettings.h"

#include "shell/ProgramGlobals.h"

namespace {
CCalendarStyle* g_currentOptions = nullptr;
CCalendarStyleSet* g_currentStyles = nullptr;

DWORD CurrentUserId()
{
    return UserSettings().userId;
}
}

CCalendarStyle& CurrentCalendarOptions()
{
    if (g_currentOptions)
        return *g_currentOptions;
    const DWORD user = CurrentUserId();
    for (auto* node = CalendarSettingsList().GetFirst(); node; node = node->next) {
        if (node->record.userID == user) {
            g_currentOptions = &node->record;
            return *g_currentOptions;
        }
    }
    CCalendarStyle standard = StandardCalendarOptions();
    standard.key = static_cast<LONG>(user);
    standard.userID = user;
    g_currentOptions = &AppendCalendarOptions(standard);
    return *g_currentOptions;
}

CCalendarStyleSet& CurrentCalendarStyleSet()
{
    if (g_currentStyles)
        return *g_currentStyles;
    const DWORD user = CurrentUserId();
    for (auto* node = CalendarStyleSetList().GetFirst(); node; node = node->next) {
        if (node->record.userID == user) {
            g_currentStyles = &node->record;
            return *g_currentStyles;
        }
    }
    g_currentStyles = &AppendCalendarStyleSet(StandardCalendarStyleSet(user));
    return *g_currentStyles;
}

CCalendarStyle& AppendCalendarOptions(const CCalendarStyle& record)
{
    return CalendarSettingsList().AddToTail(record)->record;
}

CCalendarStyleSet& AppendCalendarStyleSet(const CCalendarStyleSet& set)
{
    return CalendarStyleSetList().AddToTail(set)->record;
}

void SetCurrentCalendarOptions(CCalendarStyle& record)
{
    g_currentOptions = &record;
}

void SetCurrentCalendarStyleSet(CCalendarStyleSet& set)
{
    g_currentStyles = &set;
}

void RemoveAllCalendarOptions()
{
    g_currentOptions = nullptr;
    CalendarSettingsList().RemoveAll();
}

void RemoveAllCalendarStyleSets()
{
    g_currentStyles = nullptr;
    CalendarStyleSetList().RemoveAll();
}

CCalendarStyleSet StandardCalendarStyleSet(DWORD userId)
{
    CCalendarStyleSet set;
    const CCalendarStyle(&standard)[9] = StandardCalendarStyles();
    for (int index = 0; index < 9; ++index) {
        set.styles[index] = standard[index];
        set.styles[index].key = index;
        set.styles[index].userID = userId;
    }
    set.key = static_cast<LONG>(userId);
    set.userID = userId;
    return set;
}
