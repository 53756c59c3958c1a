#pragma once

#include <string>

// What the user is told when a hotkey's combination is already taken. The
// combination is its display text ("Ctrl+Alt+N"); blanks are removed from it.

// Another group has the combination. For a group (with a name of two or more
// characters) sharing is allowed and the text is a warning (warning set);
// for an action hotkey it is an error.
std::string GroupClashText(const std::string& combination, const std::string& name, bool forGroup,
                           const std::string& otherGroup, bool* warning);

// An enabled action hotkey has the combination: always an error.
std::string ActionClashText(const std::string& combination, const std::string& name, bool forGroup,
                            const std::string& actionName);
