// Notes sent as e-mail to a real mail server on 127.0.0.1, as the send thread
// sends to a recipient with an e-mail address: what arrives is read back by
// Python's email package, and every failure leaves a failed delivery record
// with the server's words, in the record and in "error.txt".
#include "NetDriving.h"
#include "NoteCatcher.h"

#include "MailServer.h"

#include <cstring>

#include <gtest/gtest.h>

#include "net/NoteEmail.h"
#include "globals/Settings.h"
#include "support/InFolder.h"
#include "support/ProgramDriver.h"

namespace {
const char kNoteRtf[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}}"
    "{\\colortbl ;\\red255\\green0\\blue0;}\\viewkind4\\uc1\\pard\\f0\\fs20 "
    "\\cf1\\b Red bold\\b0\\cf0  and plain caf\\'e9\\par\r\n.\\par\r\n..dots\\par\r\n}";

class EmailSend : public InFolder {
protected:
    CEmailSettings SettingsFor(const MailServer& server)
    {
        CConfigSettings config;
        std::strcpy(config.smtpServer, "127.0.0.1");
        config.smtpPort = server.Port();
        std::strcpy(config.senderAddress, "anna@example.org");
        std::strcpy(config.senderName, "Anna Smith");
        config.htmlMail = 1;
        return EmailSettingsFromConfig(config, "PC-ANNA");
    }

    TransmitResult Send(const CEmailSettings& settings, const CEmailNote& note, CDestination& recipient)
    {
        CTransmitOptions options;
        options.sendEmail = [&](CDestination& to) { return SendNoteByEmail(settings, note, to); };
        return TransmitToRecipient(recipient, std::string(), options);
    }

    WinsockSession winsock;
};

CDestination EmailRecipient()
{
    return CDestination("", "", "", "bob@example.net", "Bob", 0);
}
}

TEST_F(EmailSend, TheNoteArrivesAsMimeWithItsTextItsHtmlAndItsAttachmentByteForByte)
{
    MailServer server;
    ASSERT_NE(server.Port(), 0) << "the mail server did not start";
    const std::string attachment = RandomBytes(70000, 3) + "\r\n.\r\n..\r\n";
    WriteWholeFile(File("plan.bin"), attachment);

    CEmailNote note;
    note.title = "Plans for Monday \xe9";
    note.richText = kNoteRtf;
    note.backColour = RGB(255, 255, 192);
    note.attachmentPath = File("plan.bin");
    CDestination recipient = EmailRecipient();
    ASSERT_EQ(Send(SettingsFor(server), note, recipient), TransmitResult::kSent);
    EXPECT_EQ(recipient.m_status, 1u);
    EXPECT_GE(recipient.m_lastSend.m_year, 2020);

    ASSERT_TRUE(server.WaitForMessage(1));
    EXPECT_EQ(server.Fact(1, "mail-from"), "anna@example.org");
    EXPECT_EQ(server.Fact(1, "rcpt-to"), "bob@example.net");
    EXPECT_EQ(server.Fact(1, "from"), "Anna Smith <anna@example.org>");
    EXPECT_EQ(server.Fact(1, "to"), "bob@example.net");
    EXPECT_EQ(server.Fact(1, "subject"), "Plans for Monday \xe9");
    EXPECT_EQ(server.Fact(1, "mime-version"), "1.0");
    EXPECT_EQ(server.Fact(1, "content-type"), "multipart/mixed");
    EXPECT_EQ(server.Fact(1, "defects"), "0");
    std::string id = server.Fact(1, "message-id");
    EXPECT_EQ(id.front(), '<');
    EXPECT_NE(id.find("@example.org>"), std::string::npos) << id;
    EXPECT_NE(server.Fact(1, "date"), "None");

    // The text, with its lone and doubled dots, and the HTML copy in colour.
    EXPECT_EQ(server.Read("message-1.text"), "Red bold and plain caf\xe9\r\n.\r\n..dots\r\n");
    std::string html = server.Read("message-1.html");
    EXPECT_NE(html.find("background-color:#ffffc0"), std::string::npos) << html;
    EXPECT_NE(html.find("<span style=\"color:#ff0000\"><b>Red bold</b></span>"), std::string::npos) << html;

    EXPECT_EQ(server.Fact(1, "attachment-1"), "plan.bin");
    EXPECT_EQ(server.Fact(1, "attachment-1-encoding"), "base64");
    EXPECT_TRUE(server.Read("message-1.attachment-1") == attachment);
    // Base64 travels in lines of 76 characters.
    std::string raw = server.Read("message-1.eml");
    size_t base64Start = raw.find("\r\n\r\n", raw.find("filename=\"plan.bin\"")) + 4;
    EXPECT_EQ(raw.find("\r\n", base64Start) - base64Start, 76u);
    EXPECT_FALSE(FileExists(File("error.txt")));
}

TEST_F(EmailSend, AuthLoginWithTheRightPasswordDeliversAndWithAWrongOneFailsWithTheServersWords)
{
    MailServer server("--auth anna:secret");
    ASSERT_NE(server.Port(), 0) << "the mail server did not start";
    CEmailSettings settings = SettingsFor(server);
    settings.server.authenticate = true;
    settings.server.account = "anna";
    settings.server.password = "secret";
    CEmailNote note;
    note.title = "signed in";
    note.richText = "plain words";

    CDestination recipient = EmailRecipient();
    ASSERT_EQ(Send(settings, note, recipient), TransmitResult::kSent);
    ASSERT_TRUE(server.WaitForMessage(1));
    EXPECT_EQ(server.Read("message-1.text"), "plain words");
    EXPECT_EQ(server.Read("auth.log"), "anna secret accepted\n");

    settings.server.password = "wrong";
    CDestination refused = EmailRecipient();
    EXPECT_EQ(Send(settings, note, refused), TransmitResult::kSendFailed);
    EXPECT_EQ(refused.m_status, 0u);
    EXPECT_NE(std::string(refused.m_description).find("535"), std::string::npos) << refused.m_description;
    EXPECT_NE(std::string(refused.m_description).find("the password"), std::string::npos);
    EXPECT_EQ(server.Read("auth.log"), "anna secret accepted\nanna wrong refused\n");
    std::string log = Read("error.txt");
    EXPECT_NE(log.find("bob@example.net"), std::string::npos) << log;
    EXPECT_NE(log.find("535"), std::string::npos) << log;
    EXPECT_EQ(log.find("wrong"), std::string::npos) << "the password must not reach the report";
    EXPECT_FALSE(server.Has("message-2.facts"));
}

TEST_F(EmailSend, AServerThatGoesAwayOrIsNotThereGivesAFailedRecordNotASentOne)
{
    MailServer dropping("--drop-at-mail");
    ASSERT_NE(dropping.Port(), 0) << "the mail server did not start";
    CEmailNote note;
    note.title = "cut off";
    note.richText = "{\\rtf1 cut off\\par}";
    CDestination recipient = EmailRecipient();
    EXPECT_EQ(Send(SettingsFor(dropping), note, recipient), TransmitResult::kSendFailed);
    EXPECT_EQ(recipient.m_status, 0u);
    EXPECT_EQ(recipient.m_lastSend.m_year, CDestination().m_lastSend.m_year);
    EXPECT_NE(std::string(recipient.m_description).find("closed the connection before it answered MAIL FROM"),
              std::string::npos)
        << recipient.m_description;
    EXPECT_EQ(dropping.Read("dropped.log"), "MAIL FROM:<anna@example.org>\n");
    EXPECT_NE(Read("error.txt").find("closed the connection"), std::string::npos);

    // Nothing listens: the record says the server could not be reached.
    CEmailSettings nowhere = SettingsFor(dropping);
    nowhere.server.port = FindFreePort();
    CDestination unreached = EmailRecipient();
    EXPECT_EQ(Send(nowhere, note, unreached), TransmitResult::kSendFailed);
    EXPECT_NE(std::string(unreached.m_description).find("could not be reached"), std::string::npos);

    // An attached file that has gone is reported before any server is asked.
    note.attachmentPath = File("gone.bin");
    CDestination noFile = EmailRecipient();
    EXPECT_EQ(Send(SettingsFor(dropping), note, noFile), TransmitResult::kSendFailed);
    EXPECT_NE(std::string(noFile.m_description).find("gone.bin"), std::string::npos) << noFile.m_description;
}
