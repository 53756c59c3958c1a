#pragma once

#include <windows.h>
#include <richedit.h>

// Conversions between the rich-edit character format (sizes in twips) and LOGFONT
// (heights in pixels of the screen's vertical resolution).

// The screen's vertical logical pixels per inch (96 when the screen cannot say).
int ScreenPixelsPerInch();

// Face cut to 31 characters; "Arial" when no installed font has the face.
void MakeLogFont(LOGFONTA* font, LONG height, LONG weight, BYTE pitchAndFamily, const char* face);
void CharFormatToLogFont(LOGFONTA* font, const CHARFORMATA& format);
// With a window, the control's default format is read first.
void LogFontToCharFormat(HWND window, CHARFORMATA* format, const LOGFONTA& font);
// The size cut to whole half points, as the rich text a control writes keeps
// it (\fs counts half points): text given this size shows the same once it
// has been stored and read back.
LONG InWholeHalfPoints(LONG twips);
void SetCharFormatColor(CHARFORMATA* format, COLORREF color);
