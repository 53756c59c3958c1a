// E-mail texts from arbitrary bytes: the bytes as a note's rich text are
// reduced within their bounds, and a message built from them (subject, name,
// text, HTML and attachment alike) keeps every header on its own lines, every
// line short, and survives DATA with one lone "." only, at its end. The same
// bytes as a server's replies are read without passing their bounds.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "net/bytes/MimeMessage.h"
#include "net/bytes/RichTextReduce.h"
#include "net/bytes/SmtpText.h"

namespace {
void CheckMessage(const std::string& message)
{
    size_t start = 0;
    bool inHeader = true;
    const char* const kHeaders[] = {"From: ", "To: ", "Subject: ", "Date: ", "Message-ID: ", "MIME-Version: ",
                                    "Content-Type: "};
    size_t headerIndex = 0;
    while (start < message.size()) {
        size_t end = message.find("\r\n", start);
        FUZZ_CHECK(end != std::string::npos);
        std::string line = message.substr(start, end - start);
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
        FUZZ_CHECK(line.size() <= 998);
        if (inHeader && line.empty()) {
            inHeader = false;
        } else if (inHeader && line[0] != ' ') {
            // Each header once, in the writer's order: nothing else starts a header line.
            FUZZ_CHECK(headerIndex < sizeof kHeaders / sizeof kHeaders[0]);
            FUZZ_CHECK(line.compare(0, std::string(kHeaders[headerIndex]).size(), kHeaders[headerIndex]) == 0);
            ++headerIndex;
        }
        start = end + 2;
    }
    FUZZ_CHECK(headerIndex == sizeof kHeaders / sizeof kHeaders[0]);

    std::string data = StuffForData(message);
    FUZZ_CHECK(data.find("\r\n.\r\n") == data.size() - 5 || data == ".\r\n");
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AnswerBoxesQuietly();
    std::vector<char> bytes(data, data + size);
    CReducedText reduced = ReduceRichText(bytes.data(), bytes.size());
    std::string text = ReducedToPlainText(reduced);
    FUZZ_CHECK(text.size() <= 2 * kMaxReducedBytes);

    std::string raw(bytes.begin(), bytes.end());
    CMimeMessage message;
    message.fromAddress = "anna@example.org";
    message.fromName = raw.substr(0, 30);
    message.to = {"bob@example.net"};
    message.subject = raw.substr(0, 255);
    message.uniqueId = "fuzz.1";
    message.text = text;
    message.html = ReducedToHtml(reduced, 0xFFFFFF);
    message.attachments.push_back({raw.substr(0, 40), raw});
    std::string out;
    FUZZ_CHECK(WriteMimeMessage(message, out) == MimeWriteResult::kWritten);
    CheckMessage(out);

    // The bytes as an address: one that is taken can break no header.
    message.to = {raw};
    if (WriteMimeMessage(message, out) == MimeWriteResult::kWritten)
        CheckMessage(out);

    CSmtpReplyReader reader;
    size_t offset = 0;
    while (offset < bytes.size()) {
        size_t used = 0;
        CSmtpReplyReader::State state = reader.Feed(bytes.data() + offset, bytes.size() - offset, used);
        FUZZ_CHECK(used <= bytes.size() - offset);
        offset += used;
        if (state == CSmtpReplyReader::State::kNeedMore)
            break;
        FUZZ_CHECK(reader.Reply().text.size() <= kMaxSmtpReplyLines * (kMaxSmtpReplyLine + 2));
        if (state == CSmtpReplyReader::State::kComplete)
            FUZZ_CHECK(reader.Reply().code >= 200 && reader.Reply().code <= 599);
        reader.Reset();
    }
    return 0;
}
