#pragma once

#include <windows.h>

// The Alarm page's date picker shows its date as "ddd, MMM dd, yyyy". A date
// picker that cannot show "MMM" as the system writes it (Wine's spells out
// the month's whole name and a stray ".3s") is given the month's abbreviation
// as a quoted literal instead, fitted again to every date the control holds.

// The format "ddd, MMM dd, yyyy" on a new control.
void SetAlarmDateFormat(HWND picker);
// The date into the control, with the format fitted to the date it holds.
void ShowAlarmDate(HWND picker, const SYSTEMTIME& date);
// The format fitted to the date the control holds (after DTN_DATETIMECHANGE).
void FitAlarmDateFormat(HWND picker);
