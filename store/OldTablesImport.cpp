#include "store/OldTablesImport.h"

#include <string>
#include <vector>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "globals/ProgramGlobals.h"
#include "store/DataFilesInstall.h"
#include "store/DbfFile.h"
#include "store/FieldAccess.h"
#include "store/FontFields.h"
#include "store/NoteRecordFields.h"
#include "store/OldNoteRecord.h"
#include "store/SettingsTable.h"
#include "store/TableText.h"
#include "store/UpgradeFileSteps.h"
#include "store/UserRecord.h"

namespace {
const char kUpgradeNotesPrefix[] = "Upgrade SaveRecordToFile";

// What an old user record carries over into the new record written for it.
struct OldUser {
    std::string userName;
    std::string computerName;
    COLORREF noteColor;
    COLORREF textColor;
    std::string title;
    bool stayOnTop, border, showDate;
    LOGFONTA bodyFont;
    long saveInterval, language;
    long widthInTens, heightInTens;
};

std::vector<OldUser> ReadOldUsers()
{
    std::vector<OldUser> users;
    CDbfFile old;
    old.SetTable(DataFilePath(DataName::kUsersTable).c_str(), true);
    old.Open("READ");
    for (old.GoTop(); !old.IsEOF(); old.Skip(1)) {
        OldUser user;
        user.userName = ReadText(old, "SZUSERNAME", 99);
        user.computerName = ReadText(old, "SZCOMPUTER", 16);
        user.noteColor = ReadColour(old, kNoteColourFields);
        user.textColor = ReadColour(old, kTextColourFields);
        user.title = ReadText(old, "SZTITLE", 40);
        user.stayOnTop = old.GetLogicalValue("BSTAYONTOP");
        user.border = old.GetLogicalValue("BHASBORDER");
        user.showDate = old.GetLogicalValue("BSHOWDATE");
        user.bodyFont = ReadFontFields(old, FontFieldSet::kBody);
        user.saveInterval = old.GetLongValue("WSAVEINT");
        user.language = old.GetLongValue("WLANGUAGE");
        user.widthInTens = old.GetLongValue("BYNUMERAT");
        user.heightInTens = old.GetLongValue("BYDENOMIN");
        users.push_back(user);
    }
    old.Close();
    return users;
}

void CarryOldUserValues(const OldUser& old, CDbfFile& users, DWORD record)
{
    WriteColour(users, record, kNoteColourFields, old.noteColor);
    WriteColour(users, record, kTextColourFields, old.textColor);
    WriteText(users, record, "SZTITLE", old.title.c_str());
    WriteLogical(users, record, "BSTAYONTOP", old.stayOnTop);
    WriteLogical(users, record, "BHASBORDER", old.border);
    WriteLogical(users, record, "BSHOWDATE", old.showDate);
    WriteFontFields(users, record, FontFieldSet::kBody, old.bodyFont);
    WriteNumber(users, record, "WSAVEINT", old.saveInterval);
    WriteNumber(users, record, "WLANGUAGE", old.language);
    WriteNumber(users, record, "WNOWIDTH", old.widthInTens * 10);
    WriteNumber(users, record, "WNOHEIGHT", old.heightInTens * 10);
    // Show-desktop Alt+Shift+D and park Alt+Shift+P; the record counts as one
    // written before the digit settings, so its first reading resets them.
    WriteText(users, record, "SZINITTEXT", "0,1,1,68,0,1,1,80,");
    const long digits[4] = {1, 7, 0, 1};
    const char* const digitFields[4] = {"BYIPPART1", "BYIPPART2", "BYIPPART3", "BYIPPART4"};
    for (int i = 0; i < 4; ++i)
        WriteNumber(users, record, digitFields[i], digits[i]);
}

// The old notes go into a fresh copy of the new notes table and memo file,
// made in a folder of its own inside "UPGRADE" on every attempt: an attempt
// after a stop half-way never finds the notes of the one before.
const char kImportFolder[] = "IMPORT";

std::string ImportFilePath(const char* name)
{
    return UpgradeFilePath(std::string(kImportFolder) + "\\" + name);
}

std::string ImportFileName(const char* name)
{
    return std::string(DataName::kUpgradeFolder) + "\\" + kImportFolder + "\\" + name;
}

// One old note appended to the new notes table of the import folder.
void UpgradeNotes(const CNoteDataRecord& note)
{
    CDbfFile notes;
    notes.SetTable(ImportFilePath(DataName::kNotesTable).c_str(), true);
    notes.Open("MAPPINGAPPEND");
    notes.Close();
    notes.Open("MAPPINGALL");
    DWORD record = notes.GetRecordCount();
    notes.GoTo(record);
    WriteCreationTime(notes, record, note.created);
    WriteNumber(notes, record, "WLEFT", note.left);
    WriteNumber(notes, record, "WTOP", note.top);
    WriteNumber(notes, record, "WHEIGHT", note.height);
    WriteNumber(notes, record, "WWIDTH", note.width);
    WriteColour(notes, record, kNoteColourFields, note.bodyColor);
    WriteColour(notes, record, kTextColourFields, note.textColor);
    WriteText(notes, record, "SZTITLE", note.title);
    WriteColour(notes, record, kTitleColourFields, note.titleColor);
    WriteColour(notes, record, kTitleTextColourFields, note.titleTextColor);
    WriteNumber(notes, record, "WUSERID", static_cast<long>(note.userId));
    WriteLogical(notes, record, "BSENT", note.sent != 0);
    WriteLogical(notes, record, "BRECEIVED", note.received != 0);
    WriteLogical(notes, record, "BSENT1", note.sent1 != 0);
    WriteLogical(notes, record, "BRECEIVED1", note.received1 != 0);
    WriteLogical(notes, record, "BROLLUP", false);
    WriteLogical(notes, record, "BSHOWDATE", note.showDate != 0);
    WriteLogical(notes, record, "BSTAYONTOP", note.stayOnTop != 0);
    WriteLogical(notes, record, "BHASBORDER", note.border != 0);
    WriteLogical(notes, record, "BMINIMIZED", note.minimized != 0);
    WriteFontFields(notes, record, FontFieldSet::kBody, note.bodyFont);
    WriteFontFields(notes, record, FontFieldSet::kTitle, note.titleFont);
    WriteLogical(notes, record, "BALARMSET", false);
    WriteLogical(notes, record, "BDELAY", false);
    WriteNumber(notes, record, "BYDELAY", 1);
    WriteNumber(notes, record, "BYDELAYTYP", 3);
    WriteLogical(notes, record, "BDEJAALARM", false);
    WriteLogical(notes, record, "BRETRY", false);
    const char* text = note.text.GetAddress();
    DWORD length = text ? static_cast<DWORD>(lstrlenA(text)) : 0;
    DWORD block = length ? notes.SaveTextInMemoFile(text, length) : 0;
    WriteNumber(notes, record, "TEXT", static_cast<long>(block));
    notes.Close();
}

void CopyIntoImportFolder(const char* name)
{
    CopyWhole(UpgradeFilePath(name), ImportFilePath(name), std::string(DataName::kUpgradeFolder) + "\\" + name,
              ImportFileName(name));
}

// The imported pair replaces the old one, the table first: a start after a
// stop in between finds the table in the new layout and puts the kept pair back.
void InstallImportedNotes()
{
    for (const char* name : {DataName::kNotesTable, DataName::kNotesMemo})
        CopyWhole(ImportFilePath(name), DataFilePath(name), ImportFileName(name), name);
}

void ImportNotes(DWORD userIdOffset)
{
    CreateDirectoryA(UpgradeFilePath(kImportFolder).c_str(), nullptr);
    CopyIntoImportFolder(DataName::kNotesTable);
    CopyIntoImportFolder(DataName::kNotesMemo);
    CDbfFile old;
    old.SetTable(DataFilePath(DataName::kNotesTable).c_str(), true);
    old.Open("READ");
    for (old.GoTop(); !old.IsEOF(); old.Skip(1)) {
        try {
            CNoteDataRecord note;
            ReadOldNoteRecord(old, note);
            note.userId += userIdOffset;
            UpgradeNotes(note);
        } catch (const CGenericException& e) {
            WriteErrorLog(kUpgradeNotesPrefix, e.GetErrorText());
        } catch (...) {
            WriteErrorLog(" Upgrade SaveRecordToFile Unknown", "");
        }
    }
    old.Close();
    InstallImportedNotes();
}

// The new settings table goes into place marked as an import under way.
void MarkUpgradeSettings()
{
    CDbfFile config;
    config.SetTable(UpgradeFilePath(DataName::kSettingsTable).c_str(), true);
    config.Open("MAPPINGALL");
    config.GoTo(1);
    config.SetDoubleValue(1, "VERSION", kImportUnfinishedVersion / 100.0);
    config.Close();
}
}

DWORD UpgradeConfigAndUsers()
{
    std::vector<OldUser> oldUsers = ReadOldUsers();
    DWORD offset = CountTableRecords(UpgradeFilePath(DataName::kUsersTable).c_str());
    CopyFromUpgrade(DataName::kUsersTable);
    // The writer of new users works through the current user's settings; they
    // are put back afterwards, and the logged-on user's names are not touched.
    CUserSettings current = UserSettings();
    for (const OldUser& old : oldUsers) {
        FillNewUserRecord(old.userName.c_str(), old.computerName.c_str());
        CDbfFile users;
        users.SetTable(DataFilePath(DataName::kUsersTable).c_str(), true);
        users.Open("MAPPINGALL");
        DWORD record = users.GetRecordCount();
        users.GoTo(record);
        CarryOldUserValues(old, users, record);
        users.Close();
    }
    UserSettings() = current;
    return offset;
}

void MigrateOldDataFiles()
{
    // An import under way has put the new settings table in place already,
    // after keeping the old one; it may have replaced the users and notes too.
    if (!TableHasField(DataFilePath(DataName::kSettingsTable), "VERSION")) {
        KeepOldCopy(DataName::kSettingsTable, "configOld.QPD");
        KeepOldCopy(DataName::kSettingsMemo, "configOld.QPS");
    }
    KeepOrPutBack(DataName::kUsersTable, "usersOld.QPD",
                  TableHasField(DataFilePath(DataName::kUsersTable), "DISPLRETRY"));
    KeepOrPutBack(DataName::kNotesTable, "notesOld.QPD", DataName::kNotesMemo, "notesOld.QPS",
                  TableHasField(DataFilePath(DataName::kNotesTable), "CREATEDBY"));

    // The table before its memo file: the mark covers both.
    MarkUpgradeSettings();
    CopyFromUpgrade(DataName::kSettingsTable);
    CopyFromUpgrade(DataName::kSettingsMemo);
    LoadSettings();

    DWORD offset = UpgradeConfigAndUsers();
    ImportNotes(offset);
    CopyFromUpgrade(DataName::kSentToTable);
    CopyFromUpgrade(DataName::kTransactionsTable);
    // Last: from here a start finds the tables current.
    SetConfigVersion();
}
