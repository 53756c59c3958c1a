// A data folder written by either kind of program (32 or 64 bits) is read
// whole by the other: both kinds, given the same notes of every kind, store
// the same bytes, and each makes of the other's folder the backup the other
// makes of it.
#include <gtest/gtest.h>

#include "BackupDriving.h"
#include "support/NoteDriving.h"
#include "support/OtherKind.h"
#include "support/ProtectedUser.h"
#include "support/TempFolder.h"
#include "store/bytes/ByteStore.h"
#include "store/bytes/TableCursor.h"
#include "store/bytes/TableGroups.h"

namespace {
const char kEveryKind[] = "every-kind.QPK";

// Notes of every kind, as a backup brings them: a locked note, one in a group
// that follows a window, and one with styled text, a recurring alarm, a
// texture, transparency, ruled lines and the sender it was received from.
void WriteEveryKindOfNote(const std::string& path)
{
    BackupNote styled;
    styled.title = "Styled";
    styled.content = "{\\rtf1\\ansi {\\b Bold} {\\i italic} {\\ul under} {\\fs32 large}}";
    styled.text = "Bold italic under large";
    styled.bodyFont.name = "Tahoma";
    styled.bodyFont.size = 12;
    styled.bodyFont.bold = true;
    styled.alarm.set = true;
    styled.alarm.when = BackupStamp{2031, 4, 2, 8, 15};
    styled.alarm.recurring = true;
    styled.alarm.value = 2;
    styled.alarm.unit = 4;
    styled.backgroundKind = 4;
    styled.textureId = 3;
    styled.transparency = 40;
    styled.horizontalLines = 1;
    styled.receivedFromComputer = "PC-ANNA";
    styled.receivedFromUser = "Anna";
    styled.created = BackupDateTime{BackupStamp{2026, 11, 30, 17, 45}, 12};
    styled.left = 300;
    styled.top = 120;
    std::vector<BackupNote> notes = LockedAndGroupedNotes();
    notes.push_back(styled);
    WriteBackupFile(path, notes);
}

// The install's program, of whichever kind it holds now, writes its notes
// anew from the backup: restored in place of its notes, then its end.
void ProgramWritesEveryNote(const ProgramInstall& install)
{
    RunningProgram program(install, "");
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    EXPECT_EQ(SilentRestoreErrors(install, program.ProcessId(), std::string("/replaceSilently ") + kEveryKind), "");
    CloseProgram(install, program);
}

// The backup the install's program makes of what it reads from the folder,
// without the line that dates it.
std::string BackupOfProgram(const ProgramInstall& install, const std::string& name)
{
    RunningProgram program(install, "");
    EXPECT_NE(WaitForMainWindow(program), nullptr);
    RunToEnd(install, "/backup " + name);
    const std::string file = install.File(name);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(file); }));
    CloseProgram(install, program);
    return FileExists(file) ? ReadWholeFile(file) : std::string();
}

// A field's value without its trailing blanks, and with what belongs to its
// install alone (its folder, its ports) named instead.
std::string ComparableValue(const ProgramInstall& install, std::string value)
{
    value.erase(value.find_last_not_of(' ') + 1);
    if (value.rfind(install.Path(), 0) == 0)
        value.replace(0, install.Path().size(), "<data folder>");
    if (value == std::to_string(install.ListenPort()))
        value = "<listen port>";
    if (value == std::to_string(install.SendPort()))
        value = "<send port>";
    return value;
}

// Every field of every record of the folder's tables, deciphered, by table,
// record and field ("config.QPD 1 PORT"), and the memo files' bytes.
std::map<std::string, std::string> StoredFields(const ProgramInstall& install)
{
    std::map<std::string, std::string> stored;
    for (const auto& file : DataFilesUnder(install.Path())) {
        const std::string& name = file.first;
        if (name.find('\\') != std::string::npos || name.size() < 4)
            continue;
        const std::string kind = name.substr(name.size() - 4);
        if (kind == ".QPS") {
            stored[name] = file.second;
            continue;
        }
        if (kind != ".QPD" || FindTableGroup(name.c_str()) == TableGroup::kNone)
            continue;
        CMemoryByteStore bytes(std::vector<unsigned char>(file.second.begin(), file.second.end()));
        CTableCursor table;
        table.UseKeys(FindTableGroup(name.c_str()), true);
        table.Attach(bytes, name.c_str());
        const CFieldTable& fields = table.Fields();
        for (table.GoTop(); !table.IsEOF(); table.Skip(1))
            for (unsigned f = 0; f < fields.Count(); ++f)
                stored[name + " " + std::to_string(table.GetRecno()) + " " + fields.NameAt(f)] =
                    ComparableValue(install, table.GetStringValue(fields.NameAt(f).c_str()));
        table.Detach();
    }
    return stored;
}
}

TEST(CrossKinds, ADataFolderWrittenByEitherKindIsReadWholeByTheOther)
{
    SKIP_UNLESS_OTHER_KIND_RUNS();
    ProgramInstall own("own");
    ProgramInstall other("other");
    UseOtherKindProgram(other);
    for (ProgramInstall* install : {&own, &other}) {
        install->AddInstalledDataFiles();
        FirstRun(*install);
        PrepareProtectingUser(*install, 1);
        SetBackupOptions(*install, true, 9, true, 7);
        WriteEveryKindOfNote(install->File(kEveryKind));
        ProgramWritesEveryNote(*install);
    }

    // Each kind stored the same values.
    const auto ownFields = StoredFields(own);
    const auto otherFields = StoredFields(other);
    ASSERT_FALSE(ownFields.empty());
    for (const auto& field : ownFields) {
        ASSERT_EQ(otherFields.count(field.first), 1u) << field.first;
        EXPECT_TRUE(otherFields.at(field.first) == field.second)
            << field.first << ": \"" << field.second << "\" and \"" << otherFields.at(field.first) << "\"";
    }
    EXPECT_EQ(otherFields.size(), ownFields.size());

    // Each kind reads the other's folder as the other reads it.
    const std::string ownOfOwn = BackupOfProgram(own, "read-by-own.QPK");
    const std::string otherOfOther = BackupOfProgram(other, "read-by-other.QPK");
    UseOtherKindProgram(own);
    UseOwnKindProgram(other);
    const std::string otherOfOwn = BackupOfProgram(own, "read-by-other.QPK");
    const std::string ownOfOther = BackupOfProgram(other, "read-by-own.QPK");
    ASSERT_NE(ownOfOwn.find("Styled"), std::string::npos);
    EXPECT_EQ(otherOfOwn, ownOfOwn);
    EXPECT_EQ(ownOfOther, otherOfOther);
    EXPECT_EQ(ownOfOther, ownOfOwn);
}
