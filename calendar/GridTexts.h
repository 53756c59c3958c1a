#pragma once

#include <windows.h>

// The texts of a month grid and their sizes in the grid's fonts: weekday
// names from the locale, month titles in the locale's year-month form, and
// the day numbers. A text in an italic font is measured by its ink.

// Weekday names of one letter below 8 points, two at 8, the locale's whole
// abbreviation above; the narrower the names, the more room between cells.
void PickWeekdayNameLength(int points, BYTE* length, BYTE* spacing);
// The locale's abbreviated name of the weekday in the column (0-6; Sunday or
// Monday first), shortened to the length (1, 2, or 3 for the whole name).
void GetWeekdayName(int column, bool sundayFirst, int length, char* name, int size);
// "March 2026": day 1 of the month in the locale's year-month form, commas
// removed, or "MMMM yyyy" when the locale has none.
void FormatMonthTitle(int month, int year, char* text, int size);

// The text's size in the DC's font (which is the font given).
SIZE MeasureGridText(HDC dc, HFONT font, const char* text);
// The same on a DC of its own.
SIZE MeasureGridTextInFont(HFONT font, const char* text);
// "%2d" of the day in a copy of the font, bold and underlined as asked.
SIZE MeasureDayNumber(int day, HFONT font, bool bold, bool underline);

// What text fitting measures in a grid's font for a year.
struct GridTextSizes {
    BYTE nameLength;
    BYTE spacing;
    int dayWidth, dayHeight;  // the widest and highest day number
    SIZE weekdays[7];         // by column, in the font one point smaller
    int weekdayWidth, weekdayHeight;
    SIZE titles[12];  // by month
    int titleWidth, titleHeight;
};
void MeasureGridTexts(const LOGFONTA& font, bool sundayFirst, int year, GridTextSizes* sizes);

// The grid's point size: MulDiv(-height, 72, the screen's pixels per inch).
int GridFontPoints(const LOGFONTA& font);
