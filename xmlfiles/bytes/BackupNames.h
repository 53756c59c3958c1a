#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The dated names of backup files ("202603050905.QPK": year, month, day, hour
// and minute) and of the marker of an undo copy ("202603050905.txt"), and the
// decisions made on those dates: whether a backup is due, which backups have
// expired. Dates are compared to the minute.

struct BackupStamp {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
};

// The length of a backup or marker name: 12 digits, a dot and 3 letters.
const std::size_t kBackupNameLength = 16;

// True when the first 12 characters of the name are digits that form a date:
// year 2000 or later, month 1-12, day 1-31, hour 0-24, minute 0-59.
bool ParseBackupFileName(BackupStamp& stamp, const char* name);
// A name of exactly 16 characters whose date parses.
bool IsBackupFileName(const char* name);
// "yyyymmddhhmm" followed by the extension (".QPK" or ".txt").
std::string BackupFileName(const BackupStamp& stamp, const char* extension);

// Minutes from a fixed day long ago; an hour of 24 or a day past the month's
// end count on into the next day, as the calendar would.
long long StampMinutes(const BackupStamp& stamp);
// Now is later than the stamp plus the minutes.
bool IsLaterThan(const BackupStamp& now, const BackupStamp& stamp, long long minutes);

// A new backup is due when now is later than the newest backup plus one day.
bool IsBackupDue(const BackupStamp& newest, const BackupStamp& now);

// The backups to delete, as positions in the list (oldest first): every one
// older than the retention days, except, with monthly keep, the first expired
// backup of each month and year met.
std::vector<std::size_t> ChooseExpiredBackups(const std::vector<BackupStamp>& oldestFirst, const BackupStamp& now,
                                              int retentionDays, bool monthlyKeep);

// The text of the marker file an undo copy is dated by.
std::string UnrestoreMarkerText(const char* monthName, const BackupStamp& when);

// A rescue backup keeps the notes as they were when a change could not be
// stored: "Unstored 20260305090512.QPK" (the local date and time to the
// second), from the second copy of a second on with a part in brackets
// before the extension ("Unstored 20260305090512 (2).QPK"). Its mark beside
// it, the same name with ".txt", says that those changes were not stored
// yet, and which write of the notes table they were measured against.
extern const char kRescueBackupPrefix[];  // "Unstored "

struct RescueStamp {
    BackupStamp date;
    int second = 0;
    // The copy of that second: 1 for a name without a part in brackets, else
    // the number the part starts with.
    unsigned copy = 1;
};
// A rescue backup's name: the prefix, 14 digits of a valid date and time
// (hour 0-23, second 0-59), perhaps a blank and a part in brackets of at most
// 40 letters, digits and dashes, and ".QPK" in any case.
bool ParseRescueBackupName(RescueStamp& stamp, const std::string& name);
// Newer first: to the second, then by the copy of that second.
bool IsNewerRescue(const RescueStamp& a, const RescueStamp& b);
// The name of a rescue backup's mark; empty for a name that is not one.
std::string RescueMarkName(const std::string& rescueName);
// The rescue backup a mark's name stands beside; empty for a name that is
// not a mark's.
std::string RescueOfMarkName(const std::string& markName);
// The mark's text: what it is, for a person who finds it, and the last write
// of the notes table when the rescue backup was written.
std::string RescueMarkText(const std::string& rescueName, unsigned long long tableWriteTime);
// That write of the notes table, read back; false for a text that holds none.
bool ReadRescueMarkTableTime(const std::string& text, unsigned long long& tableWriteTime);
// A rescue backup records that write itself, in its first comment, before
// its notes: what a start's offer, its Yes and a pick from the Restore list
// judge "stored since" by, whatever became of the mark. The comment's text;
// and that write read back from the start of a rescue backup's text, false
// when its first comment is not one.
std::string RescueTableTimeComment(unsigned long long tableWriteTime);
bool ReadRescueTableTime(const std::string& rescueStart, unsigned long long& tableWriteTime);
// What a mark holds in place of that write once a start has offered its
// rescue backup and the user has not answered yet: it tells every later start
// of the backup, whatever the table holds, until the user answers.
const unsigned long long kRescueMarkAwaitsAnswer = 0xFFFFFFFFFFFFFFFFULL;
// Such a mark's text. It keeps the write the backup was measured against on
// a line of its own when it is known (null: not known), for the Yes that
// judges a backup that does not record it itself.
std::string RescueMarkAwaitingText(const std::string& rescueName, const unsigned long long* measuredTime);
// The write the backup was measured against, as the mark tells it, whether
// it awaits an answer or not; false when it tells none.
bool ReadRescueMarkMeasuredTime(const std::string& text, unsigned long long& tableWriteTime);
