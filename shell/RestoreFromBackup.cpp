// Restores from a backup file, chosen in the tray's Restore submenu or named
// on a second start's command line: the undo copy first, then (for a
// replace) the notes and delivery records emptied, then the backup's notes.
#include <winsock2.h>

#include <functional>
#include <memory>
#include <string>

#include "foundation/CallbackGuard.h"
#include "foundation/CriticalSectionLock.h"
#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "store/DeleteAllRecords.h"
#include "store/DestinationListOps.h"
#include "store/DestinationLists.h"
#include "store/DestinationRows.h"
#include "store/FileSetReplacement.h"
#include "store/FileStepFailures.h"
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
#include "shell/RescueBackup.h"
#include "shell/RestoredNotes.h"
#include "shell/UnstoredChanges.h"
#include "shell/WindowController.h"
#include "store/DbfFile.h"
#include "store/FreeSlotLists.h"
#include "store/NoteRecordFields.h"
#include "store/NoteSaving.h"
#include "store/ReplacementAdvice.h"
#include "store/StoredNotesPrint.h"
#include "store/NotesTableLock.h"
#include "store/UsersTable.h"
#include "store/BackupFolderCheck.h"
#include "shell/RestoreDialog.h"
#include "xmlfiles/UnrestoreSet.h"
#include "xmlfiles/XmlDocument.h"
#include "xmlfiles/bytes/BackupReading.h"

namespace {
// The notes as the program holds them and as the notes table holds them
// (another program may have stored one there), and every other file an undo
// puts back or removes.
std::string DataPrint(CWindowController& app)
{
    return NotesPrint(app) + "\r\n" + StoredNotesPrint() + "\r\n" + UndoneFilesPrint();
}

const WORD kEmptyNotesTemplate = 729;
const char* const kTemplateTable = DataName::kEmptyNotesTableCopy;
const char* const kTemplateMemo = DataName::kEmptyNotesMemoCopy;
const char* const kTemplateTransact = DataName::kEmptiedTransactionsCopy;

// The display text of a backup or a rescue backup, or for a file without
// such a name the name itself.
std::string ShownNameOf(const std::string& path)
{
    const std::string name = FileNameOf(path);
    BackupStamp date;
    RescueStamp rescue;
    if (IsBackupFileName(name.c_str()) && ParseBackupFileName(date, name.c_str()))
        return BackupDisplayText(date);
    return ParseRescueBackupName(rescue, name) ? RescueDisplayText(rescue) : name + "   ";
}

bool IsRescueBackupPath(const std::string& path)
{
    RescueStamp rescue;
    return ParseRescueBackupName(rescue, FileNameOf(path));
}

// While a restore runs, the state holds its method, which the restore of the
// notes reads; afterwards the method the user last chose, which the next
// restore's dialog starts on.
class CRestoreMethod {
public:
    explicit CRestoreMethod(CRestoreState& state) : m_state(state), m_kept(state.method) {}
    ~CRestoreMethod() { m_state.method = m_kept; }
    CRestoreMethod(const CRestoreMethod&) = delete;
    CRestoreMethod& operator=(const CRestoreMethod&) = delete;

    void Use(int method, bool chosenByTheUser)
    {
        m_state.method = method;
        if (chosenByTheUser)
            m_kept = method;
    }

private:
    CRestoreState& m_state;
    int m_kept;
};

const char kStoredSinceRescue[] =
    "Notes were stored after this backup file was written. \"Delete existing notes\" would remove them as well; "
    "\"Preserve existing notes\" keeps them.";

// A rescue backup holds every note as it was: the dialog proposes to put its
// notes in place of the present ones, not beside them, unless notes were
// stored since it was written. A proposal left as it was is not the user's
// choice of a method to keep.
bool AskForRestore(CWindowController& app, const std::string& shownName, int noteCount, const std::string& file,
                   CRestoreMethod& method)
{
    CRestoreState& state = app.RestoreState();
    const bool rescue = IsRescueBackupPath(file);
    const bool storedSince = rescue && NotesStoredSinceRescue(file);
    const int proposed = rescue && !storedSince ? 2 : state.method;
    RestoreCountRecord counts{static_cast<std::uint32_t>(noteCount), ""};
    RestoreDialogParams params;
    InitRestoreDialogParams(params, IDS_RESTORE_APPEND, IDS_RESTORE_REPLACE, counts, shownName.c_str(),
                            static_cast<std::uint32_t>(proposed));
    if (!RunRestoreDialog(app.GetWindow(), params, storedSince ? kStoredSinceRescue : nullptr))
        return false;
    const int chosen = static_cast<int>(params.flag);
    method.Use(chosen, chosen != proposed || proposed == state.method);
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

// The delivery records go with the notes: a copy of transact.QPD with every
// record deleted, which replaces the table together with the notes pair.
bool WriteEmptiedTransactions()
{
    const std::string emptied = DataFilePath(kTemplateTransact);
    try {
        {
            CCriticalSectionLock hold(TransactTableLock());
            if (!CopyFileA(DataFilePath(DataName::kTransactionsTable).c_str(), emptied.c_str(), FALSE))
                return false;
        }
        DeleteAllRecords(emptied.c_str());
        return true;
    } catch (const CGenericException& failure) {
        WriteErrorLog("WriteEmptiedTransactions(): ", failure.GetErrorText());
        return false;
    }
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
    for (const char* name : {kTemplateTable, kTemplateMemo, kTemplateTransact})
        DeleteFileA(DataFilePath(name).c_str());
}

// What the program keeps of the replaced files' contents follows them: the
// free records, the delivery records, the associations and groups of the
// notes that went. Failures throw.
void ForgetReplacedContents()
{
    {
        CCriticalSectionLock hold(NotesTableLock());
        RebuildNotesFreeSlots();
    }
    {
        CCriticalSectionLock hold(TransactLock());
        TransactList().RemoveAll();
    }
    {
        CCriticalSectionLock hold(TransactTableLock());
        RebuildTransactFreeRecords();
    }
    AppAssociationsList().RemoveAll();
    GroupsAndNotesList().RemoveAll();
}

// A replace that could not be made: the folder holds the files this replace
// found, which are loaded again; or, when they could not all be given back
// or the record could not say they were, the program ends without writing
// anything.
bool GiveUpReplace(CWindowController& app, const std::string& problem, const std::vector<std::string>& notReturned)
{
    app.Teardown();
    if (!notReturned.empty()) {
        EndAfterUnfinishedReplacement(app, problem +
                                               "\r\n\r\nThese files could not be given their bytes of before "
                                               "back either:" +
                                               ListedFileNames(notReturned));
        return false;
    }
    if (AreDataFilesSealed()) {
        EndAfterUnrecordedReplacement(app, "restore", false);
        return false;
    }
    if (ReloadOrEnd(app))
        ShowErrorMessage(app.GetWindow(), (problem + "\r\n\r\n" + kNothingRestored).c_str(), ProgramTitle);
    return false;
}

// The existing notes go, with their delivery records, groups and
// associations; the notes of other users stay, to be stored anew. Every file
// it replaces is checked first, and the notes table, its memo file and the
// delivery records are replaced together: a replace that cannot be made
// touches no note, and one that fails half-way returns to the files it found.
// The new set stays only once StoreReplacingNotes keeps it.
bool ReplaceExistingNotes(CWindowController& app, CFileSetReplacement& replacement)
{
    HWND owner = app.GetWindow();
    if (!WriteEmptyNotesTemplates() || !WriteEmptiedTransactions()) {
        RemoveTemplates();
        ShowErrorMessage(owner,
                         (std::string("The empty notes table and delivery records could not be written into the "
                                      "BACKUP folder.\r\n\r\n") +
                          kNothingRestored)
                             .c_str(),
                         ProgramTitle);
        return false;
    }
    replacement.Replace(DataFilePath(kTemplateMemo), DataName::kNotesMemo);
    replacement.Replace(DataFilePath(kTemplateTable), DataName::kNotesTable);
    replacement.Replace(DataFilePath(kTemplateTransact), DataName::kTransactionsTable);
    replacement.Remove(DataName::kChatNoteSettings);
    std::vector<std::string> failed;
    const bool prepared = replacement.Prepare(failed);
    RemoveTemplates();
    if (!prepared) {
        ShowErrorMessage(owner,
                         ("These files cannot be replaced now:" + ListedWithCauses(failed) + "\r\n\r\n" +
                          kNothingRestored)
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
    std::vector<std::string> notReturned;
    bool replaced;
    {
        CCriticalSectionLock hold(NotesTableLock());
        replaced = replacement.Commit(failed, notReturned);
    }
    // The notes were saved before they were closed: they come back from the
    // files of before.
    if (!replaced)
        return GiveUpReplace(app, "These files could not be replaced:" + ListedFileNames(failed), notReturned);
    std::string failure;
    try {
        ForgetReplacedContents();
    } catch (const CGenericException& thrown) {
        failure = thrown.GetErrorText();
    } catch (...) {
        failure = "Unknown exception";
    }
    if (!failure.empty()) {
        replacement.Revert(notReturned);
        return GiveUpReplace(app, "The restore could not go on once the notes files were replaced: " + failure,
                             notReturned);
    }
    return true;
}

// Every note there is now (the restored ones and the other users') goes
// into the emptied table in one step, and only then is the new set kept:
// until it is, a stop at any moment sends the next start back to the notes
// of before. A save that cannot be made puts those notes back now.
bool StoreReplacingNotes(CWindowController& app, CFileSetReplacement& replacement)
{
    std::vector<CNoteController*> notes;
    auto collect = [&notes](CNoteController* note) {
        note->SyncFromWindow();
        if (HasUnstoredChange(*note))
            notes.push_back(note);
        return true;
    };
    ForEachNote(app.OwnNotes(), collect);
    ForEachNote(app.OtherNotes(), collect);
    bool stored = SaveNotesTogether(std::vector<NoteRecord*>(notes.begin(), notes.end()));
    for (CNoteController* note : notes)
        stored = stored && !HasUnstoredChange(*note);
    if (!stored) {
        std::string problem = "The restored notes could not be stored in these files:";
        for (const std::string& name : UnwritableNotesFiles())
            problem += "\r\n    " + name + ": " + WhyNotWritable(DataFilePath(name.c_str()));
        std::vector<std::string> notReturned;
        replacement.Revert(notReturned);
        GiveUpReplace(app, problem, notReturned);
        return false;
    }
    if (!replacement.Keep()) {
        app.Teardown();
        EndAfterUnrecordedReplacement(app, "restore", true);
        return false;
    }
    return true;
}

// Where the undo copy cannot go, and what the user can do about it.
std::string UndoCopyRefusal(BackupFolderTrouble trouble)
{
    const std::string folder = DataFilePath(DataName::kBackupFolder);
    const std::string why =
        trouble == BackupFolderTrouble::kFileInTheWay
            ? "a file named BACKUP stands in the data folder where the backup folder belongs:\r\n    " + folder +
                  "\r\n\r\nPlease move or rename that file, then restore again."
            : "the backup folder cannot be made:\r\n    " + folder +
                  "\r\n\r\nPlease make sure that folder can be created there, then restore again.";
    return "A restore first keeps a copy of your notes in the UNRESTORE folder of the backup folder, from which it "
           "can be undone, and " +
           why + "\r\n\r\n" + kNothingRestored;
}

// The undo copy of the tables as they are now; made tells whether this
// restore made it. A complete copy of an earlier restore is kept while the
// notes, and every other file an undo puts back or removes, are still as
// that restore left them (restores in a row): an undo then goes back to the
// data of before the first of them, and loses nothing stored since. Once
// anything was stored (a note, a setting, a group), by this program or
// another one on the same folder, the copy is made anew, so that an undo
// brings back the data there was just before this restore. False when the
// copy could not be made whole: the restore could not be undone.
bool MakeUndoCopy(CWindowController& app, bool& made)
{
    made = false;
    if (HasCompleteUnrestoreSet()) {
        const std::string left = ReadRestoredPrint();
        if (!left.empty() && left == DataPrint(app))
            return true;
    }
    const BackupFolderTrouble trouble = EnsureBackupFolderTrouble();
    if (trouble != BackupFolderTrouble::kNone) {
        ShowErrorMessage(app.GetWindow(), UndoCopyRefusal(trouble).c_str(), ProgramTitle);
        return false;
    }
    std::vector<std::string> failed;
    made = CopyDataFilesToUnrestore(BackupStampNow(), failed);
    if (made)
        return true;
    ShowErrorMessage(app.GetWindow(),
                     (std::string("The notes could not be copied into the UNRESTORE folder of the backup folder, so "
                                  "this restore could not be undone. These files could not be copied:") +
                      ListedWithCauses(failed) + "\r\n\r\n" + kNothingRestored)
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

namespace {
// The backup's notes made and stored. A replace that stops half-way (a
// failure thrown while its notes are made) goes back to the notes of before
// rather than leave notes in memory that the files no longer match.
int MakeRestoredNotes(CWindowController& app, CXMLBufferDocument& document, int noteCount, bool silent,
                      const std::function<bool()>& storeAll, CFileSetReplacement& replacement)
{
    std::string failure;
    try {
        BulkCreation bulk;
        return RestoreNotesFromXml(app, document, noteCount, silent, storeAll);
    } catch (const CGenericException& thrown) {
        if (!replacement.IsUndecided())
            throw;
        failure = thrown.GetErrorText();
    } catch (...) {
        if (!replacement.IsUndecided())
            throw;
        failure = "Unknown exception";
    }
    std::vector<std::string> notReturned;
    replacement.Revert(notReturned);
    GiveUpReplace(app, "The restore stopped before its notes were stored: " + failure, notReturned);
    return -1;
}
}

namespace {
RestoreOutcome RunRestore(CWindowController& app, int index, bool silent, const char* path)
{
    if (RefusedWhileRestoring(app, !silent))
        return RestoreOutcome::kNotMade;
    CRestoreState& state = app.RestoreState();
    std::string file = path ? path : "";
    std::string shownName;
    if (file.empty()) {
        if (state.backupList.empty())
            state.backupList = BuildRestoreChoices().backups;
        if (index < 0 || index >= static_cast<int>(state.backupList.size()))
            return RestoreOutcome::kNotMade;
        file = state.backupList[index].path;
        shownName = state.backupList[index].displayText;
    } else {
        shownName = ShownNameOf(file);
    }

    std::unique_ptr<CXMLDocument> document;
    try {
        document = std::make_unique<CXMLDocument>(file.c_str());
    } catch (const CGenericException& failure) {
        // The file may be held or gone for the moment.
        ShowErrorMessage(app.GetWindow(), failure.GetErrorText(), ProgramTitle);
        return RestoreOutcome::kNotMade;
    }
    if (!document->Parse()) {
        document->CloseFile();
        ShowErrorMessage(app.GetWindow(), document->GetErrorText(), ProgramTitle);
        return RestoreOutcome::kUnreadable;
    }
    std::string error;
    const int noteCount = CountBackupNotes(*document, error);
    if (noteCount < 0) {
        ShowErrorMessage(app.GetWindow(), error.c_str(), file.c_str());
        return RestoreOutcome::kUnreadable;
    }
    CRestoreMethod method(state);
    if (!silent && !AskForRestore(app, shownName, noteCount, file, method))
        return RestoreOutcome::kDeclined;

    HWND owner = app.GetWindow();
    if (!InstallWaitingNotesPair(owner, kNothingRestored))
        return RestoreOutcome::kNotMade;
    // The undo copy must hold what the user has now, and a replace closes
    // every note: neither goes on when the notes could not be stored, and
    // what could not be is in the rescue backup before the box.
    const SaveAllOutcome saved = app.SaveAll(CWindowController::UnstoredNotes::kIntoRescueBackup);
    const std::string rescue = KeptUnlessStored(app, saved);
    if (!saved.everythingWritten) {
        ShowNotSavedFirst(owner, "the restore", kNothingRestored, rescue);
        return RestoreOutcome::kNotMade;
    }
    bool madeUndoCopy = false;
    if (!MakeUndoCopy(app, madeUndoCopy))
        return RestoreOutcome::kNotMade;
    // A close asked for meanwhile waits until the restored notes are in.
    CRestoreInProgress held(app);
    RaiseNotesGeneration();
    CFileSetReplacement replacement(ReplacementKind::kRestore);
    std::function<bool()> storeAll;
    if (state.method == 2) {
        if (!ReplaceExistingNotes(app, replacement)) {
            // Nothing was restored: there is nothing for this copy to undo.
            if (madeUndoCopy && !AreDataFilesSealed())
                DeleteUnrestoreSet();
            return RestoreOutcome::kNotMade;
        }
        storeAll = [&] { return StoreReplacingNotes(app, replacement); };
    }
    // A replace whose notes could not be stored keeps its undo copy.
    if (MakeRestoredNotes(app, *document, noteCount, silent, storeAll, replacement) < 0)
        return RestoreOutcome::kNotMade;
    app.UpdateTrayTooltip();
    TellCalendarAlarmsChanged(owner);
    if (!silent) {
        state.backupList.clear();
        state.rescueList.clear();
    }
    return RestoreOutcome::kRestored;
}
}

bool RestoreFromBackup(CWindowController& app, int index, bool silent, const char* path)
{
    return RunRestore(app, index, silent, path) == RestoreOutcome::kRestored;
}

RestoreOutcome RestoreBackupFile(CWindowController& app, const std::string& path)
{
    return RunRestore(app, -1, false, path.c_str());
}

void RememberNotesAfterRestore(CWindowController& app)
{
    if (!WriteRestoredPrint(DataPrint(app)))
        WriteErrorLog("RememberNotesAfterRestore(): ", "the print of the restored data could not be written");
}

namespace {
void RunCommandLineRestore(CWindowController& app, const char* requestText, int method, bool explain)
{
    if (RefusedWhileRestoring(app, true))
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
}

void RestoreFromCommandLine(CWindowController& app, const char* requestText, int method, bool explain)
{
    // The second start waits until the request is carried out: the silent
    // forms must not wait for a person.
    CQuietRestore quiet(app, !explain);
    GuardCallback([&] { RunCommandLineRestore(app, requestText, method, explain); });
}
