// "&Unrestore...": the tables of before the first restore of a series come
// back from the undo copy, and everything is loaded from them again. Every
// file is checked and copied beside its target before any is replaced, so an
// undo that cannot be made changes nothing and loses nothing.
#include <winsock2.h>

#include <string>
#include <vector>

#include "foundation/DataFolder.h"
#include "store/FileSetReplacement.h"
#include "store/FileStepFailures.h"
#include "foundation/ResourceData.h"
#include "foundation/bytes/MessageBoxes.h"
#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"
#include "resources/ids/RestoreIds.h"
#include "shell/BackupRestore.h"
#include "shell/UnrestoreDialog.h"
#include "shell/WindowController.h"
#include "store/BackupFolderCheck.h"
#include "xmlfiles/UnrestoreSet.h"

namespace {
const char kNothingUndone[] = "Nothing was undone: your notes are as they are now.";
const char kUndoCopyKept[] = " The copy kept for undoing the restore stays.";

// Each file with what the system said of it; the advice follows the causes,
// and the rescue backup that holds what could not be stored, when there is one.
void ShowNotPutBack(HWND owner, const std::vector<std::string>& failed, const std::string& rescue)
{
    const char* advice = AnyHeldAmong(failed) ? " The UNRESTORE folder is kept; please close the programs that use "
                                                "these files and choose Unrestore again."
                                              : " The UNRESTORE folder is kept; choose Unrestore again once that is "
                                                "put right.";
    ShowErrorMessage(owner,
                     ("These files could not be put back from the UNRESTORE folder of the backup folder:" +
                      ListedWithCauses(failed) + "\r\n\r\n" + kNothingUndone + advice +
                      (rescue.empty() ? std::string() : "\r\n\r\n" + KeptInRescueText(rescue)))
                         .c_str(),
                     ProgramTitle);
}

// The tables put back are loaded, and only then is the undo kept: tables
// that cannot be loaded are replaced by those of before the undo again,
// which are loaded in their place. False when the undo was not kept.
bool LoadUndoneTables(CWindowController& app, CFileSetReplacement& replacement)
{
    std::string failure;
    if (TryReload(app, failure)) {
        if (replacement.Keep())
            return true;
        app.Teardown();
        EndAfterUnrecordedReplacement(app, "undo", true);
        return false;
    }
    app.Teardown();
    std::vector<std::string> notReturned;
    if (!replacement.Revert(notReturned)) {
        if (notReturned.empty())
            EndAfterUnrecordedReplacement(app, "undo", false);
        else
            EndAfterUnfinishedReplacement(app, "The tables of the UNRESTORE folder could not be loaded:\r\n    " +
                                                   failure + "\r\n\r\nand these could not be given their bytes "
                                                   "of before back:" + ListedFileNames(notReturned));
        return false;
    }
    if (ReloadOrEnd(app, std::string(" ") + kNothingUndone + kUndoCopyKept))
        ShowErrorMessage(app.GetWindow(),
                         ("The tables of the UNRESTORE folder could not be loaded:\r\n    " + failure + "\r\n\r\n" +
                          kNothingUndone + kUndoCopyKept)
                             .c_str(),
                         ProgramTitle);
    return false;
}
}

bool UndoRestore(CWindowController& app)
{
    if (RefusedWhileRestoring(app, true))
        return false;
    HWND owner = app.GetWindow();
    std::string restoreTime;
    BackupStamp marked;
    FindUnrestoreMarker(restoreTime, marked);
    if (restoreTime.size() < 5 || !HasCompleteUnrestoreSet()) {
        ShowErrorMessage(owner, "The unrestore control information is missing", ProgramTitle);
        return false;
    }
    if (!RunUnrestoreDialog(owner, restoreTime.c_str()))
        return false;
    if (!InstallWaitingNotesPair(owner, kNothingUndone))
        return false;
    // What was edited since the restore is stored: the teardown below saves
    // nothing, and an undo that fails half-way returns to these tables, so
    // none is made without them. (Files that cannot be put back are told
    // first: a held memo file fails the save too.)
    const SaveAllOutcome outcome = app.SaveAll(CWindowController::UnstoredNotes::kIntoRescueBackup);
    const bool saved = outcome.everythingWritten;
    // What could not be stored is in the rescue backup before any box.
    const std::string rescue = KeptUnlessStored(app, outcome);
    CFileSetReplacement replacement(ReplacementKind::kUndo);
    std::vector<std::string> failed;
    if (!PlanUnrestoreSetBack(replacement)) {
        ShowErrorMessage(owner, "The unrestore control information is missing", ProgramTitle);
        return false;
    }
    if (!replacement.Prepare(failed)) {
        ShowNotPutBack(owner, failed, rescue);
        return false;
    }
    if (!saved) {
        ShowNotSavedFirst(owner, "the undo", kNothingUndone, rescue);
        return false;
    }
    std::vector<std::string> notReturned;
    bool putBack;
    bool loaded;
    {
        CRestoreInProgress held(app);
        RaiseNotesGeneration();
        app.Teardown();
        EnsureBackupFolder(owner);
        putBack = replacement.Commit(failed, notReturned);
        if (!notReturned.empty()) {
            // A folder of old and new tables is never loaded.
            EndAfterUnfinishedReplacement(app, "These files could not be put back from the UNRESTORE folder of the "
                                               "backup folder:" +
                                                   ListedFileNames(failed) +
                                                   "\r\n\r\nand these could not be given their bytes of before "
                                                   "back either:" +
                                                   ListedFileNames(notReturned));
            return false;
        }
        if (!putBack && AreDataFilesSealed()) {
            EndAfterUnrecordedReplacement(app, "undo", false);
            return false;
        }
        loaded = putBack ? LoadUndoneTables(app, replacement) : ReloadOrEnd(app);
    }
    TellCalendarAlarmsChanged(owner);
    if (!loaded)
        return false;
    if (!putBack) {
        ShowNotPutBack(owner, failed, "");
        return false;
    }
    DeleteUnrestoreSet();
    ShowInfoMessage(owner, ResourceText(IDS_UNRESTORE_DONE).c_str(), ProgramTitle);
    return true;
}
