#pragma once

#include "foundation/GenericFile.h"
#include "store/bytes/ByteStore.h"

// The bytes of an open CGenericFile, read and written through its handle (the
// memo files). Cut ends the file.
class CFileByteStore : public CByteStore {
public:
    explicit CFileByteStore(CGenericFile& file) : m_file(file) {}

    std::uint32_t Size() override;
    void Read(std::uint32_t offset, void* bytes, std::uint32_t count) override;
    void Write(std::uint32_t offset, const void* bytes, std::uint32_t count) override;
    void Grow(std::uint32_t extraBytes) override;
    void Cut(std::uint32_t size) override;

protected:
    CGenericFile& m_file;
};

// A table file: read through the handle, written through the mapped view
// (a table opened for reading has none and refuses writes). Growing maps the
// file with room for the new bytes; an open table is mapped only once.
class CMappedTableStore : public CFileByteStore {
public:
    explicit CMappedTableStore(CGenericFile& file) : CFileByteStore(file) {}

    void Write(std::uint32_t offset, const void* bytes, std::uint32_t count) override;
    void Grow(std::uint32_t extraBytes) override;
    void Cut(std::uint32_t size) override;
};
