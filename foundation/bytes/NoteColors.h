#pragma once

#include <cstddef>
#include <cstdint>

// The note colours RED, GREEN, BLUE and YELLOW: each exists pure, as a pale tint
// (channels 0x9F, note backgrounds) and as a strong tint (0x6F, title bars and
// borders). Colours are COLORREF values, red in the low byte. Tints are used only
// on displays of more than 256 colours.
using NoteColor = std::uint32_t;

// The display's colour count, read at start-up; 0 until then (pure colours only).
void SetDisplayColorCount(std::uint32_t count);
std::uint32_t GetDisplayColorCount();

bool IsGreenColor(NoteColor color);  // pure green or either tint
bool IsBlueColor(NoteColor color);   // pure blue or either tint
// Neither red (pure or pale; the strong red is not recognised), green, blue nor
// yellow (pure or either tint).
bool IsCustomColor(NoteColor color);

// "RED", "GREEN", "BLUE", "YELLOW" or "CUSTOM", tested in that order; cut to size.
void ColorToName(NoteColor color, char* buffer, size_t size);

// The pale tint of a colour name ("4" to "7" and "8" are the numbered styles'
// colours); 0 for any other text.
NoteColor ColorNameToPaleColor(const char* name);
// The strong tint of a colour name or numbered style; 0 for any other text.
NoteColor ColorNameToStrongColor(const char* name);
// A recognised named colour becomes its strong tint; any other is returned as is.
NoteColor ColorToStrongColor(NoteColor color);

// The light tint drawn behind texts of a base colour (grid lines, other-month
// days); a colour outside the table is returned unchanged.
NoteColor GetBackgroundTint(NoteColor color);
