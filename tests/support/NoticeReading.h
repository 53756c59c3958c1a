#pragma once

#include <windows.h>

// Under Wine, a thread that reads X's notice that the pointer entered one of
// its windows, or that the focus came to one, sets the session's key state to
// the keys X holds down. X knows nothing of keys pressed here, so such a
// notice read between the keys of a chord lets the modifier go, and the next
// key comes alone (docs/platform.md). True once the foreground window's thread
// has read every such notice that X had sent it; the pointer is left on the
// bare screen, where it enters no window.
bool ForegroundReadItsNotices();
// The same for the thread of the window, which shows on the screen.
bool WindowReadItsNotices(HWND window);
