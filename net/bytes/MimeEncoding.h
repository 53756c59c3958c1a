#pragma once

#include <string>

// The small encodings an e-mail is written with: quoted-printable bodies,
// header texts that can carry any byte yet never break a header line, the
// plain addresses this program accepts, and the date line. Texts are
// windows-1252 bytes.

// Quoted-printable: lines of at most 76 characters, CR LF between them; the
// text's own line ends (CR LF, LF or CR) become hard line breaks.
std::string EncodeQuotedPrintable(const std::string& text);

// A plain address "local@domain": printable ASCII without blanks, quotes,
// brackets, commas or semicolons, one '@' with something on both sides, at most
// 254 characters. Anything else could change the meaning of a header or of an
// SMTP command, so it is refused, never mended.
bool IsPlainMailAddress(const std::string& address);

// The domain of a plain address (the part after '@').
std::string MailAddressDomain(const std::string& address);

// A header's free text (a subject): line breaks and other control characters
// become blanks; plain ASCII stays as it is, folded before 78 characters where
// it has blanks; other bytes go as encoded words, one folded line each.
// `headerName` is the name in front of it, so that the first line is counted.
std::string EncodeHeaderText(const std::string& text, const std::string& headerName);

// A display name before an address: quoted when it is plain ASCII, encoded
// words otherwise; control characters become blanks.
std::string EncodeDisplayName(const std::string& name);

struct CMailDate {
    int year = 1970;
    int month = 1;      // 1 to 12
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 4;    // 0 Sunday to 6 Saturday
    int utcOffsetMinutes = 0;
};

// "Sun, 06 Dec 2026 23:55:05 +0100"
std::string FormatMailDate(const CMailDate& date);
