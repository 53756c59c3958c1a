#pragma once

#include <string>

// Where a note is sent, as a user types it: in the send dialog (a computer
// name, an IP address and a port in three boxes) or in a send request of the
// command line, whose destination text is one of
//     name-or-address            the receiver's usual port
//     name-or-address:port
//     someone@example.com        an e-mail recipient
// optionally followed by "!#%@" and the path of a file to attach.

extern const char kSendRequestSeparator[];  // "!#%@"

struct SendTarget {
    std::string computerName;  // empty when an address or an e-mail was given
    std::string ipAddress;     // dotted, four numbers 0 to 255
    std::string email;
    unsigned port = 0;         // 0: the receiver's usual port
    std::string attachedFile;  // empty: nothing attached
};

// Limits of the destination record's fields.
namespace SendTargetLimit {
const size_t kComputerName = 100;
const size_t kIpAddress = 15;
const size_t kEmail = 100;
const size_t kAttachedFile = 259;
}

// Four decimal numbers from 0 to 255 with a dot between each two.
bool IsDottedAddress(const std::string& text);
// Letters, digits, '-', '_' and '.', at most 100 characters, not empty.
bool IsComputerName(const std::string& text);
// A decimal number from 1 to 65535 (blanks around it allowed).
bool ParsePortText(const std::string& text, unsigned& port);

// The typed boxes of the send dialog, checked: the text that tells the user
// what is wrong, or empty when a destination can be made from them (or when
// all three are empty: nothing was typed). The target is filled when valid.
// An e-mail address in the name box makes an e-mail recipient; the address
// and port boxes then do not count.
std::string CheckTypedDestination(const std::string& computerName, const std::string& ipAddress,
                                  const std::string& portText, SendTarget& target);

// A command line's destination text; false with the reason when it names
// no destination that a note can go to.
bool ParseSendRequestTarget(const std::string& text, SendTarget& target, std::string& reason);
