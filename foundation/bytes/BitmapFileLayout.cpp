#include "foundation/bytes/BitmapFileLayout.h"

#include <cstring>

#include "foundation/bytes/ImageFileHeaders.h"

namespace {
const uint32_t kCoreHeaderBytes = 12;
const uint32_t kInfoHeaderBytes = 40;
const uint32_t kCompressionRgb = 0;
const uint32_t kCompressionRle8 = 1;
const uint32_t kCompressionRle4 = 2;
const uint32_t kCompressionBitFields = 3;

uint32_t Word(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0] | p[1] << 8);
}

uint32_t DoubleWord(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

// Reads the info header into the layout; false when it cannot describe pixels.
bool ReadInfoHeader(const unsigned char* dib, BitmapFileLayout& layout)
{
    if (layout.headerSize == kCoreHeaderBytes) {
        layout.width = static_cast<int32_t>(Word(dib + 4));
        layout.height = static_cast<int32_t>(Word(dib + 6));
        layout.bitCount = static_cast<uint16_t>(Word(dib + 10));
        layout.colourEntrySize = 3;
    } else {
        layout.width = static_cast<int32_t>(DoubleWord(dib + 4));
        layout.height = static_cast<int32_t>(DoubleWord(dib + 8));
        layout.bitCount = static_cast<uint16_t>(Word(dib + 14));
        layout.compression = layout.headerSize >= 20 ? DoubleWord(dib + 16) : kCompressionRgb;
        layout.colourEntrySize = 4;
    }
    switch (layout.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32:
        break;
    default:
        return false;
    }
    return layout.width > 0 && layout.height != 0 && layout.height != INT32_MIN;
}
}

BitmapFileCheck CheckBitmapFile(const unsigned char* file, size_t size, BitmapFileLayout* layout)
{
    if (!file || !layout || size < kBitmapFileHeaderBytes || file[0] != 'B' || file[1] != 'M')
        return BitmapFileCheck::kNotBitmap;
    BitmapFileLayout found;
    std::memset(&found, 0, sizeof found);
    uint32_t fileSize = DoubleWord(file + 2);
    if (fileSize < kBitmapFileHeaderBytes + kCoreHeaderBytes)
        return BitmapFileCheck::kBadInfoHeader;
    if (fileSize > size)
        return BitmapFileCheck::kIncomplete;
    found.dibSize = fileSize - kBitmapFileHeaderBytes;
    const unsigned char* dib = file + kBitmapFileHeaderBytes;

    found.headerSize = DoubleWord(dib);
    if (found.headerSize != kCoreHeaderBytes && found.headerSize < 16)
        return BitmapFileCheck::kBadInfoHeader;
    if (found.headerSize > found.dibSize)
        return BitmapFileCheck::kIncomplete;
    if (!ReadInfoHeader(dib, found))
        return BitmapFileCheck::kBadInfoHeader;

    uint32_t usedColours = found.headerSize >= 36 ? DoubleWord(dib + 32) : 0;
    uint64_t tableEntries = 0;
    if (usedColours) {
        found.colourCount = usedColours;
        tableEntries = usedColours;
    } else if (found.bitCount <= 8) {
        found.colourCount = 1u << found.bitCount;
        tableEntries = found.colourCount;
    } else if (found.bitCount != 24) {
        found.colourCount = found.bitCount >= 32 ? UINT32_MAX : 1u << found.bitCount;
    }
    uint64_t tableBytes = tableEntries * found.colourEntrySize;
    if (found.compression == kCompressionBitFields && found.headerSize == kInfoHeaderBytes)
        tableBytes += 12; // the three colour masks

    uint32_t bitsBytes;
    if (found.compression == kCompressionRgb || found.compression == kCompressionBitFields) {
        if (found.compression == kCompressionBitFields && found.bitCount != 16 && found.bitCount != 32)
            return BitmapFileCheck::kBadInfoHeader;
        bitsBytes = BitmapImageBytes(found.width, found.height, found.bitCount);
        if (bitsBytes == 0) // more than 32 bits can count
            return BitmapFileCheck::kIncomplete;
    } else if ((found.compression == kCompressionRle8 && found.bitCount == 8) ||
               (found.compression == kCompressionRle4 && found.bitCount == 4)) {
        if (found.headerSize < 24 || found.height < 0)
            return BitmapFileCheck::kBadInfoHeader;
        bitsBytes = DoubleWord(dib + 20);
        if (bitsBytes == 0)
            return BitmapFileCheck::kBadInfoHeader;
    } else {
        return BitmapFileCheck::kBadInfoHeader;
    }
    // Each part is checked against the room the parts before it leave, so no
    // sum of stated sizes can wrap and pass.
    if (tableBytes > found.dibSize - found.headerSize)
        return BitmapFileCheck::kIncomplete;
    uint32_t bitsOffset = found.headerSize + static_cast<uint32_t>(tableBytes);
    if (bitsBytes > found.dibSize - bitsOffset)
        return BitmapFileCheck::kIncomplete;
    found.colourTableBytes = static_cast<uint32_t>(tableBytes);
    found.bitsOffset = bitsOffset;
    found.bitsBytes = bitsBytes;
    *layout = found;
    return BitmapFileCheck::kSound;
}
