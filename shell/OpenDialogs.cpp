#include "shell/OpenDialogs.h"

#include "foundation/win/WindowHelpers.h"

int ActivateOpenDialog(bool alsoNoteManager)
{
    // In the order they are looked for; the settings sheets and the Note Manager
    // come back from the task bar when minimised.
    static const OwnWindowTitle kDialogs[] = {
        {"Restore notes...", false},
        {"Unrestore notes...", false},
        {"Find....", false},
        {"Edit...", false},
        {"About Quillnet+", false},
        {"  Quillnet+", false},
        {"Select the notes backup folder", false},
        {"General settings...", false},
        {"Note settings...", false},
        {"Send note to a computer or email address", false},
        {"Associate note with applications", false},
        {"Note Manager settings", true},
        {"Quillnet+ calendar settings", true},
        {"Quillnet+ Note Manager", true},
    };
    const int count = static_cast<int>(sizeof kDialogs / sizeof kDialogs[0]);
    return ActivateFirstOwnWindow(kDialogs, alsoNoteManager ? count : count - 1);
}
