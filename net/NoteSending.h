#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "store/Destination.h"

class CNoteController;

// A note sending itself, on the main thread: the note is saved and its text
// streamed out here, then a send thread and an animation thread do the rest
// and report to the note window (net/NoteSendThread.h). The note shows what
// happens in a strip along its bottom edge, and failed deliveries are tried
// again by the note's resend timer. A note has one send at a time.

// The note's resend timer, every 15 seconds while it has deliveries to retry.
const UINT_PTR kNoteResendTimerId = 11;
const UINT kNoteResendTimerMs = 15000;

// Starts sending the note to the recipients, with the file attached when one
// is named. False, with the user told why, when nothing was started.
bool StartNoteSend(CNoteController& note, const std::vector<CDestination>& recipients,
                   const std::string& attachedFile);

// A send request of the command line (0x808E): the destination text, with
// "!#%@" and a file to attach. Mode 0 sends at once; mode 1 at the note's
// next timer tick.
void OnSendRequest(CNoteController& note, WPARAM mode, const char* destinationText);

// The note's answer to "are you transmitting?": a send thread runs.
bool IsNoteTransmitting(const CNoteController& note);

// The send icon goes and the note's pending resends are dropped (the alarm
// switched off); a running send keeps its strip until it ends.
void ClearNoteSendIcon(CNoteController& note);
// A note being deleted: its delivery records leave the "Transact" list and
// the transaction table, and nothing of it waits to be sent again, since its
// record number goes to the next new note. The note is not being sent.
void ForgetNoteDeliveries(CNoteController& note);

// The messages of the note's send threads; false for any other message.
bool OnNoteSendMessage(CNoteController& note, UINT message, WPARAM wParam, LPARAM lParam);
// The resend timer's tick: tries again the deliveries that are due.
void OnNoteResendTimer(CNoteController& note);
// A note made with deliveries still waiting (from an earlier run) takes them up.
void ResumeNoteResends(CNoteController& note);
// The note window goes: its send is stopped and its threads awaited (a few
// seconds at most); what they already recorded stays recorded.
void EndNoteSending(CNoteController& note);
