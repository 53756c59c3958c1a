#include "TemplateWriter.h"

#include <fstream>

#include "foundation/bytes/GenericException.h"
#include "store/bytes/ByteStore.h"
#include "store/bytes/MemoFile.h"
#include "store/bytes/TableCursor.h"

namespace {
TemplateValue Value(const char* field, TemplateValue::Kind kind, const std::string& text, long number, double real)
{
    TemplateValue value;
    value.field = field;
    value.kind = kind;
    value.text = text;
    value.number = number;
    value.real = real;
    return value;
}

void WriteRecord(CTableCursor& table, std::uint32_t recordNumber, const TemplateRecord& record, CMemoFile* memo,
                 TableGroup group)
{
    for (const TemplateValue& value : record) {
        switch (value.kind) {
        case TemplateValue::kText:
            table.SetStringValue(recordNumber, value.field, value.text.c_str());
            break;
        case TemplateValue::kNumber:
            table.SetLongValue(recordNumber, value.field, static_cast<std::int32_t>(value.number));
            break;
        case TemplateValue::kReal:
            table.SetDoubleValue(recordNumber, value.field, value.real);
            break;
        case TemplateValue::kMemo: {
            if (!memo)
                throw CGenericException("a memo value in a table without memo file");
            // Only the settings table's memo texts are enciphered.
            const CRecordCipher* key = group == TableGroup::kConfig ? &GetSettingsMemoKey() : nullptr;
            std::uint32_t block = memo->Append(value.text.data(), static_cast<std::uint32_t>(value.text.size()),
                                               false, key);
            table.SetLongValue(recordNumber, value.field, static_cast<std::int32_t>(block));
            break;
        }
        }
    }
}

void WriteFile(const std::string& path, const void* bytes, std::size_t count)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(count));
    // The bytes may still sit in the stream's buffer: only the close tells
    // whether they reached the disk.
    file.close();
    if (!file)
        throw CGenericException(("cannot write " + path).c_str());
}

void WriteTable(const TableTemplate& table, const std::string& folder)
{
    CMemoryByteStore tableBytes(BuildEmptyTable(table.fields, table.group));
    CMemoryByteStore memoBytes(BuildEmptyMemoFile());
    const std::string memoName = MemoFileNameOf(table.fileName);
    CMemoFile memo(memoBytes, memoName.c_str());
    CTableCursor cursor;
    cursor.UseKeys(table.group, true);
    cursor.Attach(tableBytes, table.fileName);
    for (const TemplateRecord& record : table.records) {
        cursor.AppendRecord();
        WriteRecord(cursor, cursor.GetRecordCount(), record, table.hasMemoFile ? &memo : nullptr, table.group);
    }
    cursor.Detach();
    WriteFile(folder + "/" + table.fileName, tableBytes.Bytes().data(), tableBytes.Bytes().size());
    if (table.hasMemoFile)
        WriteFile(folder + "/" + MemoFileNameOf(table.fileName), memoBytes.Bytes().data(), memoBytes.Bytes().size());
}
}

TemplateValue Text(const char* field, const char* text) { return Value(field, TemplateValue::kText, text, 0, 0); }
TemplateValue Flag(const char* field, bool on) { return Text(field, on ? "T" : "F"); }
TemplateValue Number(const char* field, long value) { return Value(field, TemplateValue::kNumber, "", value, 0); }
TemplateValue Real(const char* field, double value) { return Value(field, TemplateValue::kReal, "", 0, value); }
TemplateValue Memo(const char* field, const char* text) { return Value(field, TemplateValue::kMemo, text, 0, 0); }

void WriteTemplateFiles(const std::string& folder)
{
    for (const TableTemplate& table : AllTableTemplates())
        WriteTable(table, folder);
    const std::string webSearch = WebSearchFile();
    WriteFile(folder + "/webSearch.QPD", webSearch.data(), webSearch.size());
}
