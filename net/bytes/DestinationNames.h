#pragma once

#include <string>

// A destination's name in the columns of the sent-to and transaction tables.
// The first column holds 16 characters, so longer names go on in a second one:
// a computer name in PLXREST, an e-mail address (which takes precedence) in C3.
// An e-mail address of at most 16 characters stands in C3 alone, with a single
// blank in the first column.
struct DestinationNameColumns {
    std::string destination;  // SZDESTINAT
    std::string rest;         // PLXREST
    std::string email;        // C3
};

enum { kDestinationColumnWidth = 16 };

DestinationNameColumns SplitDestinationName(const std::string& computerName, const std::string& email);

// Back from the columns (trailing blanks already removed): with anything in C3
// the first column and C3 are the e-mail address and there is no computer
// name; otherwise the first column and PLXREST are the computer name. Tables
// of older versions have no PLXREST: pass it empty.
void JoinDestinationName(const DestinationNameColumns& columns, std::string& computerName, std::string& email);
