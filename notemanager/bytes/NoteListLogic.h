#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the Note Manager's list decides without a window: the smart date form
// that fits a column, the cell texts around a search match, the sort order of
// two rows, the status text of a selection and the id of a new group.

// The eight date forms, measured in pixels (index 1 to 8; index 0 unused).
// The form whose text fits the column (width less a 12-pixel margin), walking
// 1, 2, 3, 4, 6, 8: a form is taken when it fits, or when the column reaches
// half-way between it and the next one; 8 when nothing earlier does.
int ChooseDateFormatLevel(const int (&widths)[9], int columnWidth);

// A date picture with "dddd" made "ddd", "MMMM" made "MMM" and "yyyy" made
// "yy" as asked; quoted text is left alone.
std::string ShortenDatePicture(const std::string& picture, bool days, bool months, bool years);

// The cell text of a note's title or text: from 10 characters before the
// search match when the match stands at `from` or later (and inside the
// text); line breaks and vertical tabs become blanks, the characters 0xA8
// and 0xFE go; at most 254 characters.
std::string ListCellText(const std::string& text, int match, int from);

// The facts a row sorts by.
struct NoteSortFacts {
    bool locked = false;
    bool alarmSet = false;
    bool sendMarked = false;  // send at alarm time, or a send state
    bool associated = false;
    std::string title;
    uint64_t alarm = 0;    // yyyymmddhhmmss
    uint64_t created = 0;  // yyyymmddhhmmss
    std::string owner;
    uint32_t size = 0;
};
enum NoteListColumn { kColumnIcons, kColumnTitle, kColumnText, kColumnAlarm, kColumnCreated, kColumnGroup,
                      kColumnOwner, kColumnSize };
// Below 0 when a sorts before b in ascending order, 0 when equal. Texts
// compare without regard to case.
int CompareNoteSortFacts(int column, const NoteSortFacts& a, const NoteSortFacts& b);
// Case-insensitive order of two cell texts (each cut to 255 characters).
int CompareCellTexts(const std::string& a, const std::string& b);

// The status text of several selected notes and whether "&Hide notes" may be
// used for them.
struct SelectionDescription {
    std::string text;
    bool hideEnabled = true;
};
SelectionDescription DescribeSelectionText(int count, int hidden, int parked, bool deletedView);
