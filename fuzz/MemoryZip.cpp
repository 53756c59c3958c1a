// Zip archives from arbitrary bytes (they arrive over the network and in
// protected notes): the first entry unpacks or is refused, its name ends inside
// the name buffer, and any bytes packed as an entry come back unchanged.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "foundation/bytes/MemoryZip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AnswerBoxesQuietly();
    // A copy of exactly the input's size, so that any read past it is caught.
    std::vector<unsigned char> archive(data, data + size);
    std::vector<unsigned char> bytes;
    std::string name;
    if (UnpackFirstMemoryZipEntry(archive.data(), archive.size(), bytes, &name))
        FUZZ_CHECK(name.size() < 260);
    else
        FUZZ_CHECK(bytes.empty());

    const std::string entryName = size % 2 ? "note.rtf" : "attachment.bin";
    std::vector<unsigned char> packed;
    FUZZ_CHECK(PackToMemoryZip(entryName, data, size, packed));
    std::vector<unsigned char> unpacked;
    std::string unpackedName;
    FUZZ_CHECK(UnpackFirstMemoryZipEntry(packed.data(), packed.size(), unpacked, &unpackedName));
    FUZZ_CHECK(unpackedName == entryName);
    FUZZ_CHECK(unpacked == archive);
    return 0;
}
