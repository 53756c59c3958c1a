#include "store/TransactTable.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "foundation/CriticalSectionLock.h"
#include "foundation/DataFolder.h"
#include "foundation/bytes/MessageBoxes.h"
#include "store/DestinationListOps.h"
#include "store/DestinationLists.h"
#include "store/DestinationRows.h"
#include "store/DbfFile.h"
#include "store/DeleteAllRecords.h"
#include "store/FieldAccess.h"
#include "store/TableText.h"
#include "store/FreeSlotLists.h"

namespace {
DWORD g_highestStoredTransactionId = 0;
char g_lastRecipient[25] = "";

const char* const kSendTimeFields[6] = {"BYSDAY", "BYSMONTH", "WSYEAR", "WSHOUR", "WSMINUTE", "WSSECOND"};

void BindTransact(CDbfFile& table)
{
    table.SetTable(DataFilePath(DataName::kTransactionsTable).c_str(), true);
}

void WriteTransactRow(CDbfFile& table, DWORD record, const CDestination& d)
{
    WriteNumber(table, record, "WNOTEID", static_cast<long>(d.m_noteId));
    WriteNumber(table, record, "ITRANSID", static_cast<long>(d.m_transactionId));
    WriteText(table, record, "SZIPADDR", d.m_ipAddress);
    WriteNumber(table, record, "COMPUTERID", static_cast<long>(d.m_computerId));
    WriteText(table, record, "C2", d.m_alias);
    WriteText(table, record, "C4", d.m_attachedFile);
    WriteDestinationName(table, record, d.m_computerName, d.m_email);
    WriteLogical(table, record, "BSTATUS", d.m_status == 1);
    WriteDateTimeFields(table, record, kSendTimeFields, d.m_lastSend);
    WriteLogical(table, record, "BRETRY", d.m_retry != 0);
    WriteNumber(table, record, "BYRETRY", static_cast<long>(d.m_retryCount));
    WriteNumber(table, record, "BYRETRYTYP", static_cast<long>(d.m_retryUnit));
    WriteNumber(table, record, "PORT", static_cast<long>(d.m_port));
}

bool Refused(const CDestination& d)
{
    const char* refusal = nullptr;
    char pathRefusal[400];
    if (d.m_computerId == 0) {
        refusal = "AppendTransactIfNot, computerID==0??";
    } else if (d.m_noteId == 0) {
        refusal = "AppendTransactIfNot, noteID==0??";
    } else if (std::strlen(d.m_attachedFile) > kMaxStoredAttachmentPath) {
        std::snprintf(pathRefusal, sizeof pathRefusal,
                      "The path of the attached file is longer than %d characters, so the delivery record of "
                      "this send cannot be kept:\r\n%.259s",
                      static_cast<int>(kMaxStoredAttachmentPath), d.m_attachedFile);
        refusal = pathRefusal;
    }
    if (refusal)
        ShowErrorMessage(nullptr, refusal, ProgramTitle);
    return refusal != nullptr;
}

// A free record of the table, its deletion mark cleared; or a new one.
DWORD TakeRecord(CDbfFile& table)
{
    DWORD record = TransactionFreeSlots().Take();
    if (record != 0 && record <= table.GetRecordCount()) {
        table.RecallRecord(record);
        return record;
    }
    table.Close();
    table.Open("MAPPINGAPPEND");
    table.Close();
    table.Open("MAPPINGALL");
    return table.GetRecordCount();
}

void DeleteRowsWhere(const char* field, DWORD value, const RowOwnership& owners)
{
    CCriticalSectionLock hold(TransactTableLock());
    CDbfFile table;
    BindTransact(table);
    table.Open("MAPPINGALL");
    std::vector<DWORD> records = VisibleRowsOf(table, field, value, owners);
    for (DWORD record : records)
        table.DeleteRecord(record);
    table.Close();
    for (DWORD record : records)
        TransactionFreeSlots().Add(record);
}
}

DWORD HighestStoredTransactionId()
{
    return g_highestStoredTransactionId;
}

std::string GetLastRecipient()
{
    return g_lastRecipient;
}

void LoadTransactTable(const RowOwnership& owners)
{
    CDbfFile table;
    BindTransact(table);
    table.Open("READ");
    bool hasRest = table.FieldExists("PLXREST");
    CCriticalSectionLock hold(TransactLock());
    DWORD highestVisible = 0;
    for (table.GoTop(); !table.IsEOF(); table.Skip(1)) {
        DWORD transactionId = static_cast<DWORD>(table.GetLongValue("ITRANSID"));
        if (transactionId > g_highestStoredTransactionId)
            g_highestStoredTransactionId = transactionId;
        DWORD owner = static_cast<DWORD>(table.GetLongValue("WUSERID"));
        if (!owners.IsVisible(owner))
            continue;
        CDestination d = ReadDestinationColumns(table, hasRest);
        d.m_noteId = static_cast<DWORD>(table.GetLongValue("WNOTEID"));
        d.m_transactionId = transactionId;
        d.m_computerId = static_cast<DWORD>(table.GetLongValue("COMPUTERID"));
        d.m_status = table.GetLogicalValue("BSTATUS") ? 1 : 0;
        d.m_retry = table.GetLogicalValue("BRETRY") ? 1 : 0;
        d.m_retryCount = static_cast<DWORD>(table.GetLongValue("BYRETRY"));
        d.m_retryUnit = static_cast<DWORD>(table.GetLongValue("BYRETRYTYP"));
        d.m_port = static_cast<DWORD>(table.GetLongValue("PORT"));
        d.m_userId = owner;
        ReadTrimmedText(table, "C4", d.m_attachedFile, sizeof d.m_attachedFile);
        d.SetLastSendTime(ReadDateTimeFields(table, kSendTimeFields));
        if (!TransactList().FindDestination(d))
            TransactList().AddDescendingByDate(d);
        if (transactionId > highestVisible) {
            highestVisible = transactionId;
            std::snprintf(g_lastRecipient, sizeof g_lastRecipient, "%s",
                          d.m_computerName[0] ? d.m_computerName : d.m_ipAddress);
        }
    }
    table.Close();
}

void AppendTransactIfNot(const CDestination& destination, DWORD userId, const RowOwnership& owners)
{
    if (Refused(destination))
        return;
    CCriticalSectionLock hold(TransactTableLock());
    CDbfFile table;
    BindTransact(table);
    table.Open("MAPPINGALL");
    DWORD record = 0;
    if (userId == 0) {
        for (DWORD candidate : VisibleRowsOf(table, "COMPUTERID", destination.m_computerId, owners)) {
            table.GoTo(candidate);
            if (static_cast<DWORD>(table.GetLongValue("WNOTEID")) == destination.m_noteId) {
                record = candidate;
                break;
            }
        }
    }
    if (record == 0) {
        record = TakeRecord(table);
        WriteNumber(table, record, "WUSERID", static_cast<long>(userId ? userId : owners.currentUserId));
    }
    WriteTransactRow(table, record, destination);
    table.Close();
}

void SaveTransactList(const RowOwnership& owners)
{
    for (const CDestination& entry : CopyOfTransactList())
        AppendTransactIfNot(entry, 0, owners);
}

void DeleteTransactRowsOfComputer(DWORD computerId, const RowOwnership& owners)
{
    DeleteRowsWhere("COMPUTERID", computerId, owners);
}

void DeleteTransactRowsOfNote(DWORD noteId, const RowOwnership& owners)
{
    DeleteRowsWhere("WNOTEID", noteId, owners);
}

void EmptyTransactions()
{
    {
        CCriticalSectionLock hold(TransactLock());
        TransactList().RemoveAll();
    }
    CCriticalSectionLock hold(TransactTableLock());
    DeleteAllRecords(DataFilePath(DataName::kTransactionsTable).c_str());
    RebuildTransactFreeRecords();
}

void RebuildTransactFreeRecords()
{
    CDbfFile table;
    BindTransact(table);
    table.Open("READ");
    TransactionFreeSlots().Rebuild(table);
    table.Close();
}
