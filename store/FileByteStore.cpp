#include "store/FileByteStore.h"

#include <cstring>
#include <string>

namespace {
[[noreturn]] void RefuseByteStoreFile(const CGenericFile& file, const char* what)
{
    std::string text = std::string(what) + file.GetPath();
    throw CGenericException(text.c_str());
}
}

std::uint32_t CFileByteStore::Size()
{
    return m_file.GetSize();
}

void CFileByteStore::Read(std::uint32_t offset, void* bytes, std::uint32_t count)
{
    m_file.MoveFromBOF(offset);
    if (m_file.ReadFromFile(bytes, count) != count)
        RefuseByteStoreFile(m_file, "Unexpected end of file ");
}

void CFileByteStore::Write(std::uint32_t offset, const void* bytes, std::uint32_t count)
{
    m_file.MoveFromBOF(offset);
    m_file.WriteToFile(bytes, count);
}

void CFileByteStore::Grow(std::uint32_t extraBytes)
{
    m_file.MoveFromBOF(Size() + extraBytes);
    m_file.SetEOF();
}

void CFileByteStore::Cut(std::uint32_t size)
{
    m_file.MoveFromBOF(size);
    m_file.SetEOF();
}

void CMappedTableStore::Read(std::uint32_t offset, void* bytes, std::uint32_t count)
{
    const unsigned char* from = m_file.GetView();
    std::uint64_t size = m_file.GetViewSize();
    if (!from) {
        if (!m_wholeFileRead) {
            m_wholeFile.resize(Size());
            if (!m_wholeFile.empty())
                CFileByteStore::Read(0, m_wholeFile.data(), static_cast<std::uint32_t>(m_wholeFile.size()));
            m_wholeFileRead = true;
        }
        from = m_wholeFile.data();
        size = m_wholeFile.size();
    }
    if (static_cast<std::uint64_t>(offset) + count > size)
        RefuseByteStoreFile(m_file, "Unexpected end of file ");
    if (count)
        std::memcpy(bytes, from + offset, count);
}

void CMappedTableStore::Forget()
{
    std::vector<unsigned char>().swap(m_wholeFile);
    m_wholeFileRead = false;
}

void CMappedTableStore::Write(std::uint32_t offset, const void* bytes, std::uint32_t count)
{
    if (!m_file.GetView())
        RefuseByteStoreFile(m_file, "CDbfFile: the table is open for reading only: ");
    m_file.WriteToMapping(offset, bytes, count);
}

void CMappedTableStore::Grow(std::uint32_t extraBytes)
{
    if (m_file.GetView())
        RefuseByteStoreFile(m_file, "CDbfFile: a mapped table cannot grow: ");
    m_file.CreateMapping(extraBytes);
}

void CMappedTableStore::Cut(std::uint32_t)
{
    RefuseByteStoreFile(m_file, "CDbfFile: a table is never cut: ");
}
