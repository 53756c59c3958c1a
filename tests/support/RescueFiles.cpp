#include "support/RescueFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "foundation/FileHelpers.h"
#include "resources/ids/RestoreIds.h"
#include "support/DialogClicks.h"
#include "support/NoteDriving.h"
#include "support/TempFolder.h"
#include "support/TextChecks.h"
#include "xmlfiles/XmlWriter.h"
#include "xmlfiles/bytes/BackupNames.h"
#include "xmlfiles/bytes/BackupWriting.h"

namespace {
// The bytes of a backup of one note, headed by the comment when one is given.
void WriteOneNote(const std::string& path, const std::string& text, const std::string& firstComment)
{
    BackupNote note;
    note.title = text;
    note.left = 300;
    note.top = 200;
    note.content = "{\\rtf1\\ansi " + text + "}";
    CXmlWriter writer(kBackupHeaderLine, kBackupRootName);
    writer.Open(path.c_str());
    if (!firstComment.empty())
        writer.WriteComment(firstComment.c_str(), 1);
    WriteNoteXml(writer, note, 1);
    WriteComputersXml(writer, {}, 1);
    writer.Close();
}
}

void WriteOneNoteBackup(const std::string& path, const std::string& text)
{
    WriteOneNote(path, text, "");
}

namespace {
unsigned long long RescueTableWriteTime(const ProgramInstall& install)
{
    WIN32_FILE_ATTRIBUTE_DATA table{};
    EXPECT_TRUE(GetFileAttributesExA(install.File("notes.QPD").c_str(), GetFileExInfoStandard, &table));
    return (static_cast<unsigned long long>(table.ftLastWriteTime.dwHighDateTime) << 32) |
           table.ftLastWriteTime.dwLowDateTime;
}
}

void WriteOneNoteRescue(const ProgramInstall& install, const std::string& rescuePath, const std::string& text)
{
    WriteOneNote(rescuePath, text, RescueTableTimeComment(RescueTableWriteTime(install)));
}

void WriteMarkedOneNoteRescue(const ProgramInstall& install, const std::string& rescuePath, const std::string& text)
{
    WriteOneNoteRescue(install, rescuePath, text);
    const std::string name = FileNameOf(rescuePath);
    const std::string mark = RescueMarkName(name);
    ASSERT_FALSE(mark.empty()) << name;
    WriteWholeFile(rescuePath.substr(0, rescuePath.size() - name.size()) + mark,
                   RescueMarkText(name, RescueTableWriteTime(install)));
}

std::vector<std::string> RescueMarksIn(const std::string& folder)
{
    return FileNamesMatching(folder + "\\Unstored *.txt");
}

void TakeTheRescueOfferedAtStart(ProgramInstall& install, const std::string& rescue)
{
    RunningProgram program(install, "");
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    const DWORD process = program.ProcessId();
    const std::string offer = AnswerProgramBox(process, IDYES);
    EXPECT_TRUE(Contains(offer, "\\BACKUP\\" + rescue + "\r\n")) << offer;
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        dialog = FindTopWindowTitled("#32770", "Restore notes...", process);
        return dialog && IsWindowVisible(dialog);
    }));
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RESTORE_REPLACE), BST_CHECKED);
    ASSERT_TRUE(ClickDialogButton(dialog, IDOK));
    EXPECT_TRUE(Contains(AcknowledgeProgramBox(process), "The restore operation has been successfully"));
    CloseProgram(install, program);
}
