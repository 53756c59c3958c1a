#include "store/NoteRtfPacking.h"

#include <vector>

#include "foundation/bytes/MemoryZip.h"
#include "store/NoteRecord.h"
#include "noteprops/bytes/ProtectedBody.h"

namespace {
const char kZipStart[] = "PK\x03\x04";
}

int PackNoteRtf(NoteRecord& note, const char* bytes, size_t length, int)
{
    std::vector<unsigned char> archive;
    if (!bytes || !PackToMemoryZip(kPackedRtfEntryName, bytes, length, archive)) {
        note.m_packedText.clear();
        return 0;
    }
    note.m_packedText.assign(reinterpret_cast<const char*>(archive.data()), archive.size());
    return 1;
}

bool UnpackStoredNoteText(std::string& text)
{
    if (text.compare(0, 4, kZipStart, 4) != 0)
        return true;
    std::vector<unsigned char> bytes;
    std::string name;
    if (!UnpackFirstMemoryZipEntry(text.data(), text.size(), bytes, &name) || name != kPackedRtfEntryName)
        return false;
    text.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return true;
}
