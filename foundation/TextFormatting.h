#pragma once

#include <windows.h>

#include "foundation/DateTime.h"
#include "foundation/GenericString.h"

// Texts built for display: dates by the user's date format, the captions of
// received notes, hotkey combinations and font descriptions. The date and caption
// formats follow FormatSettings() (foundation/FormatSettings.h).

// The text escaped for a URL query (see UrlEncodedText).
void UrlEncode(CGenericString& string, const char* text);

// The date by the date format: 1 "[weekday ]<month>  d, yyyy" (or " d," without the
// year), 2 and 3 the locale's short and long date, other formats no date; unless
// noTime, a blank and the time text follow.
void FormatDateText(const CDateTime& date, bool noTime, CGenericString& string, bool withWeekday, bool noYear);

// The caption of a received note: the title, "From " the sender and/or " on " the
// sender's computer as the settings say, and with the date flag " - " and the date.
void FormatFromSenderCaption(const CDateTime& date, bool withDate, CGenericString& string, const char* title,
                             const char* sender, const char* secondName, const char* qualifier);

// " Ctrl+Alt+Shift+<key>" for the modifiers that are set; the key's name comes from
// HotkeyKeyTable. Without modifiers: " +<key>".
void HotkeyToText(CGenericString& string, bool ctrl, bool alt, bool shift, UINT virtualKey);

// "<face>, <points>, <style>", style "Regular", "Italic", "Bold" or "Bold Italic".
void DescribeFont(const LOGFONTA& font, char* text, size_t size, int pixelsPerInch);
void DescribeFont(const LOGFONTA& font, CGenericString& string, int pixelsPerInch);
