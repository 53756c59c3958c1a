#pragma once

#include <string>

// Whether the text holds the part: the tests read boxes and logs for the
// sentences that matter, not for their whole wording.
inline bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}
