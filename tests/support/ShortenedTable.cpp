#include "support/ShortenedTable.h"

#include <cstring>

#include "store/bytes/TableStructure.h"
#include "support/TempFolder.h"

void KeepFirstRecords(const std::string& path, TableGroup group, std::uint32_t count)
{
    std::string bytes = ReadWholeFile(path);
    const TableKeySet& keys = GetTableKeys(group);
    TableHeader header;
    std::memcpy(header.bytes, bytes.data(), sizeof header.bytes);
    keys.header.Decrypt(header.bytes, sizeof header.bytes);
    header.SetRecordCount(count);
    const size_t size = header.HeaderLength() + static_cast<size_t>(count) * header.RecordLength();
    keys.header.Encrypt(header.bytes, sizeof header.bytes);
    std::memcpy(&bytes[0], header.bytes, sizeof header.bytes);
    bytes.resize(size);
    bytes += '\x1A';
    WriteWholeFile(path, bytes);
}
