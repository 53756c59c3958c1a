#pragma once

#include <cstdint>
#include <string>

// The two listening ports as the Network settings page shows them: the first
// port, a comma, the second port ("2511,2512").

struct ListeningPortsCheck {
    const char* error = nullptr;  // the text the user is shown; null when accepted
    std::uint16_t first = 0;
    std::uint16_t second = 0;
};

// Checks the typed text (blanks around it ignored, at most 29 characters
// read): at least 5 characters, exactly one comma, two different ports
// compared as numbers, each from 1 to 65535.
ListeningPortsCheck CheckListeningPorts(const std::string& text);

std::string FormatListeningPorts(std::uint16_t first, std::uint16_t second);
