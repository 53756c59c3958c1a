#include "foundation/bytes/ImageFileHeaders.h"

namespace {
void Put16(std::vector<unsigned char>& out, std::uint32_t value)
{
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void Put32(std::vector<unsigned char>& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutInfoHeader(std::vector<unsigned char>& out, std::int32_t width, std::int32_t height, int bitCount,
                   std::uint32_t imageSize)
{
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);  // planes
    Put16(out, static_cast<std::uint32_t>(bitCount));
    Put32(out, 0);  // BI_RGB
    Put32(out, imageSize);
    for (int i = 0; i < 4; ++i)  // resolutions and colour counts
        Put32(out, 0);
}
}

std::uint32_t BitmapRowStride(std::int32_t width, int bitCount)
{
    if (width <= 0 || bitCount <= 0)
        return 0;
    std::uint64_t stride = (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount) + 31) / 32 * 4;
    return stride > UINT32_MAX ? 0 : static_cast<std::uint32_t>(stride);
}

std::uint32_t BitmapImageBytes(std::int32_t width, std::int32_t height, int bitCount)
{
    std::uint64_t rows = height < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(height))
                                    : static_cast<std::uint64_t>(height);
    std::uint64_t bytes = static_cast<std::uint64_t>(BitmapRowStride(width, bitCount)) * rows;
    return bytes > UINT32_MAX ? 0 : static_cast<std::uint32_t>(bytes);
}

std::vector<unsigned char> MakeBmpFileHeader(std::int32_t width, std::int32_t height, std::uint32_t imageSize)
{
    std::vector<unsigned char> out;
    out.reserve(kBmpHeaderSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, kBmpHeaderSize + imageSize);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, kBmpHeaderSize);
    PutInfoHeader(out, width, height, 24, imageSize);
    return out;
}

std::vector<unsigned char> MakeIconFileHeader(std::int32_t width, std::int32_t colorHeight, std::int32_t maskHeight,
                                              int bitCount, std::uint32_t colorBytes, std::uint32_t maskBytes)
{
    std::vector<unsigned char> out;
    out.reserve(kIconHeaderSize);
    Put16(out, 0);  // reserved
    Put16(out, 1);  // an icon
    Put16(out, 1);  // one image
    out.push_back(static_cast<unsigned char>(width));
    out.push_back(static_cast<unsigned char>(colorHeight));
    out.push_back(0);  // colour count
    out.push_back(0);  // reserved
    Put16(out, 0);     // planes
    Put16(out, static_cast<std::uint32_t>(bitCount));
    Put32(out, 40 + colorBytes + maskBytes);
    Put32(out, 22);
    PutInfoHeader(out, width, colorHeight + maskHeight, bitCount, colorBytes);
    return out;
}
