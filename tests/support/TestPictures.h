#pragma once

#include <windows.h>

#include <string>

// A 24-bit BMP file of side x side pixels in one colour, with a black diagonal
// so that no two rows of bytes are alike.
std::string SquareBitmap(int side, COLORREF colour);

// Bytes as one Base64 line, as the chat texts carry pictures.
std::string Base64Line(const std::string& bytes);
