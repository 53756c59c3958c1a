#include "calendar/CalendarSettings.h"

#include "globals/ProgramGlobals.h"

namespace {
CCalendarStyle* g_currentOptions = nullptr;
CCalendarStyleSet* g_currentStyles = nullptr;

// The current user's record of the list; else the standard one, made the
// user's, is appended for the user.
template <class Record, class Standard>
Record& UsersRecord(CRecordList<Record>& list, Standard makeStandard)
{
    const DWORD user = UserSettings().userId;
    for (auto* node = list.GetFirst(); node; node = node->next)
        if (node->record.userID == user)
            return node->record;
    return list.AddToTail(makeStandard(user))->record;
}
}

CCalendarStyle& CurrentCalendarOptions()
{
    if (!g_currentOptions)
        g_currentOptions = &UsersRecord(CalendarSettingsList(), [](DWORD user) {
            CCalendarStyle standard = StandardCalendarOptions();
            standard.key = static_cast<LONG>(user);
            standard.userID = user;
            return standard;
        });
    return *g_currentOptions;
}

CCalendarStyleSet& CurrentCalendarStyleSet()
{
    if (!g_currentStyles)
        g_currentStyles = &UsersRecord(CalendarStyleSetList(), &StandardCalendarStyleSet);
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
