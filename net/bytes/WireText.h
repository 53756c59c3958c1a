#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The text a note travels in between two running programs (docs/wire-text.md):
// header lines "Key=value#\r\n", the mark "End of TCPIP text#", the rich text,
// the mark "ENDOF rtf tcpip#", and optionally "Attachment follows," with the
// attached file's bytes up to the end of the connection.

extern const char kWireHeaderEnd[];      // "End of TCPIP text#"
extern const char kWireRichTextEnd[];    // "ENDOF rtf tcpip#"
extern const char kWireAttachmentMark[]; // "Attachment follows,"

// The version this program writes; a reader takes any version and ignores the
// keys it does not know.
const unsigned kWireVersion = 1;

// Bounds of the header: longer values are cut, numbers out of range dropped.
namespace WireLimit {
const size_t kHeaderBytes = 64 * 1024;
const size_t kLineBytes = 4096;
const size_t kComputerName = 100;
const size_t kUserName = 25;
const size_t kAlias = 15;
const size_t kTitle = 255;
const size_t kFontName = 31;
const size_t kChatOperation = 31;
const size_t kAttachedFileName = 259;
const size_t kCoRecipients = 32;
const size_t kAvatarName = 99;
// A chat avatar's picture rides in the header as one Base64 line of at most
// this many characters (a picture of 24 KB); its line may be that long.
const size_t kAvatarData = 32 * 1024;
}

// What the header says of a note. Numbers absent from the header stay 0 (a
// colour of 0 is black: hasColours tells whether the sender gave them).
struct CWireNote {
    std::uint32_t version = 0;      // 0: a sender that writes no version
    std::string computerName;       // From
    std::string userName;           // SentBy
    std::string alias;              // Alias
    std::uint32_t replyPort = 0;    // Port: where the sender listens
    std::string title;              // Title
    bool hasColours = false;
    std::uint32_t backColour = 0;   // BackColor, 0x00bbggrr
    std::uint32_t textColour = 0;   // TextColor
    std::string fontName;           // FontName
    std::uint32_t fontSize = 0;     // FontSize, points
    std::uint32_t width = 0;        // Width, pixels
    std::uint32_t height = 0;       // Height
    bool stayOnTop = false;         // StayOnTop
    std::string alarm;              // Alarm: "yyyymmddhhmmss", or empty
    bool isProtected = false;       // Protected: the attachment is enciphered
    std::uint32_t chatId = 0;       // ChatId: 0 for a plain note
    std::string chatOperation;      // ChatOp: handed to the chat code when set
    std::uint32_t transactionId = 0; // TransId
    std::vector<std::string> coRecipients; // AlsoTo, one line each
    std::string attachedFileName;   // AttachedFile: a name without folders
    std::string avatarName;         // Avatar: the sender's chat picture, a name without folders
    std::string avatarData;         // AvatarData: that picture file as one Base64 line, or empty

    bool IsChatOperation() const { return chatId != 0 || !chatOperation.empty(); }
    // The same note: every field but the version of its writer.
    bool operator==(const CWireNote& other) const;
};

// The whole wire text of a note. Values are cut to their bounds; line breaks
// inside a value become blanks and folders are dropped from the file name.
std::string WriteWireText(const CWireNote& note, const char* richText, size_t richTextLength,
                          const char* attachment, size_t attachmentLength);

enum class WireParseResult {
    kNote,
    kNoHeaderEnd,           // no "End of TCPIP text#" at a line start within the header bound
    kHeaderLineTooLong,
    kRichTextIncomplete,    // the rich text or its end mark is missing
    kAttachmentIncomplete,  // fewer or more attachment bytes than announced
};
const char* DescribeWireParseResult(WireParseResult result);

// Where the rich text and the attachment lie inside the parsed bytes.
struct CWireParts {
    size_t richTextOffset = 0;
    size_t richTextLength = 0;
    bool hasAttachment = false;
    size_t attachmentOffset = 0;
    size_t attachmentLength = 0;
};

// Reads a received text; note and parts are filled as far as the bytes allow.
WireParseResult ParseWireText(const char* bytes, size_t length, CWireNote& note, CWireParts& parts);
