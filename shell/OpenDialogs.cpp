#include "shell/OpenDialogs.h"

#include "foundation/win/WindowHelpers.h"

const char kSendNoteDialogTitle[] = "Send note to a computer or email address";

namespace {
struct OwnDialog {
    OwnWindowTitle window;
    bool holdsSaving;
    bool holdsDueNotes;
};

// In the order they are brought forward; the settings sheets and the Note
// Manager come back from the task bar when minimised. The Note Manager itself
// is last: only some callers bring it forward.
const OwnDialog kOwnDialogs[] = {
    {{"Restore notes...", false}, false, false},
    {{"Unrestore notes...", false}, false, false},
    {{"Find....", false}, false, false},
    {{"Edit...", false}, false, false},
    {{"About Quillnet+", false}, false, false},
    {{"  Quillnet+", false}, true, true},
    {{"Select the notes backup folder", false}, false, false},
    {{"General settings...", false}, true, true},
    {{"Note settings...", false}, true, true},
    {{kSendNoteDialogTitle, false}, true, true},
    {{"Associate note with applications", false}, false, false},
    {{"Note Manager settings", true}, true, true},
    {{"Quillnet+ calendar settings", true}, false, true},
    {{"Quillnet+ Note Manager", true}, false, false},
};
const int kDialogCount = static_cast<int>(sizeof kOwnDialogs / sizeof kOwnDialogs[0]);

// One of the dialogs with that use is open.
bool AnyOpen(bool OwnDialog::*use)
{
    for (const OwnDialog& dialog : kOwnDialogs) {
        if (dialog.*use && FindOwnWindow(dialog.window.title))
            return true;
    }
    return false;
}
}

int ActivateOpenDialog(bool alsoNoteManager)
{
    const int count = alsoNoteManager ? kDialogCount : kDialogCount - 1;
    for (int i = 0; i < count; ++i) {
        if (ActivateFirstOwnWindow(&kOwnDialogs[i].window, 1))
            return 1;
    }
    return 0;
}

bool SavingHeldByOpenDialog()
{
    return AnyOpen(&OwnDialog::holdsSaving);
}

bool DueNotesHeldByOpenDialog()
{
    return AnyOpen(&OwnDialog::holdsDueNotes);
}
