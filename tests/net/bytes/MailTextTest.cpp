// The texts of an e-mailed note: a note's rich text reduced to plain text and
// HTML, the MIME message written around it, the server's replies read as they
// arrive, and the message made safe for DATA, with hostile input throughout.
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "net/bytes/MimeMessage.h"
#include "net/bytes/RichTextReduce.h"
#include "net/bytes/SmtpText.h"

namespace {
const char kNoteRtf[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}"
    "{\\f1\\fswiss Arial;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}\r\n"
    "{\\*\\generator Riched20 5.50.99.2050;}\\viewkind4\\uc1\\pard\\f0\\fs20 Plain <start> & "
    "\\cf1\\b Red bold\\b0\\cf0  then \\i italic\\i0  \\ul under\\ulnone\\par\r\n"
    "caf\\'e9 \\u8364\\'80 euro\\tab tab \\{braces\\}\\par\r\n"
    "{\\pict\\wmetafile8\\picw10\\pich10 0123456789abcdef}"
    "{\\field{\\*\\fldinst HYPERLINK \"http://example.org\"}{\\fldrslt \\cf2 link}}\\par\r\n"
    "}";

std::string Text(const std::string& rtf)
{
    return ReducedToPlainText(ReduceRichText(rtf.data(), rtf.size()));
}

std::string DecodeQuotedPrintable(const std::string& text)
{
    std::string out;
    for (size_t k = 0; k < text.size(); ++k) {
        if (text[k] != '=') {
            out += text[k];
            continue;
        }
        if (text.compare(k, 3, "=\r\n") == 0) {
            k += 2;
            continue;
        }
        out += static_cast<char>(std::stoi(text.substr(k + 1, 2), nullptr, 16));
        k += 2;
    }
    return out;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

CMimeMessage SampleMessage()
{
    CMimeMessage message;
    message.fromAddress = "anna@example.org";
    message.fromName = "Anna \"the boss\" Smith";
    message.to = {"bob@example.net"};
    message.subject = "Lunch\r\nBcc: everyone@example.com";
    message.date.year = 2026;
    message.date.month = 12;
    message.date.day = 6;
    message.date.hour = 9;
    message.date.minute = 5;
    message.date.second = 7;
    message.date.weekday = 0;
    message.date.utcOffsetMinutes = -90;
    message.uniqueId = "20261206090507.42.1.qnpost";
    message.text = "First line = one\r\n.hidden dot line\r\n" + std::string(200, 'x') + "   \r\ncaf\xe9";
    return message;
}
}

TEST(MailText, ANoteReducesToItsTextAndToHtmlWithItsColoursAndStyles)
{
    CReducedText reduced = ReduceRichText(kNoteRtf, sizeof kNoteRtf - 1);
    EXPECT_FALSE(reduced.cut);
    EXPECT_EQ(ReducedToPlainText(reduced),
              "Plain <start> & Red bold then italic under\r\ncaf\xe9 \x80 euro\ttab {braces}\r\nlink\r\n");

    std::string html = ReducedToHtml(reduced, 0x00C0FFFFu);
    EXPECT_NE(html.find("background-color:#ffffc0"), std::string::npos) << html;
    EXPECT_NE(html.find("Plain &lt;start&gt; &amp; "), std::string::npos) << html;
    EXPECT_NE(html.find("<span style=\"color:#ff0000\"><b>Red bold</b></span>"), std::string::npos) << html;
    EXPECT_NE(html.find("<i>italic</i>"), std::string::npos);
    EXPECT_NE(html.find("<u>under</u>"), std::string::npos);
    EXPECT_NE(html.find("<span style=\"color:#008000\">link</span>"), std::string::npos);
    EXPECT_NE(html.find("<br>"), std::string::npos);
    EXPECT_EQ(html.find("Tahoma"), std::string::npos);
    EXPECT_EQ(html.find("0123456789abcdef"), std::string::npos);

    // Text that is not rich text is the note's text as it stands.
    EXPECT_EQ(Text("just text\rand\nmore"), "just text\r\nand\r\nmore");
}

TEST(MailText, HostileRichTextCostsNoMoreThanItsSize)
{
    // Every cut of a real note reduces without reading past its end.
    std::string rtf = kNoteRtf;
    for (size_t length = 0; length <= rtf.size(); ++length) {
        std::vector<char> exact(rtf.begin(), rtf.begin() + static_cast<std::ptrdiff_t>(length));
        ReduceRichText(exact.data(), exact.size());
    }
    // Nesting far deeper than kept: the deep text is skipped, the rest stays.
    std::string deep = "{\\rtf1 before " + std::string(200000, '{') + "deep" + std::string(200000, '}') + " after}";
    EXPECT_EQ(Text(deep), "before  after");
    // Closing more groups than were opened, absurd numbers and endless words.
    EXPECT_EQ(Text("{\\rtf1 a}}}}} b\\b99999999999999999999  c}"), "a b c");
    EXPECT_EQ(Text("{\\rtf1 x\\bin999999999999"), "x");
    EXPECT_EQ(Text("{\\rtf1 " + std::string(100000, 'q').insert(0, "\\") + " y}"), "y");
    EXPECT_EQ(Text("{\\rtf1 \\u233?\\u-4064?\\u70000?z\\'4\\'zz}"), "\xe9??zzz");
    EXPECT_EQ(Text("{\\rtf1 {\\colortbl" + std::string(5000, ';') + "}\\cf4999 c}"), "c");

    // Output is bounded however long the input.
    std::string huge = "{\\rtf1 " + std::string(kMaxReducedBytes + 1000, 'h') + "}";
    CReducedText reduced = ReduceRichText(huge.data(), huge.size());
    EXPECT_TRUE(reduced.cut);
    EXPECT_EQ(ReducedToPlainText(reduced).size(), kMaxReducedBytes);
}

TEST(MailText, TheMessageCarriesItsPartsAndNoHeaderCanBeInjected)
{
    CMimeMessage message = SampleMessage();
    message.html = "<html>caf\xe9 = " + std::string(300, 'h') + "</html>";
    std::string attachment;
    std::mt19937 random(17);
    for (int k = 0; k < 10000; ++k)
        attachment += static_cast<char>(random());
    message.attachments.push_back({"C:\\notes\\plan \"v2\".bin", attachment});
    message.attachments.push_back({"r\xe9sum\xe9.txt", "short"});
    std::string out;
    ASSERT_EQ(WriteMimeMessage(message, out), MimeWriteResult::kWritten);

    std::vector<std::string> lines = Lines(out);
    size_t headerEnd = 0;
    while (!lines[headerEnd].empty())
        ++headerEnd;
    std::vector<std::string> names;
    for (size_t k = 0; k < headerEnd; ++k)
        if (lines[k][0] != ' ')
            names.push_back(lines[k].substr(0, lines[k].find(':')));
    EXPECT_EQ(names, (std::vector<std::string>{"From", "To", "Subject", "Date", "Message-ID", "MIME-Version",
                                               "Content-Type"}));
    EXPECT_EQ(lines[0], "From: \"Anna \\\"the boss\\\" Smith\" <anna@example.org>");
    EXPECT_EQ(lines[2], "Subject: Lunch  Bcc: everyone@example.com");
    EXPECT_EQ(lines[3], "Date: Sun, 06 Dec 2026 09:05:07 -0130");
    EXPECT_EQ(lines[4], "Message-ID: <20261206090507.42.1.qnpost@example.org>");
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), 78u) << line;
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
    }

    // The parts decode back byte for byte in the e-mail tests, by Python's own
    // reader; here the attached file's name loses what could break its header.
    EXPECT_NE(out.find("filename=\"plan v2.bin\""), std::string::npos);
    EXPECT_NE(out.find("filename*=windows-1252''r%E9sum%E9.txt"), std::string::npos);

    // A subject and a name with other bytes travel as encoded words.
    message.subject = "R\xe9union " + std::string(100, 'z');
    message.fromName = "Z\xf6\r\nBcc: x@y";
    ASSERT_EQ(WriteMimeMessage(message, out), MimeWriteResult::kWritten);
    EXPECT_EQ(out.rfind("From: =?windows-1252?B?WvYgIEJjYzogeEB5?= <anna@example.org>\r\n", 0), 0u);
    EXPECT_NE(out.find("Subject: =?windows-1252?B?Uul1bmlvbiB6enp6"), std::string::npos);
    EXPECT_EQ(out.find("\nBcc:"), std::string::npos);

    // Addresses that could change a header or a command are refused.
    for (const char* bad : {"bob@example.net\r\nBcc: x@y", "bob", "a@b@c", "<bob@x>", "bob smith@x", "@x", "x@",
                            "b\"ob@x", "bob@x,eve@y", ""}) {
        CMimeMessage refused = SampleMessage();
        refused.to = {bad};
        EXPECT_EQ(WriteMimeMessage(refused, out), MimeWriteResult::kBadRecipient) << bad;
        EXPECT_TRUE(out.empty());
        refused = SampleMessage();
        refused.fromAddress = bad;
        EXPECT_EQ(WriteMimeMessage(refused, out), MimeWriteResult::kBadSender) << bad;
    }
    CMimeMessage noId = SampleMessage();
    noId.uniqueId = "a>b";
    EXPECT_EQ(WriteMimeMessage(noId, out), MimeWriteResult::kBadUniqueId);
}

TEST(MailText, QuotedPrintableKeepsEveryByteInShortLines)
{
    std::mt19937 random(5);
    for (int round = 0; round < 200; ++round) {
        std::string text;
        size_t length = random() % 600;
        for (size_t k = 0; k < length; ++k) {
            // Mostly text, with blanks, equals signs, line ends and high bytes.
            unsigned pick = random() % 20;
            text += pick < 12 ? static_cast<char>('a' + random() % 26)
                    : pick < 14 ? ' '
                    : pick < 15 ? '='
                    : pick < 16 ? '\t'
                    : pick < 17 ? '\n'
                                : static_cast<char>(random());
        }
        std::string encoded = EncodeQuotedPrintable(text);
        for (const std::string& line : Lines(encoded)) {
            EXPECT_LE(line.size(), 76u);
            EXPECT_TRUE(line.empty() || (line.back() != ' ' && line.back() != '\t'));
        }
        std::string expected;
        for (size_t k = 0; k < text.size(); ++k) {
            if (text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n')
                ++k;
            if (text[k] == '\r' || text[k] == '\n')
                expected += "\r\n";
            else
                expected += text[k];
        }
        EXPECT_EQ(DecodeQuotedPrintable(encoded), expected);
    }
}

TEST(MailText, RepliesAreReadAsTheyArriveAndOddOnesRefused)
{
    const std::string greeting = "250-mail.example.org hello\r\n250-AUTH LOGIN PLAIN\r\n250 8BITMIME\r\n334 VXNl";
    CSmtpReplyReader reader;
    size_t used = 0;
    for (size_t k = 0; k + 1 < greeting.find("334"); ++k)
        ASSERT_EQ(reader.Feed(&greeting[k], 1, used), CSmtpReplyReader::State::kNeedMore) << k;
    ASSERT_EQ(reader.Feed(&greeting[greeting.find("334") - 1], 5, used), CSmtpReplyReader::State::kComplete);
    EXPECT_EQ(used, 1u);
    EXPECT_EQ(reader.Reply().code, 250);
    EXPECT_EQ(reader.Reply().text, "250-mail.example.org hello\r\n250-AUTH LOGIN PLAIN\r\n250 8BITMIME");

    // A bare LF ends a line too; a code alone is a reply.
    reader.Reset();
    EXPECT_EQ(reader.Feed("354\n", 4, used), CSmtpReplyReader::State::kComplete);
    EXPECT_EQ(reader.Reply().code, 354);

    for (const std::string& odd :
         {std::string("hello\r\n"), std::string("25\r\n"), std::string("250x\r\n"), std::string("250-a\r\n251 b\r\n"),
          std::string("199 low\r\n"), std::string("600 high\r\n"), std::string(kMaxSmtpReplyLine + 1, '2') + "\r\n"}) {
        reader.Reset();
        EXPECT_EQ(reader.Feed(odd.data(), odd.size(), used), CSmtpReplyReader::State::kMalformed) << odd;
    }
    std::string endless;
    for (size_t k = 0; k < 2 * kMaxSmtpReplyLines; ++k)
        endless += "250-more\r\n";
    reader.Reset();
    EXPECT_EQ(reader.Feed(endless.data(), endless.size(), used), CSmtpReplyReader::State::kMalformed);
    EXPECT_LT(used, endless.size());
}

TEST(MailText, DataStuffingDoublesLeadingDotsAndEndsWithTheLoneDot)
{
    EXPECT_EQ(StuffForData(".\r\n..two\r\nmid.dle\n.bare lf\rx"), "..\r\n...two\r\nmid.dle\r\n..bare lf\r\nx\r\n.\r\n");
    EXPECT_EQ(StuffForData("ends\r\n"), "ends\r\n.\r\n");
    EXPECT_EQ(StuffForData(""), ".\r\n");
}
