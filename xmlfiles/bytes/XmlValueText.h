#pragma once

// Conversions of the values the XML readers take out of a tree.

// Removes leading and trailing blanks in place.
void TrimBlanks(char* text);

// The decimal number at the start of a text: leading white space skipped, an
// optional sign, the digits up to the first other character; 0 when there are
// none. Values beyond the 32-bit range stop at its ends.
int DecimalTextToInt(const char* text);
