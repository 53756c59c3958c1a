#pragma once

#include "foundation/RecordList.h"
#include "store/Destination.h"

// The program-wide lists of destinations ("SentTo") and delivery records
// ("Transact"); their owners serialise changes under their own locks.
CRecordList<CDestination>& SentToList();
CRecordList<CDestination>& TransactList();
