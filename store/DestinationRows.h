#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "store/Destination.h"
#include "store/RowOwnership.h"

class CDbfFile;

// The columns that the sent-to and transaction tables share.

// Writes to each table are one at a time, whichever thread makes them.
CRITICAL_SECTION& SentToTableLock();
CRITICAL_SECTION& TransactTableLock();

// Computer name or e-mail address, IP address and alias of the current row.
// Tables of older versions have no PLXREST column.
CDestination ReadDestinationColumns(CDbfFile& table, bool hasRestColumn);
// The name over SZDESTINAT and PLXREST, or the e-mail address over SZDESTINAT
// and C3; the column not used is blanked.
void WriteDestinationName(CDbfFile& table, DWORD record, const char* computerName, const char* email);

// "yyyymmddhhmmss".
CDateTime DateTimeFromSortKey(const std::string& key);

// The records of the visible rows whose number field holds the value.
std::vector<DWORD> VisibleRowsOf(CDbfFile& table, const char* field, DWORD value, const RowOwnership& owners);
