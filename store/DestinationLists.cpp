#include "store/DestinationLists.h"

CRecordList<CDestination>& SentToList()
{
    static CRecordList<CDestination> list("SentTo");
    return list;
}

CRecordList<CDestination>& TransactList()
{
    static CRecordList<CDestination> list("Transact");
    return list;
}
