#pragma once

#include <windows.h>

#include <string>

#include "store/Destination.h"
#include "store/RowOwnership.h"

class CDbfFile;

// The transaction table "transact.QPD": one delivery record per note and
// destination. Rows of other users count only when their owner shares notes;
// deleted rows are reused through the table's free-record list. Table
// failures throw CGenericException.

// The longest attached-file path a delivery record keeps (its column's width).
enum { kMaxStoredAttachmentPath = 255 };

// Fills "Transact" from the table, oldest first, equal rows once, and sets the
// last recipient from the visible row with the highest transaction id.
void LoadTransactTable(const RowOwnership& owners = CurrentRowOwnership());
DWORD HighestStoredTransactionId();
// The computer name (or IP address) of the latest delivery, at most 24 characters.
std::string GetLastRecipient();

// Writes one delivery record. With user id 0 (the current user) a visible row
// of the same note and computer is updated in place; otherwise a free record
// is reused or one appended, owned by the user id given. Refused with a
// message, writing nothing: computer id 0, note id 0, and an attached-file
// path longer than the table keeps.
void AppendTransactIfNot(const CDestination& destination, DWORD userId,
                         const RowOwnership& owners = CurrentRowOwnership());
// Every entry of "Transact", as the current user's.
void SaveTransactList(const RowOwnership& owners = CurrentRowOwnership());

// Mark the visible rows deleted and make their records free.
void DeleteTransactRowsOfComputer(DWORD computerId, const RowOwnership& owners = CurrentRowOwnership());
void DeleteTransactRowsOfNote(DWORD noteId, const RowOwnership& owners = CurrentRowOwnership());

// Every delivery goes, from "Transact" and the table (a restore that replaces
// the notes). The list's lock and the table's are taken one after the other,
// never one inside the other, as a send thread recording a delivery does.
void EmptyTransactions();

// The free-record list rebuilt from the table (at start and after a restore).
void RebuildTransactFreeRecords();
