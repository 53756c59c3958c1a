#pragma once

// Under Wine on a screen without a window manager, a window shown active does
// not get the screen's focus at once: Wine asks for it before the window is on
// the screen, and the screen refuses. Wine catches up the next time the thread
// waits for every kind of input (as a menu's loop does), and then lifts that
// window over everything on the screen: over the menu just opened, and over
// the notes shown in front of it meanwhile. Catching up as soon as such a
// window shows keeps what opens later in front. On Windows there is nothing to
// catch up: the wait returns at once.

// From now on the calling thread catches up whenever one of its top-level
// windows is shown active.
void CatchUpWithScreenWhenWindowsShowActive();
