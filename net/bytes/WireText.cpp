#include "net/bytes/WireText.h"

#include <cctype>
#include <cstring>

const char kWireHeaderEnd[] = "End of TCPIP text#";
const char kWireRichTextEnd[] = "ENDOF rtf tcpip#";
const char kWireAttachmentMark[] = "Attachment follows,";

namespace {
const std::uint32_t kMaxColour = 0xFFFFFF;
const std::uint32_t kMaxPort = 65535;
const std::uint32_t kMaxFontSize = 400;
const std::uint32_t kMaxSide = 8192;
const std::uint32_t kAnyNumber = 0xFFFFFFFFu;
const size_t kAlarmDigits = 14;
const char kAvatarDataKey[] = "AvatarData=";

// A value as it may stand on one header line: cut to its bound, with no byte
// that would end the line early.
std::string LineSafe(const std::string& value, size_t bound)
{
    std::string safe = value.substr(0, bound);
    for (char& c : safe)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    return safe;
}

// The file's own name: whatever a sender puts before it must never lead the
// receiver into another folder.
std::string BareFileName(const std::string& name)
{
    size_t cut = name.find_last_of("\\/:");
    std::string bare = cut == std::string::npos ? name : name.substr(cut + 1);
    if (bare == "." || bare == "..")
        bare.clear();
    return bare;
}

// Base64 characters only: a picture that would not decode is not kept.
bool IsBase64Line(const std::string& text)
{
    for (char c : text)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '/' && c != '=')
            return false;
    return true;
}

bool IsAlarmText(const std::string& text)
{
    if (text.size() != kAlarmDigits)
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// Decimal digits only, within max; anything else is no number.
bool ReadNumber(const std::string& text, std::uint32_t max, std::uint32_t& out)
{
    if (text.empty() || text.size() > 10)
        return false;
    unsigned long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > max)
        return false;
    out = static_cast<std::uint32_t>(value);
    return true;
}

void PutLine(std::string& out, const char* key, const std::string& value)
{
    out += key;
    out += '=';
    out += value;
    out += "#\r\n";
}

void PutNumber(std::string& out, const char* key, unsigned long long value)
{
    PutLine(out, key, std::to_string(value));
}

void PutText(std::string& out, const char* key, const std::string& value, size_t bound)
{
    if (!value.empty())
        PutLine(out, key, LineSafe(value, bound));
}

// Header fields that the reader fills in besides the note itself.
struct HeaderSizes {
    bool hasRichTextLength = false;
    std::uint32_t richTextLength = 0;
    bool hasAttachmentLength = false;
    std::uint32_t attachmentLength = 0;
};

void TakeFlag(const std::string& value, bool& field)
{
    std::uint32_t flag = 0;
    if (ReadNumber(value, 1, flag))
        field = flag != 0;
}

void TakeHeaderValue(const std::string& key, const std::string& rawValue, CWireNote& note, HeaderSizes& sizes)
{
    std::string value = LineSafe(rawValue, rawValue.size());
    std::uint32_t number = 0;
    if (key == "Version")
        ReadNumber(value, kAnyNumber, note.version);
    else if (key == "From")
        note.computerName = value.substr(0, WireLimit::kComputerName);
    else if (key == "SentBy")
        note.userName = value.substr(0, WireLimit::kUserName);
    else if (key == "Alias")
        note.alias = value.substr(0, WireLimit::kAlias);
    else if (key == "Port")
        ReadNumber(value, kMaxPort, note.replyPort);
    else if (key == "Title")
        note.title = value.substr(0, WireLimit::kTitle);
    else if (key == "BackColor" && ReadNumber(value, kMaxColour, note.backColour))
        note.hasColours = true;
    else if (key == "TextColor" && ReadNumber(value, kMaxColour, note.textColour))
        note.hasColours = true;
    else if (key == "FontName")
        note.fontName = value.substr(0, WireLimit::kFontName);
    else if (key == "FontSize" && ReadNumber(value, kMaxFontSize, number) && number > 0)
        note.fontSize = number;
    else if (key == "Width" && ReadNumber(value, kMaxSide, number) && number > 0)
        note.width = number;
    else if (key == "Height" && ReadNumber(value, kMaxSide, number) && number > 0)
        note.height = number;
    else if (key == "StayOnTop")
        TakeFlag(value, note.stayOnTop);
    else if (key == "Alarm")
        note.alarm = IsAlarmText(value) ? value : std::string();
    else if (key == "Protected")
        TakeFlag(value, note.isProtected);
    else if (key == "ChatId")
        ReadNumber(value, kAnyNumber, note.chatId);
    else if (key == "ChatOp")
        note.chatOperation = value.substr(0, WireLimit::kChatOperation);
    else if (key == "TransId")
        ReadNumber(value, kAnyNumber, note.transactionId);
    else if (key == "AlsoTo") {
        if (!value.empty() && note.coRecipients.size() < WireLimit::kCoRecipients)
            note.coRecipients.push_back(value.substr(0, WireLimit::kComputerName));
    } else if (key == "AttachedFile")
        note.attachedFileName = BareFileName(value).substr(0, WireLimit::kAttachedFileName);
    else if (key == "Avatar")
        note.avatarName = BareFileName(value).substr(0, WireLimit::kAvatarName);
    else if (key == "AvatarData")
        note.avatarData = value.size() <= WireLimit::kAvatarData && IsBase64Line(value) ? value : std::string();
    else if (key == "RtfBytes")
        sizes.hasRichTextLength = ReadNumber(value, kAnyNumber, sizes.richTextLength);
    else if (key == "AttachedBytes")
        sizes.hasAttachmentLength = ReadNumber(value, kAnyNumber, sizes.attachmentLength);
}

// One header line without its line end: "Key=value#". A line of another shape
// is passed over, as an unknown key is.
void TakeHeaderLine(const char* line, size_t length, CWireNote& note, HeaderSizes& sizes)
{
    if (length > 0 && line[length - 1] == '\r')
        --length;
    if (length == 0 || line[length - 1] != '#')
        return;
    const char* equals = static_cast<const char*>(std::memchr(line, '=', length - 1));
    if (!equals)
        return;
    std::string key(line, static_cast<size_t>(equals - line));
    std::string value(equals + 1, static_cast<size_t>(line + length - 1 - (equals + 1)));
    TakeHeaderValue(key, value, note, sizes);
}

bool StartsWith(const char* bytes, size_t length, const char* mark)
{
    size_t markLength = std::strlen(mark);
    return length >= markLength && std::memcmp(bytes, mark, markLength) == 0;
}

// First place of mark in the bytes, or length when absent.
size_t Find(const char* bytes, size_t length, const char* mark)
{
    size_t markLength = std::strlen(mark);
    for (size_t at = 0; at + markLength <= length; ++at) {
        const void* hit = std::memchr(bytes + at, mark[0], length - markLength + 1 - at);
        if (!hit)
            break;
        at = static_cast<size_t>(static_cast<const char*>(hit) - bytes);
        if (std::memcmp(bytes + at, mark, markLength) == 0)
            return at;
    }
    return length;
}
}

bool CWireNote::operator==(const CWireNote& o) const
{
    return computerName == o.computerName && userName == o.userName && alias == o.alias &&
           replyPort == o.replyPort && title == o.title && hasColours == o.hasColours &&
           backColour == o.backColour && textColour == o.textColour && fontName == o.fontName &&
           fontSize == o.fontSize && width == o.width && height == o.height && stayOnTop == o.stayOnTop &&
           alarm == o.alarm && isProtected == o.isProtected && chatId == o.chatId &&
           chatOperation == o.chatOperation && transactionId == o.transactionId &&
           coRecipients == o.coRecipients && attachedFileName == o.attachedFileName &&
           avatarName == o.avatarName && avatarData == o.avatarData;
}

std::string WriteWireText(const CWireNote& note, const char* richText, size_t richTextLength,
                          const char* attachment, size_t attachmentLength)
{
    std::string out;
    out.reserve(1024 + richTextLength + attachmentLength);
    PutNumber(out, "Version", kWireVersion);
    PutText(out, "From", note.computerName, WireLimit::kComputerName);
    PutText(out, "SentBy", note.userName, WireLimit::kUserName);
    PutText(out, "Alias", note.alias, WireLimit::kAlias);
    if (note.replyPort != 0 && note.replyPort <= kMaxPort)
        PutNumber(out, "Port", note.replyPort);
    PutText(out, "Title", note.title, WireLimit::kTitle);
    if (note.hasColours) {
        PutNumber(out, "BackColor", note.backColour & kMaxColour);
        PutNumber(out, "TextColor", note.textColour & kMaxColour);
    }
    PutText(out, "FontName", note.fontName, WireLimit::kFontName);
    if (note.fontSize > 0 && note.fontSize <= kMaxFontSize)
        PutNumber(out, "FontSize", note.fontSize);
    if (note.width > 0 && note.width <= kMaxSide)
        PutNumber(out, "Width", note.width);
    if (note.height > 0 && note.height <= kMaxSide)
        PutNumber(out, "Height", note.height);
    PutNumber(out, "StayOnTop", note.stayOnTop ? 1 : 0);
    if (IsAlarmText(note.alarm))
        PutLine(out, "Alarm", note.alarm);
    PutNumber(out, "Protected", note.isProtected ? 1 : 0);
    if (note.chatId != 0)
        PutNumber(out, "ChatId", note.chatId);
    PutText(out, "ChatOp", note.chatOperation, WireLimit::kChatOperation);
    if (note.transactionId != 0)
        PutNumber(out, "TransId", note.transactionId);
    size_t written = 0;
    for (const std::string& name : note.coRecipients)
        if (!name.empty() && written < WireLimit::kCoRecipients) {
            PutText(out, "AlsoTo", name, WireLimit::kComputerName);
            ++written;
        }
    PutText(out, "Avatar", BareFileName(note.avatarName), WireLimit::kAvatarName);
    if (note.avatarData.size() <= WireLimit::kAvatarData && IsBase64Line(note.avatarData))
        PutText(out, "AvatarData", note.avatarData, WireLimit::kAvatarData);
    PutNumber(out, "RtfBytes", richTextLength);
    if (attachment) {
        PutText(out, "AttachedFile", BareFileName(note.attachedFileName), WireLimit::kAttachedFileName);
        PutNumber(out, "AttachedBytes", attachmentLength);
    }
    out += kWireHeaderEnd;
    out.append(richText, richTextLength);
    out += kWireRichTextEnd;
    if (attachment) {
        out += kWireAttachmentMark;
        out.append(attachment, attachmentLength);
    }
    return out;
}

const char* DescribeWireParseResult(WireParseResult result)
{
    switch (result) {
    case WireParseResult::kNote:
        return "a note";
    case WireParseResult::kNoHeaderEnd:
        return "no end of the header";
    case WireParseResult::kHeaderLineTooLong:
        return "a header line too long";
    case WireParseResult::kRichTextIncomplete:
        return "the rich text is incomplete";
    case WireParseResult::kAttachmentIncomplete:
        return "the attachment is incomplete";
    }
    return "unknown";
}

WireParseResult ParseWireText(const char* bytes, size_t length, CWireNote& note, CWireParts& parts)
{
    note = CWireNote();
    parts = CWireParts();
    HeaderSizes sizes;
    if (!bytes || length == 0)
        return WireParseResult::kNoHeaderEnd;
    size_t at = 0;
    for (;;) {
        if (StartsWith(bytes + at, length - at, kWireHeaderEnd))
            break;
        const size_t lineBound = StartsWith(bytes + at, length - at, kAvatarDataKey)
                                     ? std::strlen(kAvatarDataKey) + WireLimit::kAvatarData + 2
                                     : WireLimit::kLineBytes;
        size_t window = length - at;
        if (window > lineBound + 1)
            window = lineBound + 1;
        const void* lineEnd = std::memchr(bytes + at, '\n', window);
        if (!lineEnd)
            return window > lineBound ? WireParseResult::kHeaderLineTooLong : WireParseResult::kNoHeaderEnd;
        size_t lineLength = static_cast<size_t>(static_cast<const char*>(lineEnd) - (bytes + at));
        TakeHeaderLine(bytes + at, lineLength, note, sizes);
        at += lineLength + 1;
        if (at > WireLimit::kHeaderBytes)
            return WireParseResult::kNoHeaderEnd;
    }
    at += std::strlen(kWireHeaderEnd);

    // With its length announced, the rich text may hold any bytes, even the end
    // mark; a sender that gives no length ends it at the first mark.
    size_t left = length - at;
    size_t richLength = sizes.hasRichTextLength ? sizes.richTextLength : Find(bytes + at, left, kWireRichTextEnd);
    if (richLength > left || !StartsWith(bytes + at + richLength, left - richLength, kWireRichTextEnd))
        return WireParseResult::kRichTextIncomplete;
    parts.richTextOffset = at;
    parts.richTextLength = richLength;
    at += richLength + std::strlen(kWireRichTextEnd);

    // Anything else after the rich text (a line end from some senders) is not
    // part of the note.
    if (!StartsWith(bytes + at, length - at, kWireAttachmentMark)) {
        note.attachedFileName.clear();
        return sizes.hasAttachmentLength ? WireParseResult::kAttachmentIncomplete : WireParseResult::kNote;
    }
    at += std::strlen(kWireAttachmentMark);
    if (sizes.hasAttachmentLength && sizes.attachmentLength != length - at)
        return WireParseResult::kAttachmentIncomplete;
    parts.hasAttachment = true;
    parts.attachmentOffset = at;
    parts.attachmentLength = length - at;
    return WireParseResult::kNote;
}
