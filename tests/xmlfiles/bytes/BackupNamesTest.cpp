// Dated backup names and what is decided on their dates: which names are
// backups at all, when the next daily backup is due, and which old backups
// go when their days are over.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xmlfiles/bytes/BackupNames.h"

namespace {
BackupStamp Stamp(int year, int month, int day, int hour = 9, int minute = 5)
{
    return BackupStamp{year, month, day, hour, minute};
}

std::vector<std::string> Kept(const std::vector<BackupStamp>& oldestFirst, const BackupStamp& now, int days,
                              bool monthly)
{
    std::vector<size_t> expired = ChooseExpiredBackups(oldestFirst, now, days, monthly);
    std::vector<std::string> kept;
    for (size_t i = 0; i < oldestFirst.size(); ++i) {
        bool gone = false;
        for (size_t e : expired)
            gone = gone || e == i;
        if (!gone)
            kept.push_back(BackupFileName(oldestFirst[i], ".QPK"));
    }
    return kept;
}
}

TEST(BackupNames, DatedNamesAreWrittenAndReadToTheMinute)
{
    EXPECT_EQ(BackupFileName(Stamp(2026, 3, 5, 9, 5), ".QPK"), "202603050905.QPK");
    EXPECT_EQ(BackupFileName(Stamp(2026, 3, 5, 9, 5), ".txt"), "202603050905.txt");

    BackupStamp read;
    ASSERT_TRUE(ParseBackupFileName(read, "202603050905.QPK"));
    EXPECT_EQ(read.year, 2026);
    EXPECT_EQ(read.month, 3);
    EXPECT_EQ(read.day, 5);
    EXPECT_EQ(read.hour, 9);
    EXPECT_EQ(read.minute, 5);
    EXPECT_TRUE(IsBackupFileName("202603050905.QPK"));
    // Hour 24 is a backup; month 13, day 32, minute 60, a year before 2000,
    // letters among the digits and names of other lengths are not.
    EXPECT_TRUE(IsBackupFileName("202603052400.QPK"));
    for (const char* name : {"202613050905.QPK", "202603320905.QPK", "202603050960.QPK", "199903050905.QPK",
                             "2026030509a5.QPK", "202600050905.QPK", "202603050905x.QPK", "20260305090.QPK", "",
                             "2026"})
        EXPECT_FALSE(IsBackupFileName(name)) << name;
    // A longer name with a date is counted by the folder listing, but is no list entry.
    EXPECT_TRUE(ParseBackupFileName(read, "202603050905 copy.QPK"));
    EXPECT_FALSE(ParseBackupFileName(read, nullptr));
}

TEST(BackupNames, TheNextBackupIsDueADayAfterTheNewest)
{
    const BackupStamp newest = Stamp(2026, 3, 5, 9, 5);
    EXPECT_FALSE(IsBackupDue(newest, Stamp(2026, 3, 6, 9, 5)));
    EXPECT_TRUE(IsBackupDue(newest, Stamp(2026, 3, 6, 9, 6)));
    // Across the end of a month, of February in a leap year, and of a year.
    EXPECT_TRUE(IsBackupDue(Stamp(2024, 2, 28, 23, 0), Stamp(2024, 2, 29, 23, 1)));
    EXPECT_FALSE(IsBackupDue(Stamp(2024, 2, 29, 23, 0), Stamp(2024, 3, 1, 22, 59)));
    EXPECT_TRUE(IsBackupDue(Stamp(2025, 12, 31, 8, 0), Stamp(2026, 1, 1, 8, 1)));
    // Hour 24 counts as midnight of the next day.
    EXPECT_EQ(StampMinutes(Stamp(2026, 3, 5, 24, 0)), StampMinutes(Stamp(2026, 3, 6, 0, 0)));
}

TEST(BackupNames, ExpiredBackupsGoButEachMonthsFirstStaysWhenAsked)
{
    const std::vector<BackupStamp> march = {Stamp(2026, 3, 1), Stamp(2026, 3, 5), Stamp(2026, 3, 20),
                                            Stamp(2026, 4, 2)};
    const BackupStamp may = Stamp(2026, 5, 1);
    EXPECT_EQ(Kept(march, may, 7, true), (std::vector<std::string>{"202603010905.QPK", "202604020905.QPK"}));
    EXPECT_TRUE(Kept(march, may, 7, false).empty());
    // Backups within the retention days stay whatever the month.
    EXPECT_EQ(Kept(march, Stamp(2026, 4, 6), 7, false), (std::vector<std::string>{"202604020905.QPK"}));
    EXPECT_EQ(Kept(march, Stamp(2026, 3, 26), 7, true),
              (std::vector<std::string>{"202603010905.QPK", "202603200905.QPK", "202604020905.QPK"}));
    // Exactly the retention days old is not older than them.
    EXPECT_EQ(Kept({Stamp(2026, 3, 1)}, Stamp(2026, 3, 8), 7, false).size(), 1u);
    // The same month of another year is another month.
    EXPECT_EQ(Kept({Stamp(2025, 3, 1), Stamp(2026, 3, 2)}, may, 7, true).size(), 2u);
}

TEST(BackupNames, TheMarkerTellsWhenTheRestoreWasMade)
{
    const std::string text = UnrestoreMarkerText("March", Stamp(2026, 3, 5, 9, 5));
    EXPECT_EQ(text.rfind(" \r\n  The restore operation was performed on  March  5, 2026 09:05\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("\r\n  - Do not delete this text file. Quillnet+ uses its name to find out"
                        "\r\n the moment when the restore operation was performed."),
              std::string::npos);
}

TEST(BackupNames, RescueNamesAreReadToTheSecondAndNothingElseIsTakenForOne)
{
    RescueStamp read;
    ASSERT_TRUE(ParseRescueBackupName(read, "Unstored 20260305090512.QPK"));
    EXPECT_EQ(BackupFileName(read.date, ""), "202603050905");
    EXPECT_EQ(read.second, 12);
    EXPECT_EQ(read.copy, 1u);
    ASSERT_TRUE(ParseRescueBackupName(read, "Unstored 20260305090512 (2).QPK"));
    EXPECT_EQ(read.copy, 2u);
    ASSERT_TRUE(ParseRescueBackupName(read, "Unstored 20260305090512 (100-3F9A0C1B2D4E).qpk"));
    EXPECT_EQ(read.copy, 100u);
    // A dated backup, another program's file and every damaged form are not rescue backups.
    for (const char* other :
         {"202603050905.QPK", "Unstored 20260305090512.QPK.bak", "Unstored 2026030509051.QPK",
          "Unstored 20261305090512.QPK", "Unstored 20260305240512.QPK", "Unstored 20260305090560.QPK",
          "unstored 20260305090512.QPK", "Unstored 20260305090512(2).QPK", "Unstored 20260305090512 ().QPK",
          "Unstored 20260305090512 (2.QPK", "Unstored 20260305090512 (a b).QPK", "Unstored 2026030509051x.QPK",
          "Unstored ", ""})
        EXPECT_FALSE(ParseRescueBackupName(read, other)) << other;
    EXPECT_FALSE(ParseRescueBackupName(read, "Unstored 20260305090512 (" + std::string(41, '7') + ").QPK"));

    // Of one second, the later copy is the newer.
    RescueStamp earlier;
    ASSERT_TRUE(ParseRescueBackupName(earlier, "Unstored 20260305090512 (99).QPK"));
    EXPECT_TRUE(IsNewerRescue(read, earlier));
    ASSERT_TRUE(ParseRescueBackupName(earlier, "Unstored 20260305090511 (3).QPK"));
    EXPECT_TRUE(IsNewerRescue(read, earlier));
    EXPECT_FALSE(IsNewerRescue(earlier, read));
    ASSERT_TRUE(ParseRescueBackupName(earlier, "Unstored 20260304235959.QPK"));
    EXPECT_TRUE(IsNewerRescue(read, earlier));
}

TEST(BackupNames, ARescueMarkNamesItsBackupAndKeepsTheTablesWriteTime)
{
    EXPECT_EQ(RescueMarkName("Unstored 20260305090512 (2).QPK"), "Unstored 20260305090512 (2).txt");
    EXPECT_EQ(RescueOfMarkName("Unstored 20260305090512 (2).txt"), "Unstored 20260305090512 (2).QPK");
    EXPECT_EQ(RescueMarkName("202603050905.QPK"), "");
    EXPECT_EQ(RescueOfMarkName("202603050905.txt"), "");
    EXPECT_EQ(RescueOfMarkName("Unstored 20260305090512.QPK"), "");

    const std::string text = RescueMarkText("Unstored 20260305090512.QPK", 0x01DCA0B3F2C4E1FFULL);
    EXPECT_NE(text.find("\r\n    Unstored 20260305090512.QPK\r\n"), std::string::npos) << text;
    unsigned long long time = 0;
    ASSERT_TRUE(ReadRescueMarkTableTime(text, time));
    EXPECT_EQ(time, 0x01DCA0B3F2C4E1FFULL);
    ASSERT_TRUE(ReadRescueMarkTableTime(RescueMarkText("x", 0), time));
    EXPECT_EQ(time, 0u);
    // Cut short or changed by hand: no time is read.
    for (size_t cut = 0; cut < text.size() - 2; ++cut)
        EXPECT_FALSE(ReadRescueMarkTableTime(text.substr(0, cut), time)) << cut;
    std::string changed = text;
    changed[changed.size() - 4] = 'G';
    EXPECT_FALSE(ReadRescueMarkTableTime(changed, time));

    // What the rescue was measured against: the time of a mark, and of one
    // that awaits an answer only when it keeps it.
    ASSERT_TRUE(ReadRescueMarkMeasuredTime(text, time));
    EXPECT_EQ(time, 0x01DCA0B3F2C4E1FFULL);
    const unsigned long long measured = 0x01DCA0B3F2C4E100ULL;
    const std::string awaiting = RescueMarkAwaitingText("Unstored 20260305090512.QPK", &measured);
    ASSERT_TRUE(ReadRescueMarkTableTime(awaiting, time));
    EXPECT_EQ(time, kRescueMarkAwaitsAnswer);
    ASSERT_TRUE(ReadRescueMarkMeasuredTime(awaiting, time));
    EXPECT_EQ(time, measured);
    const std::string unknown = RescueMarkAwaitingText("Unstored 20260305090512.QPK", nullptr);
    EXPECT_EQ(unknown, RescueMarkText("Unstored 20260305090512.QPK", kRescueMarkAwaitsAnswer));
    EXPECT_FALSE(ReadRescueMarkMeasuredTime(unknown, time));
    EXPECT_FALSE(ReadRescueMarkMeasuredTime(awaiting.substr(0, awaiting.size() - 4), time));
}

TEST(BackupNames, ARescueBackupRecordsTheTablesWriteTimeInItsFirstComment)
{
    const std::string head = "<?xml version=\"1.0\"?>\r\n<backup>\r\n   <!--" +
                             RescueTableTimeComment(0x01DCA0B3F2C4E1FFULL) + "-->\r\n";
    const std::string note = "   <note>\r\n      <!--notes.QPD as written at 0000000000000001-->\r\n";
    unsigned long long time = 0;
    ASSERT_TRUE(ReadRescueTableTime(head + note, time));
    EXPECT_EQ(time, 0x01DCA0B3F2C4E1FFULL);
    // Cut short, changed, or only a note's text that looks like it: none.
    for (size_t cut = 0; cut < head.size() - 2; ++cut)
        EXPECT_FALSE(ReadRescueTableTime(head.substr(0, cut), time)) << cut;
    std::string changed = head;
    changed[changed.find("-->") - 1] = 'G';
    EXPECT_FALSE(ReadRescueTableTime(changed, time));
    EXPECT_FALSE(ReadRescueTableTime("<backup>\r\n   <!--The content of the note-->\r\n" + note, time));
    EXPECT_FALSE(ReadRescueTableTime("", time));
}
