#pragma once

#include <cstddef>

#include "foundation/DateTime.h"

enum { kMenuTitleSize = 26, kNoteMenuLabelSize = 50 };

// The start of a note's text as a one-line menu entry: leading blanks and line
// ends skipped, at most min(limit, 24) + 1 characters, line ends and tabs as
// blanks. The buffer (26 bytes) is empty for a blank text.
void MakeMenuTitle(const char* text, char (&buffer)[kMenuTitleSize], int limit);
// A note's line in the menus: its text, " - " and its date by the user's date
// format; only the date when the text is blank or the date is long.
void MakeNoteMenuLabel(const CDateTime& when, char (&label)[kNoteMenuLabelSize], const char* text);
// Day, month, year, hour, minute and second all 0.
bool IsDateTimeEmpty(const CDateTime& when);
