#pragma once

#include <windows.h>

#include <string>

// The strip along the bottom edge of a note that is being sent: the turning
// "sending" picture (six frames) and a line of text saying what the send is
// doing or how it ended. It is a child window of the note of the class
// "QnSendStrip"; its window text is the line shown.

// Shows the strip with the text; failed draws it as a failure. frame 0 to 5
// turns the picture; -1 shows none (the send has ended).
void ShowSendStrip(HWND note, const std::string& text, bool failed, int frame);
void SetSendStripFrame(HWND note, int frame);
// The strip goes after a few seconds (a send that went well), unless it is
// shown again first. A click on an ended send's strip hides it at once.
void HideSendStripLater(HWND note);
// The strip goes now, with what it said.
void HideSendStrip(HWND note);

// Lays the strip out along the bottom of the client area; answers the height
// it takes (0 while there is none), which the note's body leaves free.
int PlaceSendStrip(HWND note, const RECT& client);
