#include "store/DbfFile.h"

#include <cstring>
#include <vector>

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

template <class Body>
void CDbfFile::Opening(Body&& body)
{
    try {
        Close();
        if (m_group == TableGroup::kNone)
            throw CGenericException("CDbfFile::Unknown file name to open ...");
        body();
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

void CDbfFile::Open(const char* mode)
{
    Opening([&] {
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
    });
}

bool CDbfFile::OpenCopyOf(const char* sourcePath)
{
    bool opened = false;
    Opening([&] {
        CGenericFile source;
        if (!source.TryOpenReadOnly(sourcePath))
            return;
        DWORD size = source.GetSize();
        if (size == INVALID_FILE_SIZE)
            throw CGenericException("CDbfFile::OpenCopyOf: the size of the table is unknown");
        std::vector<unsigned char> bytes(size);
        if (size && source.ReadFromFile(bytes.data(), size) != size)
            throw CGenericException("CDbfFile::OpenCopyOf: the table was read short");
        m_heldCopy.reset(new CMemoryByteStore(std::move(bytes)));
        Attach(*m_heldCopy, m_fileName);
        opened = true;
    });
    return opened;
}

void CDbfFile::WriteHeldCopy()
{
    if (!m_heldCopy)
        throw CGenericException("CDbfFile::WriteHeldCopy: no table is held in memory");
    const std::vector<unsigned char>& bytes = m_heldCopy->Bytes();
    CGenericFile file;
    try {
        file.CreateOverwrite(m_fileName);
        file.WriteToFile(bytes.data(), static_cast<DWORD>(bytes.size()));
        file.Close();
    } catch (...) {
        file.Close();
        DeleteFileA(m_fileName);
        throw;
    }
}

void CDbfFile::Close()
{
    Detach();
    m_file.Close();
    m_store.Forget();
    m_heldCopy.reset();
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
