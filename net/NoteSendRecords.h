#pragma once

#include <windows.h>

#include <vector>

#include "store/Destination.h"
#include "net/NoteTransmit.h"

struct CSendJob;

// The delivery records of sent notes: one per note and recipient in the
// "Transact" list and the transaction table, beside the recipient's entry in
// "SentTo" and the sent-to table. A failed delivery that is to be tried again
// carries the resend flag; its retry count is the number of failed attempts
// since the user last sent the note, and its retry unit the unit of the
// resend interval (1 minute, 2 hour, 3 day).

// Every note, for ResetDestinationFlags.
const DWORD kAllNotesId = 8888;
// After this many failed attempts a delivery is no longer tried again.
const DWORD kMaxDeliveryAttempts = 25;

// A transaction id above every one in the table and the list (main thread).
DWORD NextTransactionId();

// Keeps one recipient's result (its status and time set by the transmission)
// and answers the record as kept in "Transact". Table failures are logged and
// leave the lists updated.
CDestination RecordDelivery(const CSendJob& job, const CDestination& recipient);

// Clears the resend flag of the note's delivery records (8888: of every
// note), so that no automatic resend takes them up again.
void ResetDestinationFlags(DWORD noteId);

// The note's delivery records that wait for an automatic resend.
std::vector<CDestination> PendingResends(DWORD noteId);

// Ticks of the note's 15-second timer before the next attempt, after the
// given number of failed attempts: one unit after the first failure, then
// every `amount` units (5 when 0).
int ResendDelayTicks(DWORD failedAttempts, BYTE amount, BYTE unit);
