#include "store/DbfFile.h"

#include <cstring>

#include "foundation/CallbackGuard.h"
#include "foundation/DiagnosticLog.h"


CDbfFile::CDbfFile() : m_store(m_file), m_group(TableGroup::kNone)
{
    m_fileName[0] = '\0';
}

CDbfFile::~CDbfFile()
{
    Close();
}

void CDbfFile::SetTable(const char* fileName, bool recordsEnciphered)
{
    TableGroup group = FindTableGroup(fileName);
    if (group == TableGroup::kNone || std::strlen(fileName) >= sizeof m_fileName)
        throw CGenericException("CDbfFile::Unknown file name to open ...");
    Close();
    std::strcpy(m_fileName, fileName);
    m_memoPath = MemoFileNameOf(m_fileName);
    m_group = group;
    UseKeys(group, recordsEnciphered);
}

void CDbfFile::Open(const char* mode)
{
    try {
        Close();
        if (m_group == TableGroup::kNone)
            throw CGenericException("CDbfFile::Unknown file name to open ...");
        m_file.OpenExclusive(m_fileName);
        // Mapped first, the header and records are read from the view rather
        // than the whole file read into memory (an empty file has no view
        // and fails its checks as it is).
        const bool mapAll = mode && std::strcmp(mode, "MAPPINGALL") == 0;
        if (mapAll && m_file.GetSize() > 0)
            m_file.CreateMapping(0);
        Attach(m_store, m_fileName);
        if (mode && std::strcmp(mode, "MAPPINGAPPEND") == 0)
            AppendRecord();
    } catch (const CGenericException& e) {
        Close();
        WriteErrorLog("CDbfFile::Open(): ", e.GetErrorText());
        throw;
    } catch (...) {
        Close();
        WriteErrorLog("CDbfFile::Open(): ", "Unknown exception");
        throw CGenericException(kInternalErrorText);
    }
}

void CDbfFile::Close()
{
    Detach();
    m_file.Close();
    m_store.Forget();
    m_heldMemoStore.reset();
    m_heldMemo.Close();
}

CGenericString CDbfFile::GetStringValue(const char* fieldName)
{
    std::string field = CTableCursor::GetStringValue(fieldName);
    CGenericString text(static_cast<int>(field.size()));
    std::memcpy(text.GetString(), field.data(), field.size());
    return text;
}

void CDbfFile::OnFieldOverflow(const char* fieldName, const std::string& overflowText, const char* logPrefix,
                               const std::string& logDetails)
{
    WriteErrorLog(logPrefix, logDetails.c_str());
    CTableCursor::OnFieldOverflow(fieldName, overflowText, logPrefix, logDetails);
}

DWORD CountTableRecords(const char* fileName)
{
    CDbfFile table;
    table.SetTable(fileName, true);
    table.Open("READ");
    DWORD count = table.GetRecordCount();
    table.Close();
    return count;
}

void AppendBlankRecords(const char* fileName, DWORD count)
{
    CDbfFile table;
    table.SetTable(fileName, true);
    for (DWORD i = 0; i < count; ++i) {
        table.Open("MAPPINGAPPEND");
        table.Close();
    }
}
