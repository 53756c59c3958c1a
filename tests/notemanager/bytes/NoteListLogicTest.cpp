// The Note Manager's list rules that need no window: the smart date chain,
// the cell texts around a match, the row order, the selection's status text
// and the id of a new group.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "notemanager/bytes/NoteListLogic.h"

TEST(SmartDateChain, TakesAFormThatFitsOrReachesHalfWayToTheNextOne)
{
    // Widths of forms 1 to 8 (5 and 7 are never chosen); the column keeps a
    // 12-pixel margin.
    const int widths[9] = {0, 200, 180, 140, 120, 90, 100, 60, 70};
    const struct {
        int avail;
        int level;
    } cases[] = {
        {200, 1}, {190, 1},  // fits; reaches (200 + 180) / 2
        {189, 2}, {160, 2},  // (180 + 140) / 2
        {159, 3}, {130, 3},  // (140 + 120) / 2
        {129, 4}, {110, 4},  // (120 + 100) / 2
        {109, 6}, {85, 6},   // (100 + 70) / 2
        {84, 8},  {0, 8},    // a narrow column: the short date alone
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseDateFormatLevel(widths, c.avail + 12), c.level) << "room for " << c.avail;
}

TEST(SmartDateChain, PicturesAreShortenedOutsideQuotes)
{
    EXPECT_EQ(ShortenDatePicture("dddd, MMMM dd, yyyy", true, true, false), "ddd, MMM dd, yyyy");
    EXPECT_EQ(ShortenDatePicture("dddd, MMMM dd, yyyy", true, true, true), "ddd, MMM dd, yy");
    EXPECT_EQ(ShortenDatePicture("M/d/yyyy", false, false, true), "M/d/yy");
    EXPECT_EQ(ShortenDatePicture("dddd 'dddd' d. MMMM yyyy", true, false, false), "ddd 'dddd' d. MMMM yyyy");
    EXPECT_EQ(ShortenDatePicture("yy-MM-dd", true, true, true), "yy-MM-dd");
}

TEST(NoteListCells, StartTenCharactersBeforeALateMatchAndCleanTheText)
{
    const std::string text = std::string(30, 'a') + "abc" + " rest";
    EXPECT_EQ(ListCellText(text, 30, 21), text.substr(20));
    EXPECT_EQ(ListCellText(text, 20, 21), text);  // an early match: from the start
    EXPECT_EQ(ListCellText(text, -1, 21), text);  // no match
    // A title of 40 characters, found at 15: from 5.
    const std::string title = std::string(15, 't') + std::string(25, 'u');
    EXPECT_EQ(ListCellText(title, 15, 15), title.substr(5));
    // A match past the present text (the note changed since) is not used.
    EXPECT_EQ(ListCellText("short", 300, 21), "short");
    EXPECT_EQ(ListCellText("one\r\ntwo\vthree\xA8\xFE!", -1, 21), "one  two three!");
    EXPECT_EQ(ListCellText(std::string(400, 'z'), -1, 21).size(), 254u);
    // A cell that starts early and a match before the tenth character: from the start.
    EXPECT_EQ(ListCellText(title, 4, 3), title);
    EXPECT_EQ(ListCellText(title, 0, 0), title);
    EXPECT_EQ(ListCellText(title, 10, 5), title);
    EXPECT_EQ(ListCellText(title, 11, 5), title.substr(1));
}

TEST(NoteListOrder, ComparesEachColumnByItsKey)
{
    NoteSortFacts none, early, late;
    early.alarmSet = late.alarmSet = true;
    early.alarm = 20270314080000ull;
    late.alarm = 20270314100000ull;
    EXPECT_LT(CompareNoteSortFacts(kColumnAlarm, none, early), 0);  // no alarm first
    EXPECT_LT(CompareNoteSortFacts(kColumnAlarm, early, late), 0);
    EXPECT_EQ(CompareNoteSortFacts(kColumnAlarm, none, NoteSortFacts()), 0);
    EXPECT_EQ(CompareNoteSortFacts(kColumnAlarm, late, late), 0);

    NoteSortFacts locked, marked;
    locked.locked = true;
    marked.alarmSet = marked.sendMarked = marked.associated = true;  // 4 + 2 + 1 < 8
    EXPECT_GT(CompareNoteSortFacts(kColumnIcons, locked, marked), 0);
    EXPECT_LT(CompareNoteSortFacts(kColumnIcons, NoteSortFacts(), marked), 0);

    NoteSortFacts a, b;
    a.title = "apple";
    b.title = "Banana";
    a.owner = "ZED";
    b.owner = "adam";
    a.created = 20260101000000ull;
    b.created = 20250101000000ull;
    a.size = 9;
    b.size = 10;
    EXPECT_LT(CompareNoteSortFacts(kColumnTitle, a, b), 0);  // case does not count
    EXPECT_GT(CompareNoteSortFacts(kColumnOwner, a, b), 0);
    EXPECT_GT(CompareNoteSortFacts(kColumnCreated, a, b), 0);
    EXPECT_LT(CompareNoteSortFacts(kColumnSize, a, b), 0);  // by number, not by text
    EXPECT_EQ(CompareCellTexts("Same TEXT", "same text"), 0);
    EXPECT_EQ(CompareCellTexts(std::string(255, 'a') + "x", std::string(255, 'a') + "y"), 0);
}

TEST(SelectionStatus, DescribesHiddenParkedAndVisibleNotes)
{
    const struct {
        int count, hidden, parked;
        const char* text;
        bool hide;
    } cases[] = {
        {3, 0, 0, "3 notes are selected, all are visible on the desktop", true},
        {3, 0, 1, "3 notes are selected, 1 is parked, 2 are visible on the desktop", true},
        {2, 0, 2, "2 notes are selected, all are parked", false},
        {2, 1, 1, "2 notes are selected, 1 is hidden, 1 is parked", false},
        {4, 1, 2, "4 notes are selected, 1 is hidden, 2 are parked, 1 is visible on the desktop", false},
        {3, 2, 0, "3 notes are selected, 2 are hidden, 1 is visible on the desktop ", true},
        {2, 2, 0, "2 notes are selected, all are hidden", false},
    };
    for (const auto& c : cases) {
        const SelectionDescription d = DescribeSelectionText(c.count, c.hidden, c.parked, false);
        EXPECT_EQ(d.text, c.text);
        EXPECT_EQ(d.hideEnabled, c.hide) << c.text;
    }
    EXPECT_EQ(DescribeSelectionText(5, 1, 1, true).text, "5 notes are selected, all are deleted");
}
