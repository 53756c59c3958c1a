#pragma once

#include <cstddef>

// Texts in which the program finds links and program paths.

// True when the position lies inside a quoted span of its line, and that span
// holds no second link start (" http:", " www.", " C:\" and the like) anywhere
// but at its very start or end. Without quotedOnly the position must also
// follow an odd number of quotation marks on its line.
bool IsInsideQuotedLink(const char* text, size_t position, bool quotedOnly);

// The program path of a command such as a browser's "open" command: around the
// first ".exe", from the opening to the closing quotation mark (both kept) when
// it is quoted, else from the blank before it to the blank after it (that blank
// kept). False, with an empty result, when the command holds no ".exe" or the
// path does not fit.
bool ExtractProgramPath(const char* command, char* out, size_t size);
