#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The headers of the two picture files the program writes: a 24-bit BMP and an
// icon file with one image. Values are little-endian, as on disk.

// Bytes of one pixel row, padded to a multiple of 4; 0 when the width or bit
// count is not positive, or the row does not fit 32 bits.
std::uint32_t BitmapRowStride(std::int32_t width, int bitCount);
// Bytes of all rows (a negative height is a top-down bitmap); 0 likewise.
std::uint32_t BitmapImageBytes(std::int32_t width, std::int32_t height, int bitCount);

// "BM", the file size (54 + image size), the pixel offset 54 and a 40-byte
// BITMAPINFOHEADER: 24 bits, rows bottom-up, uncompressed.
enum { kBmpHeaderSize = 54 };
std::vector<unsigned char> MakeBmpFileHeader(std::int32_t width, std::int32_t height, std::uint32_t imageSize);

// The 6-byte icon directory, its one 16-byte entry and the image's 40-byte
// BITMAPINFOHEADER, whose height counts the colour and the mask rows.
enum { kIconHeaderSize = 62 };
std::vector<unsigned char> MakeIconFileHeader(std::int32_t width, std::int32_t colorHeight, std::int32_t maskHeight,
                                              int bitCount, std::uint32_t colorBytes, std::uint32_t maskBytes);
