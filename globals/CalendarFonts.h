#pragma once

#include <windows.h>

#include "foundation/win/GdiCaches.h"
#include "foundation/win/GdiObjects.h"

// The small font and text-measuring operations of the calendar. Point sizes
// are those of the screen (its logical pixels per inch).

// The source font at the point size, from the program's font cache.
void MakeCalendarFont(CFontEntry* entry, const LOGFONTA& source, int points);
// The source font one point smaller, from the cache; a font under 8 points
// stays as it is, so that the calendar's small fonts never go below 7.
void MakeSmallerCalendarFont(CFontEntry* entry, const LOGFONTA& source);
// The font becomes the source one point larger (up, from 6 points) or smaller
// (from 7 points); true when the size stayed as it was. The font is the
// caller's, deleted with it.
bool AdjustFontSize(CGdiFont& font, const LOGFONTA& source, bool up);
// The width of the text's visible ink in the font: one more than the
// rightmost column that drawing it leaves not white (0 when it leaves none),
// and the font's height. An italic text's ink may reach past its extent or
// stop short of it. An empty text gives its extent's width.
void MeasureTextInkWidth(int* width, int* height, HFONT font, const char* text);
