#include "store/FileByteStore.h"

#include <string>

namespace {
[[noreturn]] void Refuse(const CGenericFile& file, const char* what)
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
        Refuse(m_file, "Unexpected end of file ");
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

void CMappedTableStore::Write(std::uint32_t offset, const void* bytes, std::uint32_t count)
{
    if (!m_file.GetView())
        Refuse(m_file, "CDbfFile: the table is open for reading only: ");
    m_file.WriteToMapping(offset, bytes, count);
}

void CMappedTableStore::Grow(std::uint32_t extraBytes)
{
    if (m_file.GetView())
        Refuse(m_file, "CDbfFile: a mapped table cannot grow: ");
    m_file.CreateMapping(extraBytes);
}

void CMappedTableStore::Cut(std::uint32_t)
{
    Refuse(m_file, "CDbfFile: a table is never cut: ");
}
