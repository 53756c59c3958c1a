#pragma once

#include <string>

// The sender of e-mailed notes as the Email sending page shows it: the bare
// address ("jane@example.org") or a friendly name and the address in angle
// brackets ("Jane Doe <jane@example.org>").

enum { kSenderAddressMax = 60, kFriendlyNameMax = 30, kSenderTextMax = 99 };

struct SenderAddressParse {
    bool accepted = false;
    std::string address;
    std::string friendlyName;
    // A text of its own about what is too long; empty when the refusal has none.
    // A refused text is always followed by "Incorrect email address".
    std::string reason;
};

// Reads the typed text (at most 99 characters): empty clears both parts; else
// it must hold one address with exactly one "@", and at most one pair of angle
// brackets with nothing after them; the address is at most 60 characters and
// the friendly name at most 30.
SenderAddressParse ParseSenderAddress(const std::string& typed);

// The text the page shows for the two parts.
std::string FormatSenderAddress(const std::string& address, const std::string& friendlyName);
