#pragma once

// Brings forward the first of the program's open dialogs found by title (the Note
// Manager too, with the flag); only this process's windows count. 1 when one was
// activated, 0 when none is open.
int ActivateOpenDialog(bool alsoNoteManager);
