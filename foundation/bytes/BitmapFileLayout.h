#pragma once

#include <cstddef>
#include <cstdint>

// Where the parts of a stored bitmap file lie, checked against the bytes read
// before anything is drawn from them. Offsets count from the start of the
// device-independent bitmap, just after the 14-byte file header.
struct BitmapFileLayout {
    uint32_t dibSize;          // the file size the header states, less its 14 bytes
    uint32_t headerSize;       // 12 for the old core header, else 16 or more
    int32_t width;
    int32_t height;            // negative for a top-down bitmap
    uint16_t bitCount;
    uint32_t compression;
    // Palette entries: the used-colour count when the header states one, else 2
    // to the power of the bit count, none for 24 bits; above 256 for the deep
    // formats, which cannot have an exact palette.
    uint32_t colourCount;
    uint32_t colourEntrySize;  // 3 after a core header, else 4
    uint32_t colourTableBytes; // as stored after the header
    uint32_t bitsOffset;
    uint32_t bitsBytes;
};

enum class BitmapFileCheck {
    kSound,
    kNotBitmap,         // too short for a file header, or not "BM"
    kBadInfoHeader,     // header size, dimensions, bit count or compression unusable
    kIncomplete,        // the stated sizes run past the bytes that were read
};

BitmapFileCheck CheckBitmapFile(const unsigned char* file, size_t size, BitmapFileLayout* layout);

enum { kBitmapFileHeaderBytes = 14 };
