#pragma once

// The program's own dialogs, found open by their titles: one list serves the
// tray icon, which brings an open one forward, and the housekeeping, which
// holds the automatic save and the due notes while one is open. Only this
// process's windows count.

// The send dialog's title, by which it is found open.
extern const char kSendNoteDialogTitle[];

// Brings forward the first open dialog of the list (the Note Manager too, with
// the flag). 1 when one was activated, 0 when none is open.
int ActivateOpenDialog(bool alsoNoteManager);
// A dialog is open in which the user may be changing what an automatic save
// would write.
bool SavingHeldByOpenDialog();
// The same, or the calendar's settings dialog: due notes wait until it closes.
bool DueNotesHeldByOpenDialog();
