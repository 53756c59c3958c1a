#pragma once

#include <windows.h>

#include "foundation/RecordList.h"

// The Note Manager's view of one user: filters, sort, window placement, drawing
// options and the eight columns of its note list.

struct CNoteManagerColumn {
    DWORD displayed;
    BYTE position;  // place in the display order, 0 to 7
    BYTE id;        // column id 0 to 7
    DWORD width;    // pixels
    char title[25];
};

enum { kNoteManagerColumnCount = 8, kNoteManagerTextSize = 102 };

// The groups that serve as filter entries and hold no hotkey.
enum NoteGroupId : DWORD { kGroupAll = 0, kGroupDeleted = 1, kGroupNone = 2 };

struct CNoteManagerOptions {
    BYTE stateFilter;        // 1 desktop, 2 hidden, 3 all
    BYTE alarmsFilter;       // 1 with alarms, 2 recurring, 3 without, 4 all
    BYTE associationFilter;  // 1 associated, 2 not, 3 all
    BYTE protectionFilter;   // 1 protected, 2 not, 3 all
    BYTE styleFilter;        // 0 all, 1 to 9 a style
    BYTE groupFilter;        // a group id
    char containingText[kNoteManagerTextSize];
    CNoteManagerColumn columns[kNoteManagerColumnCount];  // by column id
    BYTE sortColumn;
    BYTE sortOrder;  // 0 ascending, 1 descending
    WORD dialogWidth, dialogHeight;
    LONG dialogXLeft, dialogYLeft;
    DWORD dialogMaximized;
    DWORD paintTTBackColors;
    DWORD paintHiddenBackgnd;
    DWORD paintParkedBackgnd;
    COLORREF paintHiddenBackColor;
    COLORREF paintParkedBackColor;
    DWORD boldTitleText;
    DWORD saveFilterCriteria;
    DWORD stayOnTop;
    DWORD adaptiveDateTime;
    LONG recordKey;  // -1 in a fresh record, the user id in a stored one
    DWORD userID;
};

// The standard values: every filter off, sorted by title, the standard columns
// (Icons, Title, Text, Alarm, Created, Group shown; Owner and Size hidden).
void SetNoteManagerDefaults(CNoteManagerOptions& options);

// A note group of the Note Manager, with its optional system-wide hotkey.
struct CNoteGroup {
    DWORD id;
    char name[51];
    char editable[2];  // "0" for the three filter groups, "1" for the others
    DWORD hotkey_ifAllow;
    DWORD hotkey_ctrl, hotkey_alt, hotkey_shift;
    DWORD hotkey_key;
};

// A note's membership of a group.
struct CGroupNotePair {
    DWORD id;
    DWORD groupID;
    DWORD noteID;
};

inline long RecordId(const CNoteGroup& group) { return static_cast<long>(group.id); }

// A group's hotkey id is 28 + its id, and the hotkeys end at 128.
enum { kLargestGroupId = 100, kFirstUserGroupId = 3 };
// The id of a new group: the largest + 1 while that is at most 100, else the
// lowest free id from 3; -1 when every id is taken.
long NextNewGroupId(const CRecordList<CNoteGroup>& groups);
inline const char* RecordName(const CNoteGroup& group) { return group.name; }
inline long RecordId(const CGroupNotePair& pair) { return static_cast<long>(pair.id); }
