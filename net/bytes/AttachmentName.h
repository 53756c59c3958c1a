#pragma once

#include <string>

// The name under which a received attached file is kept in the "ATTACHED"
// folder. The sender chooses it, so it is made safe first: it must name one
// plain file in that folder, never a device or another folder.

// The sender's name as a file name of this folder: no folders, no characters
// that a file name may not hold (each becomes '_'), no trailing dots or blanks,
// no device name such as "CON" or "lpt1.txt" (a '_' goes before it), at most
// 200 characters with its extension kept; "attachment" when nothing is left.
std::string SafeAttachmentName(const std::string& senderName);

// The n-th choice of name when the earlier ones are taken: the name itself
// for 1, then "report (2).txt", "report (3).txt", and so on.
std::string NumberedFileName(const std::string& name, unsigned n);
