#pragma once

#include <windows.h>

#include "store/Destination.h"
#include "store/RowOwnership.h"

// The sent-to table "sentto.QPD": one row per destination the user has sent to
// or received from, with a computer id that never changes. Rows of other users
// count only when their owner shares notes. Table failures throw CGenericException.

// Fills "SentTo" from the table, oldest first, equal rows once.
void LoadSentToTable(const RowOwnership& owners = CurrentRowOwnership());
// The highest computer id in the table when it was last loaded (every row).
DWORD HighestStoredComputerId();
void SetHighestStoredComputerId(DWORD computerId);

// Writes the destination into its row (found by computer id), or a new row of
// the current user; a computer id of 0 is refused with a message.
void AppendSentToIfNot(const CDestination& destination, const RowOwnership& owners = CurrentRowOwnership());
// A new row for the destination, owned by its own user id (the upgrade).
void AppendSentToRowOfOwner(const CDestination& destination);
// Every entry of "SentTo".
void SaveSentToList(const RowOwnership& owners = CurrentRowOwnership());

// A row for another user (one reached through a relay), unless that user has
// one with the same alias and computer name; a new row gets the next computer id.
void AppendToSentToFileOtherUsersIfNot(DWORD userId, const char* computerName, const char* ipAddress,
                                       const char* alias, const CDateTime* when, DWORD port);

// Marks the visible rows of the computer deleted (sent-to rows are never reused).
void DeleteSentToRowsOfComputer(DWORD computerId, const RowOwnership& owners = CurrentRowOwnership());

// One destination into record n of the open table, in the table's columns.
class CDbfFile;
void WriteSentToRow(CDbfFile& table, DWORD record, const CDestination& destination);
