// The real program sends its notes to a peer on 127.0.0.1: a send request of
// the command line, a peer that is not there yet (the note tries again on its
// timer), a peer that stalls while the user wants to quit, and the send
// dialog filled in as a user would.
#include "SendLoopback.h"

#include <gtest/gtest.h>

#include "net/bytes/WireText.h"
#include "shell/MainWindowMessages.h"
#include "store/DbfFile.h"
#include "store/FieldAccess.h"
#include "store/TableText.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
const char kMainClass[] = "MainWindowClassName6";
const ULONG_PTR kSendRequest = 1;
const ULONG_PTR kSendRequestAtNextTick = 6;
const UINT kNoteTransmitting = 0x807D;
const UINT_PTR kResendTimer = 11;

// An install whose user retries failed sends: one minute after the first
// failure, then every 5 minutes.
void TurnAutomaticResendOn(const ProgramInstall& install)
{
    CDbfFile table;
    table.SetTable(install.File("config.QPD").c_str(), true);
    table.Open("MAPPINGALL");
    WriteLogical(table, 1, "BRETRY", true);
    WriteNumber(table, 1, "BYRETRY", 5);
    WriteNumber(table, 1, "BYRETRYTYP", 1);
    table.Close();
}

struct DeliveryRow {
    std::string address;
    long port = 0;
    long transactionId = 0;
    bool sent = false;
    bool retry = false;
    long failedAttempts = 0;
    std::string attachedFile;
};

std::vector<DeliveryRow> DeliveryRows(const ProgramInstall& install)
{
    std::vector<DeliveryRow> rows;
    CDbfFile table;
    table.SetTable(install.File("transact.QPD").c_str(), true);
    table.Open("READ");
    for (table.GoTop(); !table.IsEOF(); table.Skip(1)) {
        DeliveryRow row;
        row.address = ReadTrimmedText(table, "SZIPADDR");
        row.port = table.GetLongValue("PORT");
        row.transactionId = table.GetLongValue("ITRANSID");
        row.sent = table.GetLogicalValue("BSTATUS");
        row.retry = table.GetLogicalValue("BRETRY");
        row.failedAttempts = table.GetLongValue("BYRETRY");
        row.attachedFile = ReadTrimmedText(table, "C4");
        rows.push_back(row);
    }
    table.Close();
    return rows;
}

bool StripSays(HWND note, const std::string& part)
{
    return WaitUntil([&] { return SendStripText(note).find(part) != std::string::npos; });
}

LRESULT Transmitting(HWND note)
{
    LRESULT answer = -1;
    SendWithTimeout(note, kNoteTransmitting, 0, 0, &answer);
    return answer;
}

void PostResendTicks(HWND note, int ticks)
{
    for (int i = 0; i < ticks; ++i)
        PostMessageA(note, WM_TIMER, kResendTimer, 0);
}

void ExitAndWait(RunningProgram& program, HWND main)
{
    PostMessageA(main, WM_COMMAND, kCmdExit, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);
}
}

TEST(NoteSend, ASendRequestDeliversTheNoteWithItsAttachmentAndKeepsTheRecord)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    std::string attachment;
    for (int i = 0; i < 300000; ++i)
        attachment += static_cast<char>(i * 7 % 251);
    WriteWholeFile(install.File("plan.bin"), attachment);
    const unsigned short peerPort = FindFreePort();
    LoopbackPeer peer(peerPort);
    ASSERT_TRUE(peer.IsListening());

    RunningProgram program(install, "");
    HWND main = program.WaitForWindow(kMainClass);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    {
        ForwardedRequest send(main, kSendRequest,
                              "127.0.0.1:" + std::to_string(peerPort) +
                                  "!#%@Sent from the command line\\rsecond line!#%@" + install.File("plan.bin"));
        std::string bytes;
        ASSERT_TRUE(peer.Receive(bytes));
        CWireNote note;
        CWireParts parts;
        ASSERT_EQ(ParseWireText(bytes.data(), bytes.size(), note, parts), WireParseResult::kNote);
        EXPECT_EQ(note.version, kWireVersion);
        EXPECT_FALSE(note.computerName.empty());
        EXPECT_EQ(note.replyPort, install.ListenPort());
        EXPECT_NE(note.transactionId, 0u);
        EXPECT_TRUE(note.hasColours);
        EXPECT_FALSE(note.isProtected);
        EXPECT_EQ(note.attachedFileName, "plan.bin");
        const std::string rtf = bytes.substr(parts.richTextOffset, parts.richTextLength);
        EXPECT_EQ(rtf.compare(0, 5, "{\\rtf"), 0);
        EXPECT_NE(rtf.find("Sent from the command line"), std::string::npos);
        EXPECT_NE(rtf.find("second line"), std::string::npos);
        ASSERT_TRUE(parts.hasAttachment);
        EXPECT_TRUE(bytes.substr(parts.attachmentOffset, parts.attachmentLength) == attachment);

        HWND sent = NoteWhoseTextHas(program.ProcessId(), "Sent from the command line");
        ASSERT_NE(sent, nullptr);
        EXPECT_TRUE(StripSays(sent, "Sent to 127.0.0.1."));
        EXPECT_EQ(Transmitting(sent), 0);
        EXPECT_TRUE(SaveScreenshotOf(sent, "NoteSent"));

        // A destination that names no computer is refused, and nothing goes out.
        ForwardedRequest refused(main, kSendRequest, "no such place!#%@text");
        ShownMessageBox box = WaitForMessageBox(program.ProcessId());
        ASSERT_NE(box.window, nullptr);
        EXPECT_NE(box.text.find("\"no such place\" is neither a computer name nor an IP address"), std::string::npos)
            << box.text;
        AnswerMessageBox(box, IDOK);
    }
    // A request of the second kind waits for the note's next tick.
    { ForwardedRequest later(main, kSendRequestAtNextTick, "127.0.0.1:" + std::to_string(peerPort) + "!#%@Sent a little later"); }
    HWND waiting = NoteWhoseTextHas(program.ProcessId(), "Sent a little later");
    ASSERT_NE(waiting, nullptr);
    EXPECT_TRUE(StripSays(waiting, "This note will be sent to 127.0.0.1 in a moment."));
    PostResendTicks(waiting, 1);
    std::string bytes;
    ASSERT_TRUE(peer.Receive(bytes));
    EXPECT_NE(bytes.find("Sent a little later"), std::string::npos);
    EXPECT_TRUE(StripSays(waiting, "Sent to 127.0.0.1."));

    ExitAndWait(program, main);
    std::vector<DeliveryRow> rows = DeliveryRows(install);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[1].sent);
    EXPECT_NE(rows[1].transactionId, rows[0].transactionId);
    EXPECT_EQ(rows[0].address, "127.0.0.1");
    EXPECT_EQ(rows[0].port, peerPort);
    EXPECT_TRUE(rows[0].sent);
    EXPECT_FALSE(rows[0].retry);
    EXPECT_EQ(rows[0].failedAttempts, 0);
    EXPECT_EQ(rows[0].attachedFile, install.File("plan.bin"));
}

TEST(NoteSend, AFailedSendIsRecordedAsFailedAndTriedAgainOnTheNotesTimer)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    TurnAutomaticResendOn(install);
    WriteWholeFile(install.File("big.bin"), std::string(4 * 1024 * 1024, 'b'));
    const unsigned short peerPort = FindFreePort();

    RunningProgram program(install, "");
    HWND main = program.WaitForWindow(kMainClass);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    { ForwardedRequest send(main, kSendRequest, "127.0.0.1:" + std::to_string(peerPort) + "!#%@Nobody listens yet!#%@" + install.File("big.bin")); }
    HWND note = NoteWhoseTextHas(program.ProcessId(), "Nobody listens yet");
    ASSERT_NE(note, nullptr);
    ASSERT_TRUE(StripSays(note, "Not sent to 127.0.0.1: the recipient could not be reached. Tried 1 time; trying again in 1 minute."))
        << SendStripText(note);
    EXPECT_EQ(Transmitting(note), 0);
    EXPECT_TRUE(SaveScreenshotOf(note, "NoteNotSent"));

    // The first resend comes a minute (four ticks) later, to a peer that takes
    // the connection and then reads nothing.
    LoopbackPeer peer(peerPort);
    ASSERT_TRUE(peer.IsListening());
    PostResendTicks(note, 4);
    ASSERT_TRUE(peer.AcceptAndStall());
    ASSERT_TRUE(WaitUntil([&] { return Transmitting(note) == 1; }));
    EXPECT_TRUE(StripSays(note, "Sending to 127.0.0.1"));
    EXPECT_TRUE(SaveScreenshotOf(note, "NoteSending"));
    // Quitting while a note is on its way is refused with a box.
    PostMessageA(main, WM_COMMAND, kCmdExit, 0);
    ShownMessageBox busy = WaitForMessageBox(program.ProcessId());
    ASSERT_NE(busy.window, nullptr);
    EXPECT_NE(busy.text.find("busy transmitting a note"), std::string::npos) << busy.text;
    AnswerMessageBox(busy, IDOK);
    EXPECT_TRUE(program.IsRunning());
    // The peer goes away mid-send: a failure, never a success.
    peer.DropStalled();
    ASSERT_TRUE(StripSays(note, "Tried 2 times; trying again in 5 minutes.")) << SendStripText(note);
    EXPECT_EQ(SendStripText(note).find("Sent to"), std::string::npos);

    // Five minutes (twenty ticks) on, the peer reads the note.
    PostResendTicks(note, 20);
    std::string bytes;
    ASSERT_TRUE(peer.Receive(bytes));
    CWireNote wire;
    CWireParts parts;
    ASSERT_EQ(ParseWireText(bytes.data(), bytes.size(), wire, parts), WireParseResult::kNote);
    EXPECT_EQ(parts.attachmentLength, 4u * 1024 * 1024);
    EXPECT_TRUE(StripSays(note, "Sent to 127.0.0.1."));
    EXPECT_TRUE(WaitUntil([&] { return Transmitting(note) == 0; }));

    ExitAndWait(program, main);
    std::vector<DeliveryRow> rows = DeliveryRows(install);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows[0].sent);
    EXPECT_FALSE(rows[0].retry);
    EXPECT_EQ(rows[0].failedAttempts, 2);
    EXPECT_EQ(static_cast<unsigned long>(rows[0].transactionId), wire.transactionId);
}

TEST(NoteSend, ADeletedNoteTakesItsDeliveryRecordsAlongAndIsNotSentAgain)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    TurnAutomaticResendOn(install);
    const unsigned short peerPort = FindFreePort();
    RunningProgram program(install, "");
    HWND main = program.WaitForWindow(kMainClass);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    { ForwardedRequest send(main, kSendRequest, "127.0.0.1:" + std::to_string(peerPort) + "!#%@Soon deleted"); }
    HWND note = NoteWhoseTextHas(program.ProcessId(), "Soon deleted");
    ASSERT_NE(note, nullptr);
    ASSERT_TRUE(StripSays(note, "Tried 1 time; trying again in 1 minute.")) << SendStripText(note);

    PostMessageA(note, WM_COMMAND, 4511, 0);
    ASSERT_TRUE(WaitUntil([&] {
        ShownMessageBox confirm = WaitForMessageBox(program.ProcessId(), 50);
        if (confirm.window)
            AnswerMessageBox(confirm, IDYES);
        return !IsWindowVisible(note);
    }));
    // A minute on, a peer is there, and the deleted note does not come to it:
    // the next note that reaches it is a new one.
    LoopbackPeer peer(peerPort);
    ASSERT_TRUE(peer.IsListening());
    PostResendTicks(note, 4);
    { ForwardedRequest send(main, kSendRequest, "127.0.0.1:" + std::to_string(peerPort) + "!#%@A later note"); }
    std::string bytes;
    ASSERT_TRUE(peer.Receive(bytes));
    EXPECT_EQ(bytes.find("Soon deleted"), std::string::npos);
    EXPECT_NE(bytes.find("A later note"), std::string::npos);
    HWND later = NoteWhoseTextHas(program.ProcessId(), "A later note");
    ASSERT_NE(later, nullptr);
    ASSERT_TRUE(StripSays(later, "Sent to 127.0.0.1."));

    ExitAndWait(program, main);
    std::vector<DeliveryRow> rows = DeliveryRows(install);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows[0].sent);
}
