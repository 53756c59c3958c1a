#include "store/SentToTable.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/CriticalSectionLock.h"
#include "foundation/DataFolder.h"
#include "foundation/bytes/MessageBoxes.h"
#include "store/DestinationListOps.h"
#include "store/DestinationLists.h"
#include "store/DestinationRows.h"
#include "store/DbfFile.h"
#include "store/FieldAccess.h"
#include "store/TableText.h"

namespace {
DWORD g_highestStoredComputerId = 0;

void BindSentTo(CDbfFile& table)
{
    table.SetTable(DataFilePath(DataName::kSentToTable).c_str(), true);
}

// The record of the first visible row with the computer id, 0 when none.
DWORD FindVisibleRow(CDbfFile& table, DWORD computerId, const RowOwnership& owners)
{
    std::vector<DWORD> rows = VisibleRowsOf(table, "COMPUTERID", computerId, owners);
    return rows.empty() ? 0 : rows.front();
}

DWORD AppendRow(CDbfFile& table)
{
    table.Close();
    table.Open("MAPPINGAPPEND");
    table.Close();
    table.Open("MAPPINGALL");
    return table.GetRecordCount();
}
}

DWORD HighestStoredComputerId()
{
    return g_highestStoredComputerId;
}

void SetHighestStoredComputerId(DWORD computerId)
{
    g_highestStoredComputerId = computerId;
}

void LoadSentToTable(const RowOwnership& owners)
{
    CDbfFile table;
    BindSentTo(table);
    table.Open("READ");
    bool hasRest = table.FieldExists("PLXREST");
    CCriticalSectionLock hold(SentToLock());
    for (table.GoTop(); !table.IsEOF(); table.Skip(1)) {
        DWORD computerId = static_cast<DWORD>(table.GetLongValue("COMPUTERID"));
        if (computerId > g_highestStoredComputerId)
            g_highestStoredComputerId = computerId;
        DWORD owner = static_cast<DWORD>(table.GetLongValue("WUSERID"));
        if (!owners.IsVisible(owner))
            continue;
        CDestination destination = ReadDestinationColumns(table, hasRest);
        destination.m_status = table.GetLogicalValue("B1") ? 1 : 0;
        destination.m_computerId = computerId;
        destination.m_port = static_cast<DWORD>(table.GetLongValue("PORT"));
        destination.m_userId = owner;
        std::string sortKey = ReadText(table, "C1", 14);
        if (sortKey.size() == 14)
            destination.SetLastSendTime(DateTimeFromSortKey(sortKey));
        if (!SentToList().FindDestination(destination))
            SentToList().AddDescendingByDate(destination);
    }
    table.Close();
}

void WriteSentToRow(CDbfFile& table, DWORD record, const CDestination& destination)
{
    WriteText(table, record, "SZIPADDR", destination.m_ipAddress);
    WriteNumber(table, record, "COMPUTERID", static_cast<long>(destination.m_computerId));
    WriteText(table, record, "C2", destination.m_alias);
    WriteNumber(table, record, "PORT", static_cast<long>(destination.m_port));
    WriteDestinationName(table, record, destination.m_computerName, destination.m_email);
    WriteLogical(table, record, "B1", destination.m_status == 1);
    CDateTime when = destination.m_lastSend;
    WriteText(table, record, "C1", when.FormatSortKey());
}

void AppendSentToIfNot(const CDestination& destination, const RowOwnership& owners)
{
    if (destination.m_computerId == 0) {
        ShowErrorMessage(nullptr, "AppendSentToIfNot, computerID==0??", ProgramTitle);
        return;
    }
    CCriticalSectionLock hold(SentToTableLock());
    CDbfFile table;
    BindSentTo(table);
    table.Open("MAPPINGALL");
    DWORD record = FindVisibleRow(table, destination.m_computerId, owners);
    if (record == 0) {
        record = AppendRow(table);
        WriteNumber(table, record, "WUSERID", static_cast<long>(owners.currentUserId));
    }
    WriteSentToRow(table, record, destination);
    table.Close();
}

void AppendSentToRowOfOwner(const CDestination& destination)
{
    CCriticalSectionLock hold(SentToTableLock());
    CDbfFile table;
    BindSentTo(table);
    table.Open("MAPPINGALL");
    DWORD record = AppendRow(table);
    WriteNumber(table, record, "WUSERID", static_cast<long>(destination.m_userId));
    WriteSentToRow(table, record, destination);
    table.Close();
}

void SaveSentToList(const RowOwnership& owners)
{
    const std::vector<CDestination> entries = CopyOfSentToList();
    CCriticalSectionLock hold(SentToTableLock());
    CDbfFile table;
    BindSentTo(table);
    table.Open("MAPPINGALL");
    // One pass finds the row of every computer, so the save takes as long as
    // the list and the table, not their product.
    std::unordered_map<DWORD, DWORD> rows;
    for (table.GoTop(); !table.IsEOF(); table.Skip(1))
        if (owners.IsVisible(static_cast<DWORD>(table.GetLongValue("WUSERID"))))
            rows.emplace(static_cast<DWORD>(table.GetLongValue("COMPUTERID")), table.GetRecno());
    std::vector<const CDestination*> newRows;
    for (const CDestination& entry : entries) {
        auto row = rows.find(entry.m_computerId);
        if (row != rows.end() && row->second != 0)
            WriteSentToRow(table, row->second, entry);
        else if (row == rows.end())
            newRows.push_back(&entry);
        rows.emplace(entry.m_computerId, 0);
    }
    table.Close();
    for (const CDestination* entry : newRows) {
        if (entry->m_computerId == 0) {
            AppendSentToIfNot(*entry, owners);  // refused with its message
            continue;
        }
        table.Open("MAPPINGAPPEND");
        WriteNumber(table, table.GetRecno(), "WUSERID", static_cast<long>(owners.currentUserId));
        WriteSentToRow(table, table.GetRecno(), *entry);
        table.Close();
    }
}

void AppendToSentToFileOtherUsersIfNot(DWORD userId, const char* computerName, const char* ipAddress,
                                       const char* alias, const CDateTime* when, DWORD port)
{
    CCriticalSectionLock hold(SentToTableLock());
    CDbfFile table;
    BindSentTo(table);
    table.Open("MAPPINGALL");
    for (table.GoTop(); !table.IsEOF(); table.Skip(1)) {
        if (static_cast<DWORD>(table.GetLongValue("WUSERID")) != userId ||
            lstrcmpiA(ReadText(table, "C2", 15).c_str(), alias ? alias : "") != 0)
            continue;
        std::string name = ReadText(table, "SZDESTINAT", 16) + ReadText(table, "PLXREST", 100);
        if (name.size() > 100) {
            ShowErrorMessage(nullptr, "AppendToSentToFileOtherUsersIfNot::PLX name is too long", ProgramTitle);
            name = ReadText(table, "SZDESTINAT", 16);
        }
        if (lstrcmpiA(name.c_str(), computerName ? computerName : "") == 0)
            return;
    }
    DWORD computerId = GetMaxComputerId() + 1;
    SetHighestStoredComputerId(computerId);
    DWORD record = AppendRow(table);
    WriteNumber(table, record, "WUSERID", static_cast<long>(userId));
    WriteText(table, record, "SZIPADDR", ipAddress);
    WriteNumber(table, record, "COMPUTERID", static_cast<long>(computerId));
    WriteText(table, record, "C2", alias);
    WriteNumber(table, record, "PORT", static_cast<long>(port));
    WriteLogical(table, record, "B1", true);
    CDateTime time = when ? *when : CDateTime();
    WriteText(table, record, "C1", when ? time.FormatSortKey() : " ");
    WriteDestinationName(table, record, computerName, "");
    table.Close();
}

void DeleteSentToRowsOfComputer(DWORD computerId, const RowOwnership& owners)
{
    CCriticalSectionLock hold(SentToTableLock());
    CDbfFile table;
    BindSentTo(table);
    table.Open("MAPPINGALL");
    for (DWORD record : VisibleRowsOf(table, "COMPUTERID", computerId, owners))
        table.DeleteRecord(record);
    table.Close();
}
