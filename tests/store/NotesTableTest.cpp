// Notes saved into the notes table and read back as a start-up reads them.
#include <sstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "StoreFolder.h"
#include "note/NoteController.h"
#include "store/DbfFile.h"
#include "store/FileStepRetries.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "store/NotesTableLock.h"
#include "support/LockProbe.h"
#include "store/NotesLoader.h"
#include "support/HeldFile.h"
#include "support/bytes/MessageBoxRecorder.h"
#include "support/bytes/Occurrences.h"

namespace {
using TableNotes = std::vector<std::unique_ptr<CNoteController>>;

class NotesTable : public StoreFolder {
protected:
    void SetUp() override
    {
        CopyTemplate("notes.QPD");
        CopyTemplate("notes.QPS");
        NotesFreeSlots().Clear();
    }

    TableNotes Load(DWORD currentUser = 1, std::vector<bool> sharing = {})
    {
        RowOwnership ownership;
        ownership.currentUserId = currentUser;
        ownership.sharesNotes = sharing;
        TableNotes notes;
        LoadNotes(ownership, [&](CNoteController* note) { notes.emplace_back(note); });
        return notes;
    }

    void NoWorkingCopiesLeft()
    {
        EXPECT_TRUE(FileExists(File("notes.QPD")));
        EXPECT_TRUE(FileExists(File("notes.qps")));
        EXPECT_FALSE(FileExists(File("notesTemp.QPD")));
        EXPECT_FALSE(FileExists(File("notesTemp.QPS")));
    }

    // Raw numbers written into a stored record, as an older version may have left them.
    static void SetNumber(DWORD record, const char* field, long value)
    {
        StoreFolder::SetNumber("notes.QPD", record, field, value);
    }
};

LOGFONTA Font(LONG height, LONG weight, BYTE italic, BYTE charset, const char* face)
{
    LOGFONTA font = {height, 7, 900, 450, weight, italic, 1, 0, charset, 3, 2, 1, 34, ""};
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    return font;
}

std::string Text(size_t length, char seed)
{
    std::string text = "{\\rtf1 ";
    while (text.size() < length)
        text += static_cast<char>('a' + (text.size() * 7 + seed) % 26);
    text.resize(length);
    return text;
}

// The stored values of a note; between them the four rows below take both
// values of every switch and the edges of the numbers and texts.
struct NoteRow {
    const char* title;
    LONG left, top, width, height;
    bool hidden, rolledUp, stayOnTop, border, showDate;
    COLORREF body, text, titleBack, titleText;
    size_t textLength;
    PackedNoteValues packed;
    bool alarmSet, alarmRung, delay;
    BYTE delayAmount, delayUnit;
    bool retry;
    BYTE retryCount, retryUnit;
    bool sent, sent1, received, received1;
    DWORD sendResult;
    const char *receivedFrom, *createdBy, *lastSentTo;
    int storedValue;
};

const NoteRow kRows[] = {
    {"Shopping", 10, 20, 200, 150, false, false, true, true, false, RGB(255, 255, 128), RGB(0, 0, 0),
     RGB(200, 200, 0), RGB(1, 2, 3), 2000, PackedNoteValues{0, 0, 0, true, 0, 0, 0, 0, 0}, false, false, true, 1, 3,
     false, 0, 0, false, false, false, false, 0, "", "me", "", 0},
    {"Far left", -1500, -20, 320, 90, true, false, false, false, true, RGB(12, 34, 56), RGB(255, 254, 253),
     RGB(0, 0, 0), RGB(255, 255, 255), 100 * 1024, PackedNoteValues{8, 4, 2, true, 90, 12345, 3, 1, 255}, true, true,
     false, 9, 2, true, 5, 1, true, true, true, true, 2, "PC-OFFICE-NUMBER-17-AB", "alice", "bob", 77},
    {"", 3000, 2000, 1999, 1999, false, false, false, true, false, RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3),
     RGB(4, 4, 4), 0, PackedNoteValues{3, 0, 7, true, 45, 99, 8, 0, 17}, true, false, true, 0, 0, true, 1, 2, false,
     true, false, true, 123456, "x", "y", "z", 1},
    {"Rolled up with a title of forty chars!!", 5, 6, 400, 24, false, true, true, true, true, RGB(250, 0, 0),
     RGB(0, 250, 0), RGB(0, 0, 250), RGB(9, 9, 9), 250 * 1024, PackedNoteValues{1, 2, 3, true, 20, 7, 1, 1, 9}, false,
     true, false, 4, 4, false, 0, 0, false, false, true, false, 1, "", "", "PC2", 0},
};

std::unique_ptr<CNoteController> MakeNote(const NoteRow& row, char seed)
{
    std::unique_ptr<CNoteController> note(new CNoteController);
    lstrcpynA(note->m_title, row.title, sizeof note->m_title);
    note->m_userId = 1;
    note->m_left = row.left;
    note->m_top = row.top;
    note->m_width = row.rolledUp ? 400 : row.width;
    note->m_height = row.rolledUp ? 20 : row.height;
    note->m_rolledUp = row.rolledUp;
    note->m_unrolledWidth = row.width;
    note->m_unrolledHeight = row.height;
    note->m_hidden = row.hidden;
    note->m_stayOnTop = row.stayOnTop;
    note->m_border = row.border;
    note->m_showDate = row.showDate;
    note->m_bodyColor = row.body;
    note->m_textColor = row.text;
    note->m_titleColor = row.titleBack;
    note->m_titleTextColor = row.titleText;
    note->m_bodyFont = Font(-13, 400, 0, 0, "Tahoma");
    note->m_titleFont = Font(-11 - seed, 700, 1, 238, "A face name of 31 characters ok");
    std::string text = Text(row.textLength, seed);
    note->SetRichText(text.data(), text.size());
    note->m_packed = row.packed;
    note->m_alarmSet = row.alarmSet;
    note->m_alarmRung = row.alarmRung;
    note->m_alarm = CDateTime(29, 2, 2028, 23, 59, 58);
    note->m_created = CDateTime(static_cast<BYTE>(1 + seed), 12, 2026, 8, 30, 5);
    note->m_alarmRecurring = row.delay;
    note->m_alarmValue = row.delayAmount;
    note->m_alarmUnit = row.delayUnit;
    note->m_stopAfterMinutes = static_cast<BYTE>(85 * seed);
    note->m_retry = row.retry;
    note->m_retryCount = row.retryCount;
    note->m_retryUnit = row.retryUnit;
    note->m_sent = row.sent;
    note->m_sent1 = row.sent1;
    note->m_received = row.received;
    note->m_received1 = row.received1;
    note->m_sendResult = row.sendResult;
    lstrcpynA(note->m_receivedFrom, row.receivedFrom, sizeof note->m_receivedFrom);
    lstrcpynA(note->m_createdBy, row.createdBy, sizeof note->m_createdBy);
    lstrcpynA(note->m_lastSentTo, row.lastSentTo, sizeof note->m_lastSentTo);
    note->m_storedValue = row.storedValue;
    return note;
}

// New notes of the first row, saved one by one.
TableNotes SaveNewNotes(int count)
{
    TableNotes notes;
    for (int i = 0; i < count; ++i) {
        notes.push_back(MakeNote(kRows[0], static_cast<char>(i)));
        SaveNote(*notes.back());
    }
    return notes;
}

// Every value of a note the table keeps but its text and dates, in one line,
// so that a note read back is compared with the one saved in one go.
std::string StoredValues(const CNoteController& n)
{
    const PackedNoteValues& p = n.m_packed;
    std::ostringstream out;
    out << "id " << n.m_noteId << " user " << n.m_userId << " notShared " << n.m_notShared << " title \"" << n.m_title
        << "\" at " << n.m_left << ',' << n.m_top << " size " << n.m_width << 'x' << n.m_height << " hidden "
        << n.m_hidden << " rolledUp " << n.m_rolledUp << " onTop " << n.m_stayOnTop << " border " << n.m_border
        << " date " << n.m_showDate << " colours " << n.m_bodyColor << ' ' << n.m_textColor << ' ' << n.m_titleColor
        << ' ' << n.m_titleTextColor << " body font " << FontValues(n.m_bodyFont) << " title font "
        << FontValues(n.m_titleFont) << " packed " << p.digitA << ' ' << p.digitB << ' ' << p.digitC << ' '
        << p.digitsKnown << ' ' << p.level << ' ' << p.combined << ' ' << p.digitD << ' ' << p.flagE << ' '
        << p.byteSetting << " alarm " << n.m_alarmSet << ' ' << n.m_alarmRung << " recurring " << n.m_alarmRecurring << ' '
        << +n.m_alarmValue << ' ' << +n.m_alarmUnit << " stop " << +n.m_stopAfterMinutes << " retry " << n.m_retry << ' ' << +n.m_retryCount << ' '
        << +n.m_retryUnit << " sent " << n.m_sent << ' ' << n.m_sent1 << " received " << n.m_received << ' '
        << n.m_received1 << " result " << n.m_sendResult << " from \"" << n.m_receivedFrom << "\" by \""
        << n.m_createdBy << "\" to \"" << n.m_lastSentTo << "\" value " << n.m_storedValue;
    return out.str();
}
}

TEST_F(NotesTable, EveryStoredFieldOfANoteComesBackAfterASaveAndALoad)
{
    TableNotes saved;
    for (size_t i = 0; i < sizeof kRows / sizeof kRows[0]; ++i) {
        saved.push_back(MakeNote(kRows[i], static_cast<char>(i)));
        SaveNote(*saved.back());
        EXPECT_EQ(saved.back()->m_noteId, i + 1) << "a new note is appended";
        NoWorkingCopiesLeft();
    }
    // A second save of a stored note rewrites its record in place.
    saved[0]->m_left = 44;
    SaveNote(*saved[0]);
    EXPECT_EQ(saved[0]->m_noteId, 1u);

    TableNotes loaded = Load();
    ASSERT_EQ(loaded.size(), saved.size());
    for (size_t i = 0; i < saved.size(); ++i) {
        CNoteController& expected = *saved[i];
        EXPECT_EQ(loaded[i]->RichText(), expected.RichText()) << i;
        EXPECT_TRUE(loaded[i]->m_alarm == expected.m_alarm) << i;
        EXPECT_TRUE(loaded[i]->m_created == expected.m_created) << i;
        // What reading makes of the stored values: an empty title is a blank, a
        // rolled-up note has its unrolled size, a delay of 0 is 1 and its unit 3.
        if (!expected.m_title[0])
            lstrcpyA(expected.m_title, " ");
        expected.m_width = expected.m_unrolledWidth;
        expected.m_height = expected.m_unrolledHeight;
        expected.m_alarmValue = expected.m_alarmValue ? expected.m_alarmValue : 1;
        expected.m_alarmUnit = expected.m_alarmUnit ? expected.m_alarmUnit : 3;
        EXPECT_EQ(StoredValues(*loaded[i]), StoredValues(expected));
    }
}

TEST_F(NotesTable, PackedSettingsOfOlderVersionsAreCorrectedWhenRead)
{
    struct Row {
        long level, minute, year;
        int expectedLevel, expectedD, expectedE;
        bool digitsKnown;
        int a, b, c;
    } rows[] = {
        {3, 0, 0, 0, 0, 0, false, 0, 0, 0},      {95, 5, 111, 90, 1, 0, true, 0, 0, 0},
        {28, 31, 999, 40, 2, 1, true, 8, 8, 8}, {30, 10, 321, 30, 0, 0, true, 0, 1, 2},
        {64, 90, -5, 90, 8, 0, false, 0, 0, 0}, {14, 12, 123, 20, 0, 2, true, 2, 1, 0},
    };
    const DWORD count = sizeof rows / sizeof rows[0];
    SaveNewNotes(count);
    for (DWORD record = 1; record <= count; ++record) {
        SetNumber(record, "BYSDAY", rows[record - 1].level);
        SetNumber(record, "WSMINUTE", rows[record - 1].minute);
        SetNumber(record, "WSYEAR", rows[record - 1].year);
    }
    TableNotes loaded = Load();
    ASSERT_EQ(loaded.size(), count);
    for (size_t i = 0; i < loaded.size(); ++i) {
        const PackedNoteValues& v = loaded[i]->m_packed;
        SCOPED_TRACE(rows[i].level);
        EXPECT_EQ(v.level, rows[i].expectedLevel);
        EXPECT_EQ(v.digitD, rows[i].expectedD);
        EXPECT_EQ(v.flagE, rows[i].expectedE);
        EXPECT_EQ(v.digitsKnown, rows[i].digitsKnown);
        if (rows[i].digitsKnown) {
            EXPECT_EQ(v.digitA, rows[i].a);
            EXPECT_EQ(v.digitB, rows[i].b);
            EXPECT_EQ(v.digitC, rows[i].c);
        }
    }
}

TEST_F(NotesTable, NewNotesTakeTheFirstFreeRecordAndZombiesAreLoggedDeletedAndFreed)
{
    SaveNewNotes(5);
    SetNumber(5, "WUSERID", 2);
    // Records 2 and 4 lose their owner: zombies.
    SetNumber(2, "WUSERID", 0);
    SetNumber(4, "WUSERID", 0);

    TableNotes loaded = Load(1, {false, false, false});
    ASSERT_EQ(loaded.size(), 3u);
    EXPECT_EQ(loaded[0]->m_noteId, 1u);
    EXPECT_EQ(loaded[1]->m_noteId, 3u);
    EXPECT_EQ(loaded[2]->m_noteId, 5u);
    EXPECT_EQ(loaded[2]->m_userId, 2u) << "another user's note carries that user's id";
    EXPECT_TRUE(loaded[2]->m_notShared);
    std::string log = Read("error.txt");
    const std::string zombieLine = "dwReadUserID==0 ??, delete this zombie record\r\n";
    EXPECT_EQ(log.find(zombieLine + zombieLine), 0u) << log;
    EXPECT_EQ(NotesFreeSlots().Count(), 2u);

    // The zombies are gone for good, and their records are reused first.
    EXPECT_EQ(Load(1, {false, false, true}).size(), 3u);
    EXPECT_EQ(Read("error.txt").size(), 2 * zombieLine.size()) << "logged once";
    std::unique_ptr<CNoteController> fresh = MakeNote(kRows[1], 9);
    SaveNote(*fresh);
    EXPECT_EQ(fresh->m_noteId, 2u);
    std::unique_ptr<CNoteController> second = MakeNote(kRows[1], 10);
    SaveNote(*second);
    EXPECT_EQ(second->m_noteId, 4u);
    std::unique_ptr<CNoteController> third = MakeNote(kRows[0], 11);
    SaveNote(*third);
    EXPECT_EQ(third->m_noteId, 6u) << "no free record left: appended";
    NoWorkingCopiesLeft();

    TableNotes again = Load(1, {false, false, true});
    ASSERT_EQ(again.size(), 6u);
    EXPECT_FALSE(again[4]->m_notShared) << "user 2 now shares";
    EXPECT_EQ(again[1]->RichText(), fresh->RichText());
}

TEST_F(NotesTable, ANewNoteWhoseTextMayNotBeStoredKeepsItsNumberAndLeavesTheFreeRecordFreeAndTheLock)
{
    SaveNewNotes(2);
    SetNumber(1, "WUSERID", 0);
    ASSERT_EQ(Load().size(), 1u);  // record 1 is now free
    std::string before = Read("notes.QPD");

    // A locked note open on the screen, with no password to encipher its text
    // with: nothing is stored (never its plain text), when saved or before a
    // send. The box waits until the lock of the notes table is released.
    MessageBoxRecorder boxes;
    std::vector<bool> lockFree;
    boxes.WhileShown([&] { lockFree.push_back(LockFreeForOthers(NotesTableLock())); });
    std::unique_ptr<CNoteController> locked = MakeNote(kRows[0], 3);
    locked->m_protected = true;
    SaveNote(*locked);
    SaveNoteBeforeSend(*locked);
    EXPECT_EQ(lockFree, std::vector<bool>(2, true));
    EXPECT_EQ(locked->m_noteId, kUnsavedNoteId);
    EXPECT_EQ(NotesFreeSlots().First(), 1u);
    EXPECT_EQ(Read("notes.QPD"), before);
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_NE(boxes.LastText().find("is locked, but there is no password to encipher it with"), std::string::npos);
    EXPECT_EQ(Read("error.txt").find(locked->RichText()), std::string::npos);
    NoWorkingCopiesLeft();

    // Masked, it stores its enciphered body and takes the free record.
    locked->m_masked = true;
    locked->m_protectedContent = "enciphered bytes";
    SaveNote(*locked);
    EXPECT_EQ(locked->m_noteId, 1u);
    TableNotes loaded = Load();
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[0]->RichText(), "enciphered bytes");
}

TEST_F(NotesTable, ASaveRepairsAMissingFileFromItsWorkingCopyAndSavesNothingThatTime)
{
    MessageBoxRecorder boxes;
    std::unique_ptr<CNoteController> note = MakeNote(kRows[0], 1);
    SaveNote(*note);
    ASSERT_TRUE(MoveFileA(File("notes.qps").c_str(), File("notesTemp.QPS").c_str()));
    note->m_left = 99;
    SaveNote(*note);
    EXPECT_TRUE(boxes.Saw("The 'notes.qps' memo file is missing.\r\nThe 'notesTemp.QPS' memo file exists. Rename "
                          "the working file as the original data file."));
    NoWorkingCopiesLeft();
    EXPECT_EQ(Load()[0]->m_left, 10);

    ASSERT_TRUE(MoveFileA(File("notes.QPD").c_str(), File("notesTemp.QPD").c_str()));
    SaveNote(*note);
    EXPECT_EQ(boxes.Count(), 1u) << "a table put back from its working copy is only logged";
    NoWorkingCopiesLeft();
    SaveNote(*note);
    EXPECT_EQ(Load()[0]->m_left, 99);

    DeleteFileA(File("notes.QPD").c_str());
    SaveNote(*note);
    EXPECT_TRUE(boxes.Saw(
        "The notes.qpd file is missing. Have you deleted it by accident?\r\n Quillnet+ cannot save the notes."));
}

TEST_F(NotesTable, AWorkingCopyThatCannotBeWrittenSavesNothingAndTheNextSaveGoesThrough)
{
    std::unique_ptr<CNoteController> stored = MakeNote(kRows[0], 1);
    ASSERT_TRUE(SaveNote(*stored));
    std::string before = Read("notes.QPD");

    // A working copy left by a stop, held by another program.
    WriteWholeFile(File("notesTemp.QPD"), "left by a stop");
    HeldFile holder(File("notesTemp.QPD"), kHolderSharesNothing);
    ASSERT_TRUE(holder.Held());
    stored->m_left = 77;
    EXPECT_FALSE(SaveNote(*stored));
    std::unique_ptr<CNoteController> fresh = MakeNote(kRows[1], 2);
    EXPECT_FALSE(SaveNote(*fresh));
    EXPECT_EQ(fresh->m_noteId, kUnsavedNoteId);
    EXPECT_EQ(Read("notes.QPD"), before);
    EXPECT_NE(Read("error.txt").find("CreateOverwrite failed"), std::string::npos);

    holder.Release();
    EXPECT_TRUE(SaveNote(*stored));
    EXPECT_TRUE(SaveNote(*fresh));
    EXPECT_EQ(fresh->m_noteId, 2u);
    NoWorkingCopiesLeft();
    TableNotes loaded = Load();
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[0]->m_left, 77);
    EXPECT_EQ(loaded[0]->RichText(), stored->RichText());
    EXPECT_EQ(loaded[1]->RichText(), fresh->RichText());
}

TEST_F(NotesTable, AnEndGivesUpAHeldTableAfterOneRoundOfTriesOnEveryThreadAndTheNextSaveTriesAgain)
{
    std::unique_ptr<CNoteController> stored = MakeNote(kRows[0], 1);
    ASSERT_TRUE(SaveNote(*stored));
    HeldFile holder(File("notes.QPD"), kHolderSharesNothing);
    ASSERT_TRUE(holder.Held());
    const auto tries = [this] { return Occurrences(Read("error.txt"), " Iteration "); };
    std::unique_ptr<CNoteController> fresh = MakeNote(kRows[1], 2);
    std::unique_ptr<CNoteController> sent = MakeNote(kRows[2], 3);
    {
        CHeldFilesMetOnce end(HeldFileWork::kEnd);
        stored->m_left = 66;
        EXPECT_FALSE(SaveNote(*stored));
        EXPECT_EQ(tries(), static_cast<size_t>(kFileStepTries));
        // Every later save of the end fails at once, a send thread's too.
        EXPECT_FALSE(SaveNote(*fresh));
        std::thread sender([&] { SaveNoteBeforeSend(*sent); });
        sender.join();
        EXPECT_EQ(sent->m_noteId, kUnsavedNoteId);
        EXPECT_EQ(tries(), static_cast<size_t>(kFileStepTries));
        EXPECT_EQ(Occurrences(Read("error.txt"), "given up for the rest of this end"), 1u);
    }
    // Once the end is over the table is tried in full again, and stored once free.
    EXPECT_FALSE(SaveNote(*fresh));
    EXPECT_EQ(tries(), static_cast<size_t>(2 * kFileStepTries));
    holder.Release();
    EXPECT_TRUE(SaveNote(*stored));
    EXPECT_TRUE(SaveNote(*fresh));
    TableNotes loaded = Load();
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[0]->m_left, 66);
}

TEST_F(NotesTable, ARebuiltMemoFileKeepsOnlyLiveTextsAndNoTextIsLost)
{
    TableNotes notes = SaveNewNotes(4);
    // Older texts pile up in the memo file; record 4 becomes a zombie and is deleted.
    for (int round = 0; round < 5; ++round) {
        std::string text = Text(20000, static_cast<char>(round));
        notes[0]->SetRichText(text.data(), text.size());
        SaveNote(*notes[0]);
    }
    SetNumber(4, "WUSERID", 0);
    ASSERT_EQ(Load().size(), 3u);
    size_t memoBefore = Read("notes.qps").size();
    std::string oldSecond = notes[1]->RichText();
    std::string oldThird = notes[2]->RichText();

    // The first note has a new text; the second may not store what it holds
    // (locked, with no password to encipher it); the third is not in the list at all.
    std::string newest = Text(3000, 'q');
    notes[0]->SetRichText(newest.data(), newest.size());
    notes[1]->m_protected = true;
    notes[1]->SetRichText("shown plain text", 16);
    std::unique_ptr<CNoteController> fresh = MakeNote(kRows[0], 7);
    MessageBoxRecorder boxes;
    SaveNotes({notes[0].get(), notes[1].get(), fresh.get()}, true);
    EXPECT_EQ(boxes.Count(), 1u);

    EXPECT_LT(Read("notes.qps").size(), memoBefore / 2) << "only the texts live records name are kept";
    EXPECT_FALSE(FileExists(File("notesNew.QPD")));
    EXPECT_FALSE(FileExists(File("notesNew.QPS")));
    NoWorkingCopiesLeft();
    EXPECT_EQ(fresh->m_noteId, 4u) << "a note without a record is saved after the rebuild";
    TableNotes loaded = Load();
    ASSERT_EQ(loaded.size(), 4u);
    EXPECT_EQ(loaded[0]->RichText(), newest);
    EXPECT_EQ(loaded[1]->RichText(), oldSecond);
    EXPECT_EQ(loaded[2]->RichText(), oldThird);
    EXPECT_EQ(loaded[3]->RichText(), fresh->RichText());
}

TEST_F(NotesTable, NotesSavedTogetherTakeFreeAndNewRecordsAndALockedShownNoteKeepsItsOwn)
{
    TableNotes stored = SaveNewNotes(3);
    SetNumber(2, "WUSERID", 0);
    ASSERT_EQ(Load().size(), 2u);  // record 2 is now free
    const std::string oldThird = stored[2]->RichText();

    // The first note changed; the third locked without a password, its place changed;
    // three new notes, of which the middle one is locked without a password too.
    std::string changed = Text(5000, 'c');
    stored[0]->SetRichText(changed.data(), changed.size());
    stored[0]->m_left = 55;
    stored[2]->m_protected = true;
    stored[2]->m_left = 66;
    TableNotes fresh;
    for (int i = 0; i < 3; ++i)
        fresh.push_back(MakeNote(kRows[1], static_cast<char>(10 + i)));
    fresh[1]->m_protected = true;
    MessageBoxRecorder boxes;
    SaveNotes({stored[0].get(), stored[2].get(), fresh[0].get(), fresh[1].get(), fresh[2].get()}, false);
    EXPECT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(fresh[0]->m_noteId, 2u) << "the free record first";
    EXPECT_EQ(fresh[1]->m_noteId, kUnsavedNoteId);
    EXPECT_EQ(fresh[2]->m_noteId, 4u) << "then a new one";
    EXPECT_EQ(NotesFreeSlots().Count(), 0u);
    NoWorkingCopiesLeft();
    EXPECT_FALSE(FileExists(File("error.txt")) && Read("error.txt").find("SaveNotes(): ") != std::string::npos);

    TableNotes loaded = Load();
    ASSERT_EQ(loaded.size(), 4u);
    EXPECT_EQ(loaded[0]->RichText(), changed);
    EXPECT_EQ(loaded[0]->m_left, 55);
    EXPECT_EQ(loaded[1]->RichText(), fresh[0]->RichText());
    EXPECT_EQ(loaded[2]->RichText(), oldThird);
    EXPECT_EQ(loaded[2]->m_left, kRows[0].left) << "a note not stored keeps its whole record";
    EXPECT_EQ(loaded[3]->RichText(), fresh[2]->RichText());

    // A note whose record the table does not hold stops the saving together:
    // nothing of it stays behind, and the notes are saved one by one.
    std::string again = Text(700, 'a');
    stored[0]->SetRichText(again.data(), again.size());
    std::unique_ptr<CNoteController> stray = MakeNote(kRows[0], 20);
    stray->m_noteId = 50;
    std::unique_ptr<CNoteController> another = MakeNote(kRows[0], 21);
    SaveNotes({stray.get(), another.get(), stored[0].get()}, false);
    EXPECT_NE(Read("error.txt").find("SaveNotes(): "), std::string::npos);
    EXPECT_EQ(another->m_noteId, 5u);
    NoWorkingCopiesLeft();
    loaded = Load();
    ASSERT_EQ(loaded.size(), 5u);
    EXPECT_EQ(loaded[0]->RichText(), again);
    EXPECT_EQ(loaded[4]->RichText(), another->RichText());
}

TEST_F(NotesTable, NotesWithDamagedTextsAreLoadedEmptyAndLogged)
{
    TableNotes notes = SaveNewNotes(3);
    // Record 1 names a block past the end; record 2's block states a length
    // longer than the whole memo file.
    SetNumber(1, "TEXT", 99999);
    const long block = std::stol(Field("notes.QPD", 2, "TEXT"));
    std::string memo = Read("notes.qps");
    ASSERT_LT(static_cast<size_t>(block) * 64 + 8, memo.size());
    memo.replace(block * 64 + 4, 4, std::string("\x7F\xFF\xFF\xFF", 4));
    WriteWholeFile(File("notes.qps"), memo);

    TableNotes loaded = Load();
    ASSERT_EQ(loaded.size(), 3u);
    EXPECT_EQ(loaded[0]->RichText(), "");
    EXPECT_EQ(loaded[1]->RichText(), "");
    EXPECT_EQ(loaded[2]->RichText(), notes[2]->RichText());
    std::string log = Read("error.txt");
    EXPECT_NE(log.find("Error GetSizeOfMemoField, the title of the note is \"Shopping\"\r\n  notes.qps file size= "),
              std::string::npos);
    EXPECT_NE(log.find(", BlockNumber= 99999, Offset of memo field= "), std::string::npos);
    EXPECT_NE(log.find("Error reading a memo field, the title of the note is \"Shopping\"\r\n"), std::string::npos);
    EXPECT_NE(log.find("memo field size= 2147483647 (?!), Memo block number= " + std::to_string(block)),
              std::string::npos);
}

TEST_F(NotesTable, ATextThatRunsPastTheMemoFileIsLoadedEmptyBetweenWholeOnes)
{
    TableNotes notes = SaveNewNotes(4);
    notes[3]->SetRichText("", 0);
    SaveNote(*notes[3]);
    // Record 2's text claims more bytes than follow it, though fewer than the file holds.
    const long block = std::stol(Field("notes.QPD", 2, "TEXT"));
    std::string memo = Read("notes.qps");
    const size_t claimed = memo.size() - static_cast<size_t>(block) * 64;
    ASSERT_LT(claimed, memo.size());
    const std::string length = {static_cast<char>(claimed >> 24), static_cast<char>(claimed >> 16),
                                static_cast<char>(claimed >> 8), static_cast<char>(claimed)};
    memo.replace(block * 64 + 4, 4, length);
    WriteWholeFile(File("notes.qps"), memo);

    TableNotes loaded = Load();
    ASSERT_EQ(loaded.size(), 4u);
    EXPECT_EQ(loaded[0]->RichText(), notes[0]->RichText());
    EXPECT_EQ(loaded[1]->RichText(), "");
    EXPECT_EQ(loaded[2]->RichText(), notes[2]->RichText());
    EXPECT_EQ(loaded[3]->RichText(), "");
    EXPECT_NE(Read("error.txt").find("CDbfFile::ReadMemoField exception 1 raised: \"The memo file "),
              std::string::npos);
}
