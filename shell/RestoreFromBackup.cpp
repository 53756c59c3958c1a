// Restores from a backup file, chosen in the tray's Restore submenu or named
// on a second start's command line: the undo copy first, then (for a
// replace) the notes and delivery records emptied, then the backup's notes.
#include <winsock2.h>

#include <memory>
#include <string>

#include "foundation/CriticalSectionLock.h"
#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/ResourceData.h"
#include "foundation/bytes/MessageBoxes.h"
#include "store/DestinationLists.h"
#include "store/SentToTable.h"
#include "store/TransactTable.h"
#include "note/NoteController.h"
#include "noteprops/AppAssociations.h"
#include "resources/ids/RestoreIds.h"
#include "shell/BackupRestore.h"
#include "shell/NoteLists.h"
#include "globals/ProgramGlobals.h"
#include "shell/RestoredNotes.h"
#include "shell/WindowController.h"
#include "store/DbfFile.h"
#include "store/DeleteAllRecords.h"
#include "store/FreeSlotLists.h"
#include "store/NotesTableLock.h"
#include "store/UsersTable.h"
#include "store/BackupFolderCheck.h"
#include "shell/RestoreDialog.h"
#include "xmlfiles/UnrestoreSet.h"
#include "xmlfiles/XmlDocument.h"
#include "xmlfiles/bytes/BackupReading.h"

namespace {
const WORD kEmptyNotesTemplate = 729;
const char kTemplateTable[] = "BACKUP\\notes.qpd";
const char kTemplateMemo[] = "BACKUP\\notes.qps";

// The display text of a backup, or for a file without a dated name the name itself.
std::string ShownNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    BackupStamp date;
    return IsBackupFileName(name.c_str()) && ParseBackupFileName(date, name.c_str()) ? BackupDisplayText(date)
                                                                                       : name + "   ";
}

bool AskForRestore(CWindowController& app, const std::string& shownName, int noteCount)
{
    CRestoreState& state = app.RestoreState();
    RestoreCountRecord counts{static_cast<std::uint32_t>(noteCount), ""};
    RestoreDialogParams params;
    InitRestoreDialogParams(params, IDS_RESTORE_APPEND, IDS_RESTORE_REPLACE, counts, shownName.c_str(),
                            static_cast<std::uint32_t>(state.method));
    if (!RunRestoreDialog(app.GetWindow(), params))
        return false;
    state.method = static_cast<int>(params.flag);
    lstrcpynA(state.name, params.name, sizeof state.name);
    return true;
}

bool WriteEmptyNotesTemplates()
{
    CResourceData table(kEmptyNotesTemplate, "QPD");
    CResourceData memo(kEmptyNotesTemplate, "QPS");
    return table.CopyResourceToFile(DataFilePath(kTemplateTable).c_str()) &&
           memo.CopyResourceToFile(DataFilePath(kTemplateMemo).c_str());
}

void RebuildNotesFreeSlots()
{
    CDbfFile table;
    table.SetTable(DataFilePath(DataName::kNotesTable).c_str(), true);
    table.Open("READ");
    NotesFreeSlots().Rebuild(table);
    table.Close();
}

// The other users' notes stay open, to be stored anew in the emptied table.
void ResetOtherNoteIds(CWindowController& app)
{
    ForEachNote(app.OtherNotes(), [](CNoteController* note) {
        note->m_noteId = 9999;
        return true;
    });
}

void CloseDeletedNotes()
{
    CloseAllNotes(DeletedNotesList());
}

// The existing notes go, with their delivery records, groups and
// associations; the notes of other users stay, to be stored anew.
bool ReplaceExistingNotes(CWindowController& app)
{
    if (!WriteEmptyNotesTemplates()) {
        ShowErrorMessage(app.GetWindow(),
                         "The empty notes table could not be written into the BACKUP folder.\r\n\r\n"
                         "Nothing was restored and your notes are as they were.",
                         ProgramTitle);
        return false;
    }
    DeleteFileA(DataFilePath(DataName::kChatNoteSettings).c_str());
    CloseAllNotes(app.OwnNotes());
    ResetOtherNoteIds(app);
    CloseDeletedNotes();
    {
        CCriticalSectionLock hold(NotesTableLock());
        CopyFileA(DataFilePath(kTemplateTable).c_str(), DataFilePath(DataName::kNotesTable).c_str(), FALSE);
        CopyFileA(DataFilePath(kTemplateMemo).c_str(), DataFilePath(DataName::kNotesMemo).c_str(), FALSE);
        RebuildNotesFreeSlots();
    }
    TransactList().RemoveAll();
    DeleteAllRecords(DataFilePath(DataName::kTransactionsTable).c_str());
    DeleteFileA(DataFilePath(kTemplateTable).c_str());
    DeleteFileA(DataFilePath(kTemplateMemo).c_str());
    RebuildTransactFreeRecords();
    AppAssociationsList().RemoveAll();
    GroupsAndNotesList().RemoveAll();
    return true;
}

// The undo copy of the tables as they are now, unless a complete one is kept
// from an earlier restore. False when a replace cannot be undone.
bool MakeUndoCopy(CWindowController& app)
{
    if (HasCompleteUnrestoreSet())
        return true;
    if (CopyDataFilesToUnrestore(BackupStampNow()) || app.RestoreState().method != 2)
        return true;
    ShowErrorMessage(app.GetWindow(),
                     "The notes could not be copied into the UNRESTORE folder of the backup folder, so this "
                     "restore could not be undone.\r\n\r\nNothing was restored and your notes are as they were.",
                     ProgramTitle);
    return false;
}

class BulkCreation {
public:
    BulkCreation() : m_cursor(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) { GetProgramFlags().bulkOperation = true; }
    ~BulkCreation()
    {
        GetProgramFlags().bulkOperation = false;
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    }
    BulkCreation(const BulkCreation&) = delete;
    BulkCreation& operator=(const BulkCreation&) = delete;

private:
    HCURSOR m_cursor;
};
}

bool RestoreFromBackup(CWindowController& app, int index, bool silent, const char* path)
{
    CRestoreState& state = app.RestoreState();
    std::string file = path ? path : "";
    std::string shownName;
    if (file.empty()) {
        if (state.backupList.empty())
            state.backupList = BuildBackupList();
        if (index < 0 || index >= static_cast<int>(state.backupList.size()))
            return false;
        file = BackupFilePath(state.backupList[index].fileName);
        shownName = state.backupList[index].displayText;
    } else {
        shownName = ShownNameOf(file);
    }

    std::unique_ptr<CXMLDocument> document;
    try {
        document = std::make_unique<CXMLDocument>(file.c_str());
    } catch (const CGenericException& failure) {
        ShowErrorMessage(app.GetWindow(), failure.GetErrorText(), ProgramTitle);
        return false;
    }
    if (!document->Parse()) {
        document->CloseFile();
        ShowErrorMessage(app.GetWindow(), document->GetErrorText(), ProgramTitle);
        return false;
    }
    std::string error;
    const int noteCount = CountBackupNotes(*document, error);
    if (noteCount < 0) {
        ShowErrorMessage(app.GetWindow(), error.c_str(), file.c_str());
        return false;
    }
    if (!silent && !AskForRestore(app, shownName, noteCount))
        return false;

    app.SaveAll();
    if (!MakeUndoCopy(app))
        return false;
    if (state.method == 2 && !ReplaceExistingNotes(app))
        return false;
    {
        BulkCreation bulk;
        RestoreNotesFromXml(app, *document, noteCount, silent);
    }
    app.UpdateTrayTooltip();
    if (!silent)
        state.backupList.clear();
    return true;
}

void RestoreFromCommandLine(CWindowController& app, const char* requestText, int method, bool explain)
{
    CRestoreState& state = app.RestoreState();
    state.method = method == 2 ? 2 : 1;
    state.backupList = BuildBackupList();
    const std::string file = requestText ? requestText : "";
    const std::string newest = state.backupList.empty() ? std::string() : state.backupList.front().fileName;
    if (explain) {
        std::string text;
        if (state.method == 2)
            text = file.empty() ? "Restore by replacing all the existing notes with those from the most recent "
                                  "backup file:\n" + newest
                                : "Restore by replacing all the existing notes with those from:\n" + file;
        else
            text = file.empty() ? "Restore by appending notes from the most recent backup file:\n" + newest
                                : "Restore by appending notes from the following file:\n" + file;
        ShowInfoMessage(app.GetWindow(), text.c_str(), ProgramTitle);
    }
    if (file.empty()) {
        EnsureBackupFolder(app.GetWindow());
        if (!state.backupList.empty())
            RestoreFromBackup(app, 0, true, "");
        return;
    }
    const std::string path = PathOfNamedFile(file);
    if (FileExists(path.c_str())) {
        RestoreFromBackup(app, -1, true, path.c_str());
        return;
    }
    AppendTextToFile(("The file to restore from does not exist \r\n" + file + "\r\n").c_str(),
                     DataName::kCommandLineRestoreErrors);
}
