#include "net/bytes/MimeMessage.h"

#include "foundation/bytes/Base64Lines.h"

namespace {
const size_t kMaxFileNameLength = 200;

bool IsPlainUniqueId(const std::string& id)
{
    if (id.empty() || id.size() > 100)
        return false;
    for (char c : id) {
        bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!letterOrDigit && c != '.' && c != '-' && c != '_' && c != '$')
            return false;
    }
    return true;
}

// The name without folders, and without the characters that a quoted header
// parameter cannot hold.
std::string CleanFileName(const std::string& path)
{
    size_t slash = path.find_last_of("\\/:");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string out;
    for (char c : name) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '"' || c == '\\')
            continue;
        out += c;
    }
    if (out.size() > kMaxFileNameLength)
        out.erase(0, out.size() - kMaxFileNameLength);
    return out.empty() ? std::string("attachment") : out;
}

bool IsPlainAsciiName(const std::string& name)
{
    for (char c : name)
        if (static_cast<unsigned char>(c) > 0x7E)
            return false;
    return true;
}

// filename="name", or for other bytes the percent-encoded form with its charset.
std::string FileNameParameter(const char* parameter, const std::string& name)
{
    if (IsPlainAsciiName(name))
        return std::string(parameter) + "=\"" + name + "\"";
    static const char kHex[] = "0123456789ABCDEF";
    std::string out = std::string(parameter) + "*=windows-1252''";
    for (char c : name) {
        unsigned char u = static_cast<unsigned char>(c);
        bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || c == '.' ||
                     c == '-' || c == '_';
        if (plain) {
            out += c;
        } else {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 15];
        }
    }
    return out;
}

void AppendBase64Lines(std::string& out, const std::string& bytes)
{
    size_t length = Base64EncodedLength(bytes.size(), 0);
    size_t start = out.size();
    out.resize(start + length);
    Base64Encode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &out[start], &length, 0);
    out.resize(start + length);
    if (length > 0 && out.back() != '\n')
        out += "\r\n";
}

void AppendTextPart(std::string& out, const char* subtype, const std::string& text)
{
    out += "Content-Type: text/";
    out += subtype;
    out += "; charset=windows-1252\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n";
    // The line end before the next boundary belongs to the boundary.
    out += EncodeQuotedPrintable(text);
}

void AppendAttachmentPart(std::string& out, const CMimeAttachment& attachment)
{
    std::string name = CleanFileName(attachment.fileName);
    out += "Content-Type: application/octet-stream;\r\n " + FileNameParameter("name", name) + "\r\n";
    out += "Content-Transfer-Encoding: base64\r\n";
    out += "Content-Disposition: attachment;\r\n " + FileNameParameter("filename", name) + "\r\n\r\n";
    AppendBase64Lines(out, attachment.bytes);
}

// Neither quoted-printable nor Base64 can produce "=_", so these boundaries
// never occur inside a part.
std::string Boundary(const char* kind, const std::string& uniqueId)
{
    return std::string("=_Quillnet_") + kind + "_" + uniqueId;
}
}

MimeWriteResult WriteMimeMessage(const CMimeMessage& message, std::string& out)
{
    out.clear();
    if (!IsPlainMailAddress(message.fromAddress))
        return MimeWriteResult::kBadSender;
    if (message.to.empty())
        return MimeWriteResult::kNoRecipient;
    for (const std::string& address : message.to)
        if (!IsPlainMailAddress(address))
            return MimeWriteResult::kBadRecipient;
    if (!IsPlainUniqueId(message.uniqueId))
        return MimeWriteResult::kBadUniqueId;

    std::string mixed = Boundary("mixed", message.uniqueId);
    std::string alternative = Boundary("alternative", message.uniqueId);
    out += "From: ";
    if (!message.fromName.empty())
        out += EncodeDisplayName(message.fromName) + " ";
    out += "<" + message.fromAddress + ">\r\n";
    out += "To: ";
    for (size_t k = 0; k < message.to.size(); ++k)
        out += (k ? ",\r\n " : "") + message.to[k];
    out += "\r\n";
    out += "Subject: " + EncodeHeaderText(message.subject, "Subject") + "\r\n";
    out += "Date: " + FormatMailDate(message.date) + "\r\n";
    out += "Message-ID: <" + message.uniqueId + "@" + MailAddressDomain(message.fromAddress) + ">\r\n";
    out += "MIME-Version: 1.0\r\n";
    out += "Content-Type: multipart/mixed;\r\n boundary=\"" + mixed + "\"\r\n\r\n";
    out += "This is a multi-part message in MIME format.\r\n";

    out += "\r\n--" + mixed + "\r\n";
    if (message.html.empty()) {
        AppendTextPart(out, "plain", message.text);
    } else {
        out += "Content-Type: multipart/alternative;\r\n boundary=\"" + alternative + "\"\r\n\r\n";
        out += "--" + alternative + "\r\n";
        AppendTextPart(out, "plain", message.text);
        out += "\r\n--" + alternative + "\r\n";
        AppendTextPart(out, "html", message.html);
        out += "\r\n--" + alternative + "--\r\n";
    }
    for (const CMimeAttachment& attachment : message.attachments) {
        out += "\r\n--" + mixed + "\r\n";
        AppendAttachmentPart(out, attachment);
    }
    out += "\r\n--" + mixed + "--\r\n";
    return MimeWriteResult::kWritten;
}

const char* DescribeMimeWriteResult(MimeWriteResult result)
{
    switch (result) {
    case MimeWriteResult::kWritten:
        return "written";
    case MimeWriteResult::kBadSender:
        return "the sender's e-mail address is missing or not a plain address";
    case MimeWriteResult::kBadRecipient:
        return "the recipient's e-mail address is not a plain address";
    case MimeWriteResult::kNoRecipient:
        return "the e-mail has no recipient";
    case MimeWriteResult::kBadUniqueId:
        return "the e-mail has no usable message id";
    }
    return "unknown";
}
