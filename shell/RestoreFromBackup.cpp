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
#include "foundation/FileSetReplacement.h"
#include "foundation/ResourceData.h"
#include "foundation/bytes/MessageBoxes.h"
#include "globals/MainWindowMessages.h"
#include "net/SendThreads.h"
#include "notemanager/NoteManagerEntry.h"
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
    const std::string name = FileNameOf(path);
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

const char kNothingRestored[] = "Nothing was restored and your notes are as they were.";

void RemoveTemplates()
{
    DeleteFileA(DataFilePath(kTemplateTable).c_str());
    DeleteFileA(DataFilePath(kTemplateMemo).c_str());
}

// The existing notes go, with their delivery records, groups and
// associations; the notes of other users stay, to be stored anew. Every file
// it replaces is checked first, and the notes table and its memo file are
// replaced together: a replace that cannot be made touches no note.
bool ReplaceExistingNotes(CWindowController& app)
{
    HWND owner = app.GetWindow();
    if (!WriteEmptyNotesTemplates()) {
        RemoveTemplates();
        ShowErrorMessage(owner,
                         (std::string("The empty notes table could not be written into the BACKUP folder.\r\n\r\n") +
                          kNothingRestored)
                             .c_str(),
                         ProgramTitle);
        return false;
    }
    CFileSetReplacement replacement;
    replacement.Replace(DataFilePath(kTemplateMemo), DataFilePath(DataName::kNotesMemo));
    replacement.Replace(DataFilePath(kTemplateTable), DataFilePath(DataName::kNotesTable));
    replacement.Remove(DataFilePath(DataName::kChatNoteSettings));
    std::vector<std::string> failed;
    if (!replacement.Prepare(failed)) {
        RemoveTemplates();
        ShowErrorMessage(owner,
                         ("These files cannot be replaced now; another program may be using them:" +
                          ListedFileNames(failed) + "\r\n\r\n" + kNothingRestored)
                             .c_str(),
                         ProgramTitle);
        return false;
    }
    // No send records a delivery of a note that is going, and no Note
    // Manager row names one.
    if (!EndSendThreads(kSendThreadsEndMs))
        WriteErrorLog("ReplaceExistingNotes():", "a send thread did not end in time");
    CloseNoteManagerBeforeNotesGo();
    app.RestoreState().pendingTies.clear();
    CloseAllNotes(app.OwnNotes());
    ResetOtherNoteIds(app);
    CloseDeletedNotes();
    bool replaced;
    bool mixed = false;
    {
        CCriticalSectionLock hold(NotesTableLock());
        replaced = replacement.Commit(failed, mixed);
        if (replaced)
            RebuildNotesFreeSlots();
    }
    RemoveTemplates();
    if (!replaced) {
        // The notes were saved before they were closed: they come back from
        // the tables, unless those could not be made whole again.
        app.Teardown();
        if (!mixed)
            app.Reinitialize();
        ShowErrorMessage(owner,
                         ("These files could not be replaced:" + ListedFileNames(failed) + "\r\n\r\n" +
                          (mixed ? "Some could not be returned either: their earlier bytes are kept beside them "
                                   "(\".was\"). Please close the programs that use them and start Quillnet+ again."
                                 : kNothingRestored))
                             .c_str(),
                         ProgramTitle);
        return false;
    }
    EmptyTransactions();
    AppAssociationsList().RemoveAll();
    GroupsAndNotesList().RemoveAll();
    return true;
}

// The undo copy of the tables as they are now, unless a complete one is kept
// from an earlier restore; made tells whether this restore made it. False
// when the copy could not be made whole: the restore could not be undone.
bool MakeUndoCopy(CWindowController& app, bool& made)
{
    made = false;
    if (HasCompleteUnrestoreSet())
        return true;
    made = CopyDataFilesToUnrestore(BackupStampNow());
    if (made)
        return true;
    ShowErrorMessage(app.GetWindow(),
                     (std::string("The notes could not be copied into the UNRESTORE folder of the backup folder, so "
                                  "this restore could not be undone.\r\n\r\n") +
                      kNothingRestored)
                         .c_str(),
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
    if (RefusedWhileRestoring(app, !silent))
        return false;
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

    HWND owner = app.GetWindow();
    if (!InstallWaitingNotesPair(owner, kNothingRestored))
        return false;
    // The undo copy must hold what the user has now, and a replace closes
    // every note: neither goes on when the notes could not be stored.
    if (!app.SaveAll()) {
        ShowNotSavedFirst(owner, "the restore", kNothingRestored);
        return false;
    }
    bool madeUndoCopy = false;
    if (!MakeUndoCopy(app, madeUndoCopy))
        return false;
    // A close asked for meanwhile waits until the restored notes are in.
    CRestoreInProgress held(app);
    if (state.method == 2 && !ReplaceExistingNotes(app)) {
        // Nothing was restored: there is nothing for this copy to undo.
        if (madeUndoCopy)
            DeleteUnrestoreSet();
        return false;
    }
    {
        BulkCreation bulk;
        RestoreNotesFromXml(app, *document, noteCount, silent);
    }
    app.UpdateTrayTooltip();
    TellCalendarAlarmsChanged(owner);
    if (!silent)
        state.backupList.clear();
    return true;
}

void RestoreFromCommandLine(CWindowController& app, const char* requestText, int method, bool explain)
{
    if (RefusedWhileRestoring(app, explain))
        return;
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
