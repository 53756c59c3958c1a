// Backups of every note: by hand from the tray, silently from the command
// line, once a day from the housekeeping tick and at the program's end.
#include <winsock2.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/bytes/BytesPrint.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"
#include "note/NoteController.h"
#include "shell/BackupNoteRecords.h"
#include "shell/BackupRestore.h"
#include "shell/NoteLists.h"
#include "globals/ProgramGlobals.h"
#include "shell/WindowController.h"
#include "store/BackupFolderCheck.h"
#include "xmlfiles/BackupList.h"
#include "xmlfiles/UnrestoreSet.h"
#include "xmlfiles/XmlWriter.h"
#include "xmlfiles/bytes/BackupNames.h"
#include "xmlfiles/bytes/BackupWriting.h"

namespace {
std::string CompletionText(const std::string& fileName)
{
    const std::string folder = BackupFolderPath();
    if (lstrcmpiA(folder.c_str(), DataFilePath(DataName::kBackupFolder).c_str()) == 0)
        return "Backup completed successfully to: BACKUP\\" + fileName;
    return "Backup completed successfully to: " + folder + "\\" + fileName;
}

// Every note and the computers, between the root's tags.
void WriteBackupContent(CWindowController& app, CXmlLineSink& sink)
{
    int number = 1;
    // Every note is on the one screen: its pixels per inch are read once.
    const int pixelsPerInch = PixelsPerInchOf(app.GetWindow());
    auto write = [&](CNoteController* note) {
        WriteNoteXml(sink, BackupRecordOf(*note, pixelsPerInch), number++);
        return true;
    };
    ForEachNote(app.OwnNotes(), write);
    ForEachNote(app.OtherNotes(), write);
    sink.WriteLine("   ");
    sink.WriteComment("The overall list of computers where any note was sent to", 1);
    WriteComputersXml(sink, BackupComputersOfSentToList(), 1);
}

void WriteBackupFile(CWindowController& app, const std::string& path)
{
    CXmlWriter writer(kBackupHeaderLine, kBackupRootName);
    writer.Open(path.c_str());
    WriteBackupContent(app, writer);
    writer.Close();
}

class WaitCursor {
public:
    WaitCursor() : m_previous(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(m_previous ? m_previous : LoadCursorA(nullptr, IDC_ARROW)); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR m_previous;
};
}

bool BackupNotesToXml(CWindowController& app, bool interactive, const char* nameText)
{
    HWND owner = app.GetWindow();
    if (app.OwnNotes().IsEmpty() && app.OtherNotes().IsEmpty()) {
        if (interactive)
            ShowInfoMessage(owner, "Right now you have no notes to backup", ProgramTitle);
        return false;
    }
    const std::string name = nameText ? nameText : "";
    const BackupStamp now = BackupStampNow();
    std::string path;
    std::string fileName;
    if (name.empty()) {
        EnsureBackupFolder(owner);
        fileName = BackupFileName(now, ".QPK");
        path = BackupFilePath(fileName);
    } else {
        path = PathOfNamedFile(name);
        fileName = name;
    }
    {
        WaitCursor wait;
        try {
            WriteBackupFile(app, path);
        } catch (const CGenericException& failure) {
            // A backup by hand reports through the command's own handler; one
            // nobody watches is logged.
            if (interactive)
                throw;
            WriteErrorLog("BackupNotesToXml():", failure.GetErrorText());
            return false;
        }
        ExpireUnrestoreSet(interactive, now);
    }
    if (interactive)
        ShowInfoMessage(owner, CompletionText(fileName).c_str(), ProgramTitle);
    return true;
}

std::string RescueBackupText(CWindowController& app, unsigned long long tableWriteTime)
{
    CXmlTextSink text;
    text.WriteLine(kBackupHeaderLine);
    text.WriteStartTag(kBackupRootName, 0);
    text.WriteComment(RescueTableTimeComment(tableWriteTime).c_str(), 1);
    WriteBackupContent(app, text);
    text.WriteEndTag(kBackupRootName, 0);
    return text.Text();
}

std::string NotesPrint(CWindowController& app)
{
    std::vector<std::string> notes;
    const int pixelsPerInch = PixelsPerInchOf(app.GetWindow());
    auto add = [&](CNoteController* note) {
        CXmlTextSink text;
        WriteNoteXml(text, BackupRecordOf(*note, pixelsPerInch), 1);
        notes.push_back(text.Text());
        return true;
    };
    ForEachNote(app.OwnNotes(), add);
    ForEachNote(app.OtherNotes(), add);
    // The lists' order of notes made at the same moment may differ from run to run.
    std::sort(notes.begin(), notes.end());
    CBytesPrint print;
    for (const std::string& note : notes)
        print.Add(note);
    return print.Text("notes");
}

void RunScheduledBackup(CWindowController& app)
{
    const BackupStamp now = BackupStampNow();
    ExpireUnrestoreSet(false, now);
    const CUserSettings& user = UserSettings();
    if (!user.autoBackup)
        return;
    const std::vector<BackupListEntry> list = BuildBackupList();
    if (list.empty()) {
        BackupNotesToXml(app, false, "");
        return;
    }
    if (IsBackupDue(list.front().date, now))
        BackupNotesToXml(app, false, "");
    // The backup just written is not among those looked at.
    DeleteExpiredBackups(now, static_cast<int>(user.backupDays), user.keepMonthlyBackup != 0, list);
}
