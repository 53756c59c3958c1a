#pragma once

#include "globals/CalendarStyle.h"

// The current user's calendar options and nine calendar styles: records of
// the program's two calendar lists. Callers ask for them each time and keep
// no pointer, since a reload after a restore replaces the lists.

// The current options record. Until the settings file has chosen one, the
// user's record of the list is taken, or a copy of the standard options
// record is appended for the user: there always is one.
CCalendarStyle& CurrentCalendarOptions();
// The same for the user's nine styles, a set of the standard styles when the
// user has none.
CCalendarStyleSet& CurrentCalendarStyleSet();

// A copy put at the end of the list; the copy is returned.
CCalendarStyle& AppendCalendarOptions(const CCalendarStyle& record);
CCalendarStyleSet& AppendCalendarStyleSet(const CCalendarStyleSet& set);
// The record or set (one of the list's) becomes the current one.
void SetCurrentCalendarOptions(CCalendarStyle& record);
void SetCurrentCalendarStyleSet(CCalendarStyleSet& set);
// Empty the lists; the current record or set goes with them.
void RemoveAllCalendarOptions();
void RemoveAllCalendarStyleSets();

// The nine standard styles as a set of the user: each keyed by its place.
CCalendarStyleSet StandardCalendarStyleSet(DWORD userId);
