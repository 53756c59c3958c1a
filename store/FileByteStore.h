#pragma once

#include <vector>

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

// A table file: written through the mapped view (a table opened for reading
// has none and refuses writes) and read from it; a table without a view is
// read whole at its first read and then from memory, which is safe as a
// table is opened exclusively. Growing maps the file with room for the new
// bytes; an open table is mapped only once. Forget drops the bytes read,
// when the file closes.
class CMappedTableStore : public CFileByteStore {
public:
    explicit CMappedTableStore(CGenericFile& file) : CFileByteStore(file) {}

    void Read(std::uint32_t offset, void* bytes, std::uint32_t count) override;
    void Write(std::uint32_t offset, const void* bytes, std::uint32_t count) override;
    void Grow(std::uint32_t extraBytes) override;
    void Cut(std::uint32_t size) override;
    void Forget();

private:
    std::vector<unsigned char> m_wholeFile;
    bool m_wholeFileRead = false;
};
