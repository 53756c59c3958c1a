// "&Unrestore...": the tables of before the first restore of a series come
// back from the undo copy, and everything is loaded from them again.
#include <winsock2.h>

#include <string>

#include "foundation/ResourceData.h"
#include "foundation/bytes/MessageBoxes.h"
#include "resources/ids/RestoreIds.h"
#include "shell/BackupRestore.h"
#include "shell/WindowController.h"
#include "store/BackupFolderCheck.h"
#include "shell/UnrestoreDialog.h"
#include "xmlfiles/UnrestoreSet.h"

namespace {
// The data is replaced under the application object, which closes its notes
// without saving them while the flag is held.
class RestoreInProgress {
public:
    explicit RestoreInProgress(CWindowController& app) : m_app(app) { m_app.SetRestoreInProgress(true); }
    ~RestoreInProgress() { m_app.SetRestoreInProgress(false); }
    RestoreInProgress(const RestoreInProgress&) = delete;
    RestoreInProgress& operator=(const RestoreInProgress&) = delete;

private:
    CWindowController& m_app;
};
}

bool UndoRestore(CWindowController& app)
{
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
    std::vector<std::string> failed;
    {
        RestoreInProgress held(app);
        app.Teardown();
        EnsureBackupFolder(owner);
        failed = CopyUnrestoreSetBack();
        app.Reinitialize();
    }
    if (!failed.empty()) {
        // What could not be put back is still in the undo copy: it stays for another try.
        std::string names;
        for (const std::string& name : failed)
            names += "\r\n    " + name;
        ShowErrorMessage(owner,
                         ("These files could not be put back from the UNRESTORE folder of the backup folder:" + names +
                          "\r\n\r\nThe UNRESTORE folder is kept; please close the programs that use these files "
                          "and choose Unrestore again.")
                             .c_str(),
                         ProgramTitle);
        return false;
    }
    DeleteUnrestoreSet();
    ShowInfoMessage(owner, ResourceText(IDS_UNRESTORE_DONE).c_str(), ProgramTitle);
    return true;
}
