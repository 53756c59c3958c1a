#pragma once

// The lists of the two "Remind again every:" menus: standard durations from
// short to long, in which a note's own recurrence is either one of the
// standard items or an extra item at its place in the order. The note's menu
// lists twelve durations; the password prompt's lists ten, the note's without
// "30 minutes" and "7 hours".

// Units of an alarm's recurrence.
const int kUnitMinutes = 1;
const int kUnitHours = 2;
const int kUnitDays = 3;
const int kUnitWeeks = 4;
const int kUnitMonths = 5;
const int kUnitWeekdays = 6;

struct SnoozePair {
    int value = -1;  // -1 with unit -1: no item
    int unit = -1;
};

const int kSnoozeTableSize = 13;
const int kNoteSnoozeStandardCount = 12;
const int kPromptSnoozeStandardCount = 10;

// A menu's choices: the pair of each item in menu order, then empty pairs,
// and the position of the current item.
struct SnoozeTable {
    SnoozePair pairs[kSnoozeTableSize];
    int current = 0;
};

enum class SnoozeMenuKind { kNote, kPrompt };

struct SnoozeLayout {
    bool known = true;  // false: a unit no list holds; the menu stays as it was loaded
    SnoozeTable table;
    int count = 0;  // items in the list, the extra one included
    // Per item: the index of its standard text (the twelve texts in the note
    // menu's order), or -1 for the extra item's own text.
    int textIndex[kSnoozeTableSize] = {};
    bool extraItem = false;     // the list is one longer than the standard one
    bool singularText = false;  // the extra item reads "1 minute"
};

// The standard list with the item at that position current.
SnoozeLayout StandardSnoozeLayout(SnoozeMenuKind kind, int current);

// The list for a recurrence of value in unit (neither 0: the caller makes a
// value of 0 1, and a unit of 0 days). The recurrence is the current item.
SnoozeLayout LayOutSnoozeChoices(SnoozeMenuKind kind, int unit, int value);
