#pragma once

#include <string>

// The tray icon's tooltip texts.

struct NoteStateCounts {
    int total = 0;
    int hidden = 0;
    int parked = 0;  // not hidden but parked
};

// The count of the user's notes by state, with the hint for the mouse:
// on two lines where the system shows two-line tips, else one short line
// that stays below 64 characters when it can.
std::string TrayNoteCountTip(const NoteStateCounts& counts, bool twoLineTips);

// "You have received a note from " and as much of the sender as fits in a
// 128-character tip.
std::string TrayReceivedTip(const std::string& firstName, const std::string& secondName);
