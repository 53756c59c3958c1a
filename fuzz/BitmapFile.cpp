// Stored bitmap files from arbitrary bytes: a file the check calls sound has its
// header, colour table and pixels inside the bytes read, with room for every
// row the header promises, and each of those bytes can be read. A picture the
// program writes, of a size the input chooses, passes the same check.
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "foundation/bytes/BitmapFileLayout.h"
#include "foundation/bytes/ImageFileHeaders.h"

namespace {
// Where the bytes read go, so that the reads are not left out.
volatile unsigned g_sink;

void CheckWrittenPicture(const uint8_t* data, size_t size)
{
    if (size < 2)
        return;
    const int32_t width = 1 + data[0] % 64;
    const int32_t height = 1 + data[1] % 64;
    const uint32_t imageSize = BitmapRowStride(width, 24) * static_cast<uint32_t>(height);
    std::vector<unsigned char> file = MakeBmpFileHeader(width, height, imageSize);
    file.resize(file.size() + imageSize, 0x7F);
    BitmapFileLayout layout;
    FUZZ_CHECK(CheckBitmapFile(file.data(), file.size(), &layout) == BitmapFileCheck::kSound);
    FUZZ_CHECK(layout.width == width && layout.height == height && layout.bitCount == 24);
    FUZZ_CHECK(layout.bitsOffset + kBitmapFileHeaderBytes == kBmpHeaderSize && layout.bitsBytes == imageSize);
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AnswerBoxesQuietly();
    CheckWrittenPicture(data, size);
    // A copy of exactly the input's size, so that any read past it is caught.
    std::vector<unsigned char> file(data, data + size);
    BitmapFileLayout layout;
    if (CheckBitmapFile(file.data(), file.size(), &layout) != BitmapFileCheck::kSound)
        return 0;

    const uint64_t dibStart = kBitmapFileHeaderBytes;
    FUZZ_CHECK(dibStart + layout.dibSize <= size);
    FUZZ_CHECK(layout.headerSize <= layout.dibSize);
    FUZZ_CHECK(static_cast<uint64_t>(layout.headerSize) + layout.colourTableBytes <= layout.bitsOffset);
    FUZZ_CHECK(static_cast<uint64_t>(layout.bitsOffset) + layout.bitsBytes <= layout.dibSize);
    FUZZ_CHECK(layout.width > 0 && layout.height != 0);

    // Uncompressed rows as the painting code steps over them.
    if (layout.compression == 0) {
        uint64_t rows = layout.height < 0 ? -static_cast<int64_t>(layout.height) : layout.height;
        uint64_t stride = BitmapRowStride(layout.width, layout.bitCount);
        FUZZ_CHECK(stride * rows <= layout.bitsBytes);
    }

    unsigned sum = 0;
    const unsigned char* dib = file.data() + dibStart;
    for (uint32_t k = 0; k < layout.colourTableBytes; ++k)
        sum += dib[layout.headerSize + k];
    if (layout.bitsBytes > 0)
        sum += dib[layout.bitsOffset] + dib[layout.bitsOffset + layout.bitsBytes - 1];
    g_sink = sum;
    return 0;
}
