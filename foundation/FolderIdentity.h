#pragma once

#include <string>

// Whether two paths name the same folder, whatever their spelling: the same
// folder on the disk when both can be opened, else the same full path
// compared without regard to case, to a closing backslash or to "." and ".."
// parts. Two empty paths are the same; an empty and another are not.
bool IsSameFolder(const std::string& first, const std::string& second);
