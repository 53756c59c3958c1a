#pragma once

#include <windows.h>

#include <vector>

#include "foundation/DateTime.h"
#include "net/Destination.h"

// What the network threads do with the program-wide "SentTo" and "Transact"
// lists. Each list has its own lock, held for the whole of each operation.

CRITICAL_SECTION& SentToLock();
CRITICAL_SECTION& TransactLock();

// The entries of "SentTo" or "Transact", copied under the list's lock so that
// they can be written to a table without holding it.
std::vector<CDestination> CopyOfSentToList();
std::vector<CDestination> CopyOfTransactList();

// Adds or updates the destination with the computer name, IP address, alias
// and e-mail address given (any may be empty; names compare ignoring case)
// and returns its computer id. A matched entry takes the status and, when
// given, the date-time; a new one gets the next computer id.
DWORD UpdateSentToList(const char* computerName, const char* ipAddress, const char* alias, const char* email,
                       DWORD status, const CDateTime* when, DWORD port);

// The highest computer id in "SentTo", never below the highest stored in the table.
DWORD GetMaxComputerId();
// The highest transaction id among the note's delivery records, 0 when none.
DWORD GetLastTransactId(DWORD noteId);

void RemoveNoteTransacts(DWORD noteId);
// The caller holds TransactLock().
void RemoveComputerTransacts(DWORD computerId);
void RemoveComputerFromSentTo(DWORD computerId);
