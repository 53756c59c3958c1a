#pragma once

#include <cstddef>

// Copies as much of the text as fits the target, always terminated; a null
// text copies as an empty one. For the fixed text fields of records and system
// structures, which long input must never overrun.
void CopyBounded(char* target, std::size_t size, const char* text);

template <std::size_t N>
void CopyBounded(char (&target)[N], const char* text)
{
    CopyBounded(target, N, text);
}
