#pragma once

#include <windows.h>

class CNoteController;

// The note window's handlers, one file per concern.

// NoteWindowPaint.cpp: the caption with the note's title, colours and font.
void PaintNoteCaption(HWND window, const CNoteController& note);
// The frame of a ringing note in the alarm colour every other half second,
// nothing in between; the frame of a note a restore added, not edited since,
// in green.
void PaintMarkedFrame(HWND window, const CNoteController& note);
// The caption's rectangle in window coordinates.
RECT NoteCaptionRect(HWND window);
void PaintScrollArrow(HWND arrow, bool down);
// The body's texture or gradient, painted at the body's size into the note's
// background picture; a plain note has none and its body paints its colour.
void PrepareNoteBackground(CNoteController& note);
void FreeNoteBackground(CNoteController& note);
// The body's size change, its focus, and its painting over its background
// picture, or its colour, with its margin and ruled lines; false when the
// message goes on to the body's own procedure as it is.
bool OnBodyBackgroundMessage(HWND edit, CNoteController& note, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT& result);

// NoteWindowCommands.cpp: commands, the note menu and the body's keys.
LRESULT OnNoteCommand(HWND window, CNoteController& note, WPARAM wParam, LPARAM lParam);
void ShowNoteMenu(HWND window, CNoteController& note, POINT screenPoint);
LRESULT CALLBACK NoteBodyProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

// NoteWindowPrivate.cpp: the private messages; false when not one of them.
bool OnNotePrivateMessage(HWND window, CNoteController& note, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT& result);
// A press of the user's on a received note that was not read yet: the main
// window is told, so that the tray stops calling for it.
void MarkReadByUser(CNoteController& note);

// The controls inside the note laid out on its client area.
void LayOutNoteControls(HWND window, CNoteController& note);
// The scroll arrows at the foot of a body of that width and height.
void PlaceScrollArrows(CNoteController& note, LONG bodyRight, LONG bodyBottom);
// The top left corner of the up or down arrow at the foot of such a body.
POINT ScrollArrowCorner(bool down, LONG bodyRight, LONG bodyBottom);
// NoteWindow.cpp: the scroll arrows that are missing, made shown at their
// places at the foot of such a body.
void MakeScrollArrows(HWND window, CNoteController& note, LONG bodyRight, LONG bodyBottom);

const int kNoteBodyId = 100;
const int kScrollArrowSize = 12;
