#pragma once

// Every message box of the program goes through ShowMessageBox. Tests replace the
// handler with a recorder, so no test ever waits on a modal box.
// The owner is a window handle (HWND) or null.

// Button, icon and answer values of the system message box.
enum MessageBoxFlag : unsigned {
    kMbOk = 0x0,
    kMbOkCancel = 0x1,
    kMbYesNoCancel = 0x3,
    kMbYesNo = 0x4,
    kMbIconHand = 0x10,
    kMbIconQuestion = 0x20,
    kMbIconExclamation = 0x30,
    kMbIconInformation = 0x40,
    kMbDefButton2 = 0x100,
};
enum MessageBoxAnswer : int {
    kIdOk = 1,
    kIdCancel = 2,
    kIdAbort = 3,
    kIdRetry = 4,
    kIdIgnore = 5,
    kIdYes = 6,
    kIdNo = 7,
};

using MessageBoxHandler = int (*)(void* owner, const char* text, const char* caption, unsigned flags);

// Installs a handler in place of the system's box; returns the one it replaces
// (null means the system's box).
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The foreground window when it is one of this program's, else null: the owner
// for a box about no window in particular. A box owned by another program's
// window would freeze that program until the user answers.
void* ForegroundOwner();

int ShowMessageBox(void* owner, const char* text, const char* caption, unsigned flags);

// While a sink is set for the calling thread, its boxes are not shown: the
// sink gets each text, and the box answers as Enter would (a request that no
// person waits for must never stop at a box). Returns the sink it replaces.
using MessageBoxSink = void (*)(const char* text, const char* caption);
MessageBoxSink SetThreadMessageBoxSink(MessageBoxSink sink);

// The answer a user gives by pressing Enter: the box's default button.
int DefaultButtonAnswer(unsigned flags);

// The program title that captions every box; writable, as the program may rename itself.
extern char ProgramTitle[];

int ShowErrorMessage(void* owner, const char* text, const char* caption);
int ShowInfoMessage(void* owner, const char* text, const char* caption);
int ShowWarningMessage(void* owner, const char* text, const char* caption);
int AskYesNo(void* owner, const char* text, const char* caption);
