// The wire text written and read back, as another program would send it, and
// as a damaged or hostile peer might (random bytes are the WireText fuzz
// program's, which every test run replays).
#include <string>

#include <gtest/gtest.h>

#include "ParsedWire.h"

namespace {
std::string Write(const CWireNote& note, const std::string& rtf, const std::string* attachment)
{
    return WriteWireText(note, rtf.data(), rtf.size(), attachment ? attachment->data() : nullptr,
                         attachment ? attachment->size() : 0);
}

CWireNote FullNote()
{
    CWireNote note;
    note.computerName = "PC-ANNA";
    note.userName = "anna";
    note.alias = "ann";
    note.replyPort = 28081;
    note.title = "Shopping list # 2";
    note.hasColours = true;
    note.backColour = 0x80FFFF;
    note.fontName = "Tahoma";
    note.fontSize = 10;
    note.width = 240;
    note.height = 180;
    note.stayOnTop = true;
    note.alarm = "20261224183000";
    note.isProtected = true;
    note.chatId = 7;
    note.chatOperation = "join";
    note.transactionId = 4000000000u;
    note.coRecipients = {"PC-BEN", "PC-CARL"};
    note.attachedFileName = "plan.txt";
    note.avatarName = "owl.bmp";
    note.avatarData = std::string(400, 'A') + "Qk0=";
    return note;
}
}

TEST(WireText, EveryFieldRichTextAndAttachmentComeBackWhole)
{
    // The rich text holds both end marks and header-like lines, the attachment
    // every byte value: only the announced lengths may end them.
    std::string rtf = std::string("{\\rtf1 End of TCPIP text#\r\nTitle=x#\r\n") + kWireRichTextEnd +
                      kWireAttachmentMark + "}";
    std::string attachment;
    for (int b = 0; b < 3 * 256; ++b)
        attachment += static_cast<char>(b);
    attachment += kWireRichTextEnd;
    CWireNote sent = FullNote();
    sent.title = "Shopping\r\nlist # 2";
    sent.attachedFileName = "c:\\docs\\..\\plan.txt";
    ParsedWire p = ParseWire(Write(sent, rtf, &attachment));
    ASSERT_EQ(p.result, WireParseResult::kNote);
    EXPECT_EQ(p.note.version, kWireVersion);
    CWireNote expected = FullNote();  // line breaks blanked, folders dropped
    expected.title = "Shopping  list # 2";
    EXPECT_TRUE(p.note == expected);
    EXPECT_EQ(p.richText, rtf);
    EXPECT_EQ(p.attachment, attachment);

    // No attachment, and an empty one, which is still an attachment.
    CWireNote plain;
    ParsedWire q = ParseWire(Write(plain, "{\\rtf1 hi}", nullptr));
    ASSERT_EQ(q.result, WireParseResult::kNote);
    EXPECT_TRUE(q.note == plain);
    EXPECT_FALSE(q.parts.hasAttachment);
    std::string empty;
    ParsedWire e = ParseWire(Write(plain, "", &empty));
    ASSERT_EQ(e.result, WireParseResult::kNote);
    EXPECT_TRUE(e.parts.hasAttachment);
    EXPECT_EQ(e.parts.attachmentLength, 0u);
}

TEST(WireText, LongValuesAreCutAndBadNumbersDropped)
{
    CWireNote note;
    note.title = std::string(1000, 't');
    for (int i = 0; i < 40; ++i)
        note.coRecipients.push_back("PC" + std::to_string(i));
    ParsedWire p = ParseWire(Write(note, "x", nullptr));
    EXPECT_EQ(p.note.title.size(), WireLimit::kTitle);
    EXPECT_EQ(p.note.coRecipients.size(), WireLimit::kCoRecipients);
    // A picture at its bound travels whole; a larger one is left out, not cut.
    note.avatarData = std::string(WireLimit::kAvatarData, 'A');
    EXPECT_EQ(ParseWire(Write(note, "x", nullptr)).note.avatarData, note.avatarData);
    note.avatarData += "AAAA";
    EXPECT_EQ(ParseWire(Write(note, "x", nullptr)).note.avatarData, "");

    // What a careless or hostile sender might write by hand: every field below
    // but the last title is out of bounds or malformed.
    std::string text = "Version=99#\r\nFrom=" + std::string(500, 'x') + "#\r\nSentBy=" + std::string(60, 'u') +
                       "#\r\nAlias=" + std::string(20, 'a') + "#\r\nFontName=" + std::string(40, 'f') +
                       "#\r\nChatOp=" + std::string(40, 'o') +
                       "#\r\nPort=70000#\r\nFontSize=0#\r\nWidth=99999#\r\nHeight=-5#\r\n"
                       "BackColor=16777216#\r\nTextColor=12x#\r\nAlarm=2026122418300#\r\n"
                       "StayOnTop=2#\r\nTransId=4294967296#\r\nChatId=#\r\nAttachedFile=x#\r\n"
                       "NoKeyHere#\r\nFuture=anything=at all#\r\nTitle=no end mark\r\nTitle=kept#\n" +
                       std::string(kWireHeaderEnd) + "rtf" + kWireRichTextEnd;
    ParsedWire h = ParseWire(text);
    ASSERT_EQ(h.result, WireParseResult::kNote);
    EXPECT_EQ(h.note.version, 99u);
    CWireNote expected;
    expected.computerName = std::string(WireLimit::kComputerName, 'x');
    expected.userName = std::string(WireLimit::kUserName, 'u');
    expected.alias = std::string(WireLimit::kAlias, 'a');
    expected.fontName = std::string(WireLimit::kFontName, 'f');
    expected.chatOperation = std::string(WireLimit::kChatOperation, 'o');
    expected.title = "kept";
    EXPECT_TRUE(h.note == expected);
    EXPECT_EQ(h.richText, "rtf");
}

TEST(WireText, SendersWithoutLengthsAreReadByTheirMarks)
{
    // No version and no lengths: the rich text ends at the first mark, the
    // attachment runs to the end, and a line end after the rich text is no part.
    std::string head = "From=OLDPC#\r\nStayOnTop=1#\r\n" + std::string(kWireHeaderEnd);
    ParsedWire p = ParseWire(head + "{\\rtf1 old}" + kWireRichTextEnd + kWireAttachmentMark + "file bytes");
    ASSERT_EQ(p.result, WireParseResult::kNote);
    EXPECT_EQ(p.note.version, 0u);
    EXPECT_EQ(p.note.computerName, "OLDPC");
    EXPECT_TRUE(p.note.stayOnTop);
    EXPECT_EQ(p.richText, "{\\rtf1 old}");
    EXPECT_EQ(p.attachment, "file bytes");
    ParsedWire q = ParseWire(head + "{\\rtf1 old}" + kWireRichTextEnd + "\r\n");
    ASSERT_EQ(q.result, WireParseResult::kNote);
    EXPECT_FALSE(q.parts.hasAttachment);
    EXPECT_EQ(ParseWire(head + "{\\rtf1 cut off").result, WireParseResult::kRichTextIncomplete);
}

TEST(WireText, TruncatedAndHostileTextsAreRefusedWithoutReadingPastThem)
{
    std::string attachment(700, '\x01');
    std::string whole = Write(FullNote(), "{\\rtf1 body}", &attachment);
    ASSERT_EQ(ParseWire(whole).result, WireParseResult::kNote);
    // Each prefix sits in a buffer of its own size, so the sanitizer catches
    // any read past it.
    for (size_t length = 0; length < whole.size(); ++length)
        EXPECT_NE(ParseWire(whole.substr(0, length)).result, WireParseResult::kNote) << length;
    EXPECT_EQ(ParseWire(whole + "x").result, WireParseResult::kAttachmentIncomplete);

    std::string huge = "RtfBytes=4294967295#\r\n" + std::string(kWireHeaderEnd) + "small" + kWireRichTextEnd;
    EXPECT_EQ(ParseWire(huge).result, WireParseResult::kRichTextIncomplete);
    std::string announced = "RtfBytes=1#\r\nAttachedBytes=104857600#\r\n" + std::string(kWireHeaderEnd) + "x" +
                            kWireRichTextEnd + kWireAttachmentMark + "only a few bytes";
    EXPECT_EQ(ParseWire(announced).result, WireParseResult::kAttachmentIncomplete);
    EXPECT_EQ(ParseWire(std::string(5000, 'k') + "\r\n").result, WireParseResult::kHeaderLineTooLong);
    // Only an avatar's picture line may be longer, and only up to its bound.
    std::string avatarLine = "AvatarData=" + std::string(WireLimit::kAvatarData + 1, 'A') + "#\r\n";
    EXPECT_EQ(ParseWire(avatarLine + kWireHeaderEnd).result, WireParseResult::kHeaderLineTooLong);
    ParsedWire avatar = ParseWire("Avatar=..\\..\\qnpost.exe#\r\nAvatarData=QU*=#\r\n" + std::string(kWireHeaderEnd) +
                          kWireRichTextEnd);
    ASSERT_EQ(avatar.result, WireParseResult::kNote);
    EXPECT_EQ(avatar.note.avatarName, "qnpost.exe");
    EXPECT_EQ(avatar.note.avatarData, "");
    std::string endless;
    while (endless.size() <= WireLimit::kHeaderBytes)
        endless += "Unknown=" + std::string(100, 'v') + "#\r\n";
    EXPECT_EQ(ParseWire(endless + kWireHeaderEnd + "x" + kWireRichTextEnd).result, WireParseResult::kNoHeaderEnd);
}
