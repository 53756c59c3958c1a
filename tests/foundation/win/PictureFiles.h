#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Small picture files built byte by byte for the picture tests.

// A bottom-up 24-bit BMP filled with one colour (0x00BBGGRR).
std::string MakeBmp24(int width, int height, uint32_t colour);
// A bottom-up 8-bit BMP with the given colour table (0x00BBGGRR entries) and
// one palette index per pixel, rows from the top.
std::string MakeBmp8(int width, int height, const std::vector<uint32_t>& colours,
                     const std::vector<uint8_t>& indexes);
// A GIF of four colours whose pixels are all colour index 1.
std::string MakeGif(int width, int height);
// A baseline grey JPEG of the given size, every pixel mid-grey.
std::string MakeJpeg(int width, int height);
