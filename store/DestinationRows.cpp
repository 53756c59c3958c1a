#include "store/DestinationRows.h"

#include <cstdlib>

#include "foundation/CriticalSectionLock.h"
#include "net/bytes/DestinationNames.h"
#include "store/DbfFile.h"
#include "store/FieldAccess.h"

namespace {
int Digits(const std::string& key, size_t from, size_t count)
{
    return std::atoi(key.substr(from, count).c_str());
}
}

CRITICAL_SECTION& SentToTableLock()
{
    static CCriticalSection lock;
    return lock.Section();
}

CRITICAL_SECTION& TransactTableLock()
{
    static CCriticalSection lock;
    return lock.Section();
}

CDestination ReadDestinationColumns(CDbfFile& table, bool hasRestColumn)
{
    DestinationNameColumns columns;
    columns.destination = ReadText(table, "SZDESTINAT", kDestinationColumnWidth);
    if (hasRestColumn)
        columns.rest = ReadText(table, "PLXREST", 100);
    columns.email = ReadText(table, "C3", 100);
    std::string computerName, email;
    JoinDestinationName(columns, computerName, email);
    std::string address = ReadText(table, "SZIPADDR", 15);
    std::string alias = ReadText(table, "C2", 15);
    return CDestination(computerName.c_str(), address.c_str(), alias.c_str(), email.c_str(), "", 0);
}

void WriteDestinationName(CDbfFile& table, DWORD record, const char* computerName, const char* email)
{
    DestinationNameColumns columns = SplitDestinationName(computerName ? computerName : "", email ? email : "");
    WriteText(table, record, "C3", columns.email.empty() ? " " : columns.email.c_str());
    WriteText(table, record, "PLXREST", columns.rest.empty() ? " " : columns.rest.c_str());
    WriteText(table, record, "SZDESTINAT", columns.destination.c_str());
}

CDateTime DateTimeFromSortKey(const std::string& key)
{
    return CDateTime(static_cast<BYTE>(Digits(key, 6, 2)), static_cast<BYTE>(Digits(key, 4, 2)),
                     static_cast<WORD>(Digits(key, 0, 4)), static_cast<WORD>(Digits(key, 8, 2)),
                     static_cast<WORD>(Digits(key, 10, 2)), static_cast<WORD>(Digits(key, 12, 2)));
}

std::vector<DWORD> VisibleRowsOf(CDbfFile& table, const char* field, DWORD value, const RowOwnership& owners)
{
    std::vector<DWORD> records;
    for (table.GoTop(); !table.IsEOF(); table.Skip(1))
        if (static_cast<DWORD>(table.GetLongValue(field)) == value &&
            owners.IsVisible(static_cast<DWORD>(table.GetLongValue("WUSERID"))))
            records.push_back(table.GetRecno());
    return records;
}
