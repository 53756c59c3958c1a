#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "foundation/DateTime.h"
#include "store/Destination.h"

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

// The computers a received note names as its other recipients: each joins
// "SentTo" by its name, unless an entry has that name already (which keeps
// its address, port and state) or the list holds kMaxHeardOfComputers entries
// known by a name alone. Senders cannot grow the list without end, whatever
// they name. Answers how many names were left out for that bound.
const size_t kMaxHeardOfComputers = 128;
size_t AddHeardOfComputers(const std::vector<std::string>& names);

// The highest computer id in "SentTo", never below the highest stored in the table.
DWORD GetMaxComputerId();
// The highest transaction id among the note's delivery records, 0 when none.
DWORD GetLastTransactId(DWORD noteId);

void RemoveNoteTransacts(DWORD noteId);
// The caller holds TransactLock().
void RemoveComputerTransacts(DWORD computerId);
void RemoveComputerFromSentTo(DWORD computerId);
