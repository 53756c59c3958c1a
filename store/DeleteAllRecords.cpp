#include "store/DeleteAllRecords.h"

#include "store/DbfFile.h"

void DeleteAllRecords(const char* tablePath)
{
    CDbfFile table;
    table.SetTable(tablePath, true);
    table.Open("MAPPINGALL");
    for (DWORD record = 1; record <= table.GetRecordCount(); ++record)
        table.DeleteRecord(record);
    table.Close();
}
