#include "xmlfiles/bytes/BackupNames.h"

#include <cstdio>
#include <cstring>

#include "foundation/bytes/TextChecks.h"

namespace {
const long long kMinutesPerDay = 24 * 60;

int GroupValue(const char* text, int length)
{
    int value = 0;
    for (int i = 0; i < length; ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

// Days from 1 March of year 0 in the proleptic Gregorian calendar, for any
// month 1-12 and any day (a day past the month's end counts on).
long long DaysFromCivil(int year, int month, int day)
{
    const long long y = month <= 2 ? year - 1 : year;
    const long long era = y / 400;
    const long long yearOfEra = y - era * 400;
    const long long monthFromMarch = month > 2 ? month - 3 : month + 9;
    const long long dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
}
}

bool ParseBackupFileName(BackupStamp& stamp, const char* name)
{
    if (!name)
        return false;
    // Only digits: a file the user named otherwise is never taken for a
    // backup, and so never deleted as an old one.
    for (int i = 0; i < 12; ++i)
        if (name[i] < '0' || name[i] > '9')
            return false;
    BackupStamp read;
    read.year = GroupValue(name, 4);
    read.month = GroupValue(name + 4, 2);
    read.day = GroupValue(name + 6, 2);
    read.hour = GroupValue(name + 8, 2);
    read.minute = GroupValue(name + 10, 2);
    if (read.year < 2000 || read.month < 1 || read.month > 12 || read.day < 1 || read.day > 31 ||
        read.hour > 24 || read.minute > 59)
        return false;
    stamp = read;
    return true;
}

bool IsBackupFileName(const char* name)
{
    BackupStamp stamp;
    return name && std::strlen(name) == kBackupNameLength && ParseBackupFileName(stamp, name);
}

std::string BackupFileName(const BackupStamp& stamp, const char* extension)
{
    char name[64];
    std::snprintf(name, sizeof name, "%04d%02d%02d%02d%02d%s", stamp.year % 10000, stamp.month % 100,
                  stamp.day % 100, stamp.hour % 100, stamp.minute % 100, extension ? extension : "");
    return name;
}

long long StampMinutes(const BackupStamp& stamp)
{
    const int month = stamp.month >= 1 && stamp.month <= 12 ? stamp.month : 1;
    return DaysFromCivil(stamp.year, month, stamp.day) * kMinutesPerDay + stamp.hour * 60LL + stamp.minute;
}

bool IsLaterThan(const BackupStamp& now, const BackupStamp& stamp, long long minutes)
{
    return StampMinutes(now) > StampMinutes(stamp) + minutes;
}

bool IsBackupDue(const BackupStamp& newest, const BackupStamp& now)
{
    return IsLaterThan(now, newest, kMinutesPerDay);
}

std::vector<std::size_t> ChooseExpiredBackups(const std::vector<BackupStamp>& oldestFirst, const BackupStamp& now,
                                              int retentionDays, bool monthlyKeep)
{
    std::vector<std::size_t> expired;
    int keptMonth = 0;
    int keptYear = 0;
    for (std::size_t i = 0; i < oldestFirst.size(); ++i) {
        const BackupStamp& backup = oldestFirst[i];
        if (!IsLaterThan(now, backup, retentionDays * kMinutesPerDay))
            continue;
        if (monthlyKeep && (backup.month != keptMonth || backup.year != keptYear)) {
            keptMonth = backup.month;
            keptYear = backup.year;
            continue;
        }
        expired.push_back(i);
    }
    return expired;
}

std::string UnrestoreMarkerText(const char* monthName, const BackupStamp& when)
{
    char first[160];
    std::snprintf(first, sizeof first, " %s %s %2d, %4d %02d:%02d", "\r\n  The restore operation was performed on ",
                  monthName ? monthName : "", when.day, when.year, when.hour, when.minute);
    return std::string(first) +
           "\r\n  - The UNRESTORE directory contains the original set of files,\r\n before the restore operation." +
           "\r\n  - You can get those original notes back by selecting 'Unrestore' \r\n from Quillnet+'s tray menu." +
           "\r\n\r\n  - Do not delete this text file. Quillnet+ uses its name to find out" +
           "\r\n the moment when the restore operation was performed.";
}

const char kRescueBackupPrefix[] = "Unstored ";

namespace {
const char kRescueExtension[] = ".QPK";
const char kMarkExtension[] = ".txt";
const std::size_t kStampDigits = 14;
const std::size_t kMostCopyPart = 40;
const char kTableTimeLabel[] = "\r\nnotes.QPD: ";
// On the line after the table time of a mark that awaits an answer.
const char kMeasuredTimeLabel[] = "measured against notes.QPD: ";
const char kRescueTableTimeLabel[] = "notes.QPD as written at ";
const char kCommentStart[] = "<!--";
const char kCommentEnd[] = "-->";
const std::size_t kTableTimeDigits = 16;

bool EndsWithNoCase(const std::string& text, const char* ending)
{
    const std::size_t length = std::strlen(ending);
    if (text.size() < length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        const char a = text[text.size() - length + i];
        const char b = ending[i];
        if ((a >= 'a' && a <= 'z' ? a - 32 : a) != (b >= 'a' && b <= 'z' ? b - 32 : b))
            return false;
    }
    return true;
}

// " (2)", " (100-3F9A0C1B2D4E)", or nothing; the copy is the number it starts with.
bool ReadCopyPart(const std::string& part, unsigned& copy)
{
    copy = 1;
    if (part.empty())
        return true;
    if (part.size() < 4 || part.size() > kMostCopyPart + 3 || part.compare(0, 2, " (") != 0 || part.back() != ')')
        return false;
    bool inNumber = true;
    unsigned number = 0;
    for (std::size_t i = 2; i + 1 < part.size(); ++i) {
        const char c = part[i];
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-'))
            return false;
        inNumber = inNumber && c >= '0' && c <= '9';
        if (inNumber && number < 100000)
            number = number * 10 + static_cast<unsigned>(c - '0');
    }
    copy = number;
    return true;
}
}

bool ParseRescueBackupName(RescueStamp& stamp, const std::string& name)
{
    const std::size_t prefix = sizeof kRescueBackupPrefix - 1;
    const std::size_t extension = sizeof kRescueExtension - 1;
    if (name.size() < prefix + kStampDigits + extension || name.compare(0, prefix, kRescueBackupPrefix) != 0 ||
        !EndsWithNoCase(name, kRescueExtension))
        return false;
    const char* digits = name.c_str() + prefix;
    RescueStamp read;
    if (!ParseBackupFileName(read.date, digits) || read.date.hour > 23)
        return false;
    for (std::size_t i = 12; i < kStampDigits; ++i)
        if (digits[i] < '0' || digits[i] > '9')
            return false;
    read.second = GroupValue(digits + 12, 2);
    if (read.second > 59)
        return false;
    const std::size_t partStart = prefix + kStampDigits;
    if (!ReadCopyPart(name.substr(partStart, name.size() - extension - partStart), read.copy))
        return false;
    stamp = read;
    return true;
}

bool IsNewerRescue(const RescueStamp& a, const RescueStamp& b)
{
    const long long minutesA = StampMinutes(a.date);
    const long long minutesB = StampMinutes(b.date);
    if (minutesA != minutesB)
        return minutesA > minutesB;
    return a.second != b.second ? a.second > b.second : a.copy > b.copy;
}

std::string RescueMarkName(const std::string& rescueName)
{
    RescueStamp stamp;
    if (!ParseRescueBackupName(stamp, rescueName))
        return "";
    return rescueName.substr(0, rescueName.size() - (sizeof kRescueExtension - 1)) + kMarkExtension;
}

std::string RescueOfMarkName(const std::string& markName)
{
    if (!EndsWithNoCase(markName, kMarkExtension))
        return "";
    const std::string rescue = markName.substr(0, markName.size() - (sizeof kMarkExtension - 1)) + kRescueExtension;
    RescueStamp stamp;
    return ParseRescueBackupName(stamp, rescue) ? rescue : "";
}

namespace {
std::string TableTimeDigits(unsigned long long tableWriteTime)
{
    char time[kTableTimeDigits + 1];
    std::snprintf(time, sizeof time, "%016llX", tableWriteTime);
    return time;
}

// The digits of a write of the notes table at that place of the text.
bool ReadTableTimeAt(const std::string& text, std::size_t start, unsigned long long& tableWriteTime)
{
    if (text.size() < start + kTableTimeDigits)
        return false;
    unsigned long long value = 0;
    for (std::size_t i = 0; i < kTableTimeDigits; ++i) {
        const int digit = HexDigitOrNone(text[start + i]);
        if (digit < 0)
            return false;
        value = value * 16 + static_cast<unsigned long long>(digit);
    }
    tableWriteTime = value;
    return true;
}
}

std::string RescueMarkText(const std::string& rescueName, unsigned long long tableWriteTime)
{
    const std::string time = TableTimeDigits(tableWriteTime);
    return "  Quillnet+ could not store some changes to your notes. Your notes, as they were then, are kept in "
           "this backup file beside this one:\r\n    " +
           rescueName +
           "\r\n\r\n  - Do not delete this text file. Quillnet+ uses it to tell you of that backup file when it "
           "starts again.\r\n" +
           kTableTimeLabel + time + "\r\n";
}

bool ReadRescueMarkTableTime(const std::string& text, unsigned long long& tableWriteTime)
{
    const std::size_t at = text.rfind(kTableTimeLabel);
    return at != std::string::npos && ReadTableTimeAt(text, at + sizeof kTableTimeLabel - 1, tableWriteTime);
}

std::string RescueMarkAwaitingText(const std::string& rescueName, const unsigned long long* measuredTime)
{
    std::string text = RescueMarkText(rescueName, kRescueMarkAwaitsAnswer);
    if (measuredTime)
        text += kMeasuredTimeLabel + TableTimeDigits(*measuredTime) + "\r\n";
    return text;
}

bool ReadRescueMarkMeasuredTime(const std::string& text, unsigned long long& tableWriteTime)
{
    unsigned long long marked = 0;
    if (!ReadRescueMarkTableTime(text, marked))
        return false;
    if (marked != kRescueMarkAwaitsAnswer) {
        tableWriteTime = marked;
        return true;
    }
    const std::size_t at = text.rfind(kMeasuredTimeLabel);
    return at != std::string::npos && ReadTableTimeAt(text, at + sizeof kMeasuredTimeLabel - 1, tableWriteTime);
}

std::string RescueTableTimeComment(unsigned long long tableWriteTime)
{
    return kRescueTableTimeLabel + TableTimeDigits(tableWriteTime);
}

bool ReadRescueTableTime(const std::string& rescueStart, unsigned long long& tableWriteTime)
{
    // The first comment of the file, before any note's own.
    const std::size_t comment = rescueStart.find(kCommentStart);
    if (comment == std::string::npos)
        return false;
    const std::size_t label = comment + sizeof kCommentStart - 1;
    const std::size_t digits = label + sizeof kRescueTableTimeLabel - 1;
    unsigned long long value = 0;
    if (rescueStart.compare(label, sizeof kRescueTableTimeLabel - 1, kRescueTableTimeLabel) != 0 ||
        !ReadTableTimeAt(rescueStart, digits, value) ||
        rescueStart.compare(digits + kTableTimeDigits, sizeof kCommentEnd - 1, kCommentEnd) != 0)
        return false;
    tableWriteTime = value;
    return true;
}
