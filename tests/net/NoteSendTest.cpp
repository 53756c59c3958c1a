// The real program sends its notes: send requests of the command line and
// the note's send dialog filled in from outside as a user would, to peers on
// 127.0.0.1 and to a mail server of the test's; a peer that is not
// there yet (the note tries again on its timer), a peer that stalls while the
// user wants to quit, and deliveries that wait to be tried again dropped by a
// deletion or by resending switched off.
#include "NetDriving.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include "MailServer.h"
#include "NoteCatcher.h"
#include "bytes/ParsedWire.h"
#include "resources/ids/NetworkPageIds.h"
#include "resources/ids/SendNoteIds.h"
#include "globals/MainWindowMessages.h"
#include "store/DbfFile.h"
#include "store/FieldAccess.h"
#include "store/TableText.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"

namespace {
const UINT kNoteTransmitting = 0x807D;

bool StripSays(HWND note, const std::string& part)
{
    return WaitUntil([&] { return SendStripText(note).find(part) != std::string::npos; });
}

const UINT_PTR kResendTimer = 11;

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
    for (table.GoTop(); !table.IsEOF(); table.Skip(1))
        rows.push_back({ReadTrimmedText(table, "SZIPADDR"), table.GetLongValue("PORT"), table.GetLongValue("ITRANSID"),
                        table.GetLogicalValue("BSTATUS"), table.GetLogicalValue("BRETRY"),
                        table.GetLongValue("BYRETRY"), ReadTrimmedText(table, "C4")});
    table.Close();
    return rows;
}

const DeliveryRow* RowTo(const std::vector<DeliveryRow>& rows, long port)
{
    for (const DeliveryRow& row : rows)
        if (row.port == port)
            return &row;
    return nullptr;
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

// Sets the resend switch on the settings sheet's Network page, then OK; the
// text of the box that switching it off brings, once answered.
std::string SetResend(HWND main, DWORD process, bool on)
{
    PostMessageA(main, WM_COMMAND, kCmdSettings, 0);
    HWND sheet = nullptr;
    WaitUntil([&] { return (sheet = FindTopWindowTitled("#32770", "General settings...", process)) != nullptr; });
    EXPECT_NE(sheet, nullptr);
    if (!sheet)
        return "";
    SendWithTimeout(sheet, PSM_SETCURSEL, 4, 0);
    LRESULT page = 0;
    SendWithTimeout(sheet, PSM_GETCURRENTPAGEHWND, 0, 0, &page);
    HWND resend = GetDlgItem(reinterpret_cast<HWND>(page), IDC_NETWORK_RESEND);
    LRESULT state = 0;
    SendWithTimeout(resend, BM_GETCHECK, 0, 0, &state);
    if ((state == BST_CHECKED) != on)
        PostMessageA(resend, BM_CLICK, 0, 0);
    std::string shown;
    if (state == BST_CHECKED && !on) {
        ShownMessageBox box = WaitForMessageBox(process, kDriverWaitMs, "Quillnet...");
        shown = box.text;
        AnswerMessageBox(box, IDOK);
    }
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    return shown;
}

// Presses Send and answers the refusal; its text.
std::string RefusalOnSend(HWND dialog, DWORD process)
{
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return AcknowledgeProgramBox(process);
}
}

TEST(NoteSend, RequestsAndTheSendDialogDeliverToPeersAndByMailAndKeepTheRecords)
{
    WinsockSession winsock;
    MailServer server;
    ASSERT_NE(server.Port(), 0) << "the mail server did not start";
    ProgramInstall install;
    install.AddInstalledDataFiles();
    ChangeSettings(install, [&](CDbfFile& settings) {
        WriteText(settings, 1, "SZSMTP", "127.0.0.1");
        WriteNumber(settings, 1, "ISMTPPORT", server.Port());
        WriteText(settings, 1, "SZSENDER", "anna@example.org");
        WriteText(settings, 1, "SZFRIENDLY", "Anna");
    });
    const std::string attachment = RandomBytes(300000, 4);
    WriteWholeFile(install.File("plan.bin"), attachment);
    const unsigned short peerPort = FindFreePort();
    LoopbackPeer peer(peerPort);
    const unsigned short typedPort = FindFreePort();
    LoopbackPeer typed(typedPort);
    ASSERT_TRUE(peer.IsListening() && typed.IsListening());

    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    std::string bytes;
    {
        ForwardedRequest send(main, kSendRequest,
                              Loopback(peerPort) + "!#%@Sent from the command line\\rsecond line!#%@" +
                                  install.File("plan.bin"));
        ASSERT_TRUE(peer.Receive(bytes));
        ParsedWire wire = ParseWire(bytes);
        ASSERT_EQ(wire.result, WireParseResult::kNote);
        EXPECT_EQ(wire.note.version, kWireVersion);
        EXPECT_FALSE(wire.note.computerName.empty());
        EXPECT_EQ(wire.note.replyPort, install.ListenPort());
        EXPECT_NE(wire.note.transactionId, 0u);
        EXPECT_TRUE(wire.note.hasColours);
        EXPECT_FALSE(wire.note.isProtected);
        EXPECT_EQ(wire.note.attachedFileName, "plan.bin");
        EXPECT_EQ(wire.richText.compare(0, 5, "{\\rtf"), 0);
        EXPECT_NE(wire.richText.find("Sent from the command line"), std::string::npos);
        EXPECT_NE(wire.richText.find("second line"), std::string::npos);
        ASSERT_TRUE(wire.parts.hasAttachment);
        EXPECT_TRUE(wire.attachment == attachment);

        HWND sent = NoteHaving(process, "Sent from the command line");
        ASSERT_NE(sent, nullptr);
        EXPECT_TRUE(StripSays(sent, "Sent to 127.0.0.1."));
        EXPECT_EQ(Transmitting(sent), 0);
        EXPECT_TRUE(SaveScreenshotOf(sent, "NoteSent"));

        // A destination that names no computer is refused, and nothing goes out.
        ForwardedRequest refused(main, kSendRequest, "no such place!#%@text");
        ShownMessageBox box = WaitForMessageBox(process);
        ASSERT_NE(box.window, nullptr);
        EXPECT_NE(box.text.find("\"no such place\" is neither a computer name nor an IP address"), std::string::npos)
            << box.text;
        AnswerMessageBox(box, IDOK);
    }
    // A request of the second kind waits for the note's next tick.
    RequestSend(main, Loopback(peerPort) + "!#%@Sent a little later", kSendRequestAtNextTick);
    HWND note = NoteHaving(process, "Sent a little later");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(StripSays(note, "This note will be sent to 127.0.0.1 in a moment."));
    PostResendTicks(note, 1);
    ASSERT_TRUE(peer.Receive(bytes));
    EXPECT_NE(bytes.find("Sent a little later"), std::string::npos);
    EXPECT_TRUE(StripSays(note, "Sent to 127.0.0.1."));

    // The send dialog lists the computer sent to, and refuses what names no
    // recipient.
    HWND dialog = OpenSendDialog(note, process);
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, IDC_SEND_LIST);
    LRESULT count = 0;
    ASSERT_TRUE(SendWithTimeout(list, LB_GETCOUNT, 0, 0, &count));
    ASSERT_EQ(count, 1);
    EXPECT_EQ(ReadWindowText(GetDlgItem(dialog, IDC_SEND_PORT)), std::to_string(install.ListenPort()));
    EXPECT_EQ(RefusalOnSend(dialog, process),
              "Please choose a computer in the list, or type a computer name, an IP address or an e-mail address.");
    TypeInto(dialog, IDC_SEND_ADDRESS, "127.0.0.300");
    EXPECT_NE(RefusalOnSend(dialog, process).find("\"127.0.0.300\" is not an IP address."), std::string::npos);
    TypeInto(dialog, IDC_SEND_ADDRESS, "");
    TypeInto(dialog, IDC_SEND_COMPUTER, "PC BEN");
    EXPECT_NE(RefusalOnSend(dialog, process).find("\"PC BEN\" is not a computer name."), std::string::npos);
    TypeInto(dialog, IDC_SEND_COMPUTER, "carol@exa mple.org");
    EXPECT_NE(RefusalOnSend(dialog, process).find("is not an e-mail address"), std::string::npos);
    TypeInto(dialog, IDC_SEND_COMPUTER, "");
    TypeInto(dialog, IDC_SEND_ADDRESS, "127.0.0.1");
    TypeInto(dialog, IDC_SEND_PORT, "0");
    EXPECT_EQ(RefusalOnSend(dialog, process), "The port must be a number from 1 to 65535.");
    EXPECT_TRUE(IsWindow(dialog));
    // The known computer chosen in the list, and another typed in.
    TypeInto(dialog, IDC_SEND_PORT, std::to_string(typedPort));
    ASSERT_TRUE(SendWithTimeout(list, LB_SETSEL, TRUE, 0));
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(SaveScreenshotOf(dialog, "SendDialog"));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(peer.Receive(bytes));
    EXPECT_NE(ParseWire(bytes).richText.find("Sent a little later"), std::string::npos);
    ASSERT_TRUE(typed.Receive(bytes));
    EXPECT_NE(ParseWire(bytes).richText.find("Sent a little later"), std::string::npos);
    EXPECT_TRUE(StripSays(note, "Sent to 127.0.0.1.  Sent to 127.0.0.1.")) << SendStripText(note);
    EXPECT_FALSE(IsWindow(dialog));

    // By mail: from a send request, and from an address typed in the dialog
    // where a computer's name goes.
    RequestSend(main, "bob@example.net!#%@Lunch at noon, by mail");
    ASSERT_TRUE(server.WaitForMessage(1));
    EXPECT_EQ(server.Fact(1, "rcpt-to"), "bob@example.net");
    EXPECT_EQ(server.Fact(1, "from"), "Anna <anna@example.org>");
    EXPECT_NE(server.Read("message-1.text").find("Lunch at noon, by mail"), std::string::npos);
    HWND mailed = NoteHaving(process, "Lunch at noon, by mail");
    ASSERT_NE(mailed, nullptr);
    EXPECT_TRUE(StripSays(mailed, "bob@example.net")) << SendStripText(mailed);
    dialog = OpenSendDialog(note, process);
    ASSERT_NE(dialog, nullptr);
    TypeInto(dialog, IDC_SEND_COMPUTER, "carol@example.org");
    EXPECT_TRUE(SaveScreenshotOf(dialog, "SendDialogMail"));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(server.WaitForMessage(2));
    EXPECT_EQ(server.Fact(2, "rcpt-to"), "carol@example.org");
    EXPECT_NE(server.Read("message-2.text").find("Sent a little later"), std::string::npos);
    EXPECT_TRUE(StripSays(note, "carol@example.org")) << SendStripText(note);

    // The send thread ends a moment after the server has the mail; an exit
    // asked for before that is answered with the "busy transmitting" box.
    EXPECT_TRUE(WaitUntil([&] { return Transmitting(note) == 0 && Transmitting(mailed) == 0; }));
    ExitProgram(program, main);
    // The record of each delivery: sent, none waiting, each its own.
    std::vector<DeliveryRow> rows = DeliveryRows(install);
    const DeliveryRow* withFile = nullptr;
    for (const DeliveryRow& row : rows) {
        EXPECT_TRUE(row.sent) << row.address << ":" << row.port;
        EXPECT_FALSE(row.retry);
        EXPECT_EQ(row.failedAttempts, 0);
        withFile = row.attachedFile == install.File("plan.bin") ? &row : withFile;
        for (const DeliveryRow& other : rows)
            EXPECT_TRUE(&other == &row || other.transactionId != row.transactionId);
    }
    ASSERT_NE(withFile, nullptr);
    EXPECT_EQ(withFile->address, "127.0.0.1");
    EXPECT_EQ(withFile->port, peerPort);
    EXPECT_NE(RowTo(rows, typedPort), nullptr);
}

// Resending is switched on in the settings: one minute after the first
// failure, then every 5 minutes.
TEST(NoteSend, AFailedSendIsTriedAgainOnTheNotesTimerUnlessDeletedOrResendingIsSwitchedOff)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    ChangeSettings(install, [](CDbfFile& table) {
        WriteNumber(table, 1, "BYRETRY", 5);
        WriteNumber(table, 1, "BYRETRYTYP", 1);
    });
    // More than the loopback's buffers take in (up to 4 MB a side here): a
    // peer that reads nothing holds the send mid-way. A text that fits would
    // be out before that peer goes, and its reset could then read as the end
    // an older receiver gives once it holds the whole text.
    const size_t kBigFile = 16u * 1024 * 1024;
    WriteWholeFile(install.File("big.bin"), std::string(kBigFile, 'b'));
    const unsigned short peerPort = FindFreePort();
    const unsigned short nobodysPort = FindFreePort();

    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(SetResend(main, process, true), "");
    RequestSend(main, Loopback(peerPort) + "!#%@Nobody listens yet!#%@" + install.File("big.bin"));
    HWND note = NoteHaving(process, "Nobody listens yet");
    ASSERT_NE(note, nullptr);
    ASSERT_TRUE(StripSays(note, "Not sent to 127.0.0.1: the recipient could not be reached. Tried 1 time; trying "
                                "again in 1 minute."))
        << SendStripText(note);
    EXPECT_EQ(Transmitting(note), 0);
    EXPECT_TRUE(SaveScreenshotOf(note, "NoteNotSent"));
    // Two more wait: one to be deleted, one to stay until resending is off.
    RequestSend(main, Loopback(peerPort) + "!#%@Soon deleted");
    RequestSend(main, Loopback(nobodysPort) + "!#%@Nobody listens here");
    HWND deleted = NoteHaving(process, "Soon deleted");
    HWND waiting = NoteHaving(process, "Nobody listens here");
    ASSERT_TRUE(deleted && waiting);
    ASSERT_TRUE(StripSays(deleted, "Tried 1 time; trying again in 1 minute.")) << SendStripText(deleted);
    ASSERT_TRUE(StripSays(waiting, "trying again")) << SendStripText(waiting);
    PostMessageA(deleted, WM_COMMAND, 4511, 0);
    ASSERT_TRUE(WaitUntil([&] {
        ShownMessageBox confirm = WaitForMessageBox(process, 50);
        if (confirm.window)
            AnswerMessageBox(confirm, IDYES);
        return !IsWindowVisible(deleted);
    }));

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
    ShownMessageBox busy = WaitForMessageBox(process);
    ASSERT_NE(busy.window, nullptr);
    EXPECT_NE(busy.text.find("busy transmitting a note"), std::string::npos) << busy.text;
    AnswerMessageBox(busy, IDOK);
    EXPECT_TRUE(program.IsRunning());
    // The end of the Windows session is refused at once, and the same word
    // comes once the refusal has been answered.
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(busy.window); }));
    LRESULT endAllowed = 1;
    ASSERT_TRUE(SendWithTimeout(main, WM_QUERYENDSESSION, 0, 0, &endAllowed)) << "no answer: a box waits";
    EXPECT_EQ(endAllowed, 0);
    busy = WaitForMessageBox(process);
    EXPECT_NE(busy.text.find("busy transmitting a note"), std::string::npos) << busy.text;
    ASSERT_TRUE(AnswerMessageBox(busy, IDOK));
    EXPECT_TRUE(program.IsRunning());
    // The peer goes away mid-send: a failure, never a success.
    peer.DropStalled();
    ASSERT_TRUE(StripSays(note, "Tried 2 times; trying again in 5 minutes.")) << SendStripText(note);
    EXPECT_EQ(SendStripText(note).find("Sent to"), std::string::npos);

    // Five minutes (twenty ticks) on, the peer reads the note.
    PostResendTicks(note, 20);
    std::string bytes;
    ASSERT_TRUE(peer.Receive(bytes));
    ParsedWire wire = ParseWire(bytes);
    ASSERT_EQ(wire.result, WireParseResult::kNote);
    EXPECT_EQ(wire.parts.attachmentLength, kBigFile);
    EXPECT_TRUE(StripSays(note, "Sent to 127.0.0.1."));
    EXPECT_TRUE(WaitUntil([&] { return Transmitting(note) == 0; }));

    // The deleted note's minute is up too, and it does not come: the next
    // note that reaches the peer is a new one.
    PostResendTicks(deleted, 4);
    RequestSend(main, Loopback(peerPort) + "!#%@A later note");
    ASSERT_TRUE(peer.Receive(bytes));
    EXPECT_EQ(bytes.find("Soon deleted"), std::string::npos);
    EXPECT_NE(bytes.find("A later note"), std::string::npos);
    HWND later = NoteHaving(process, "A later note");
    ASSERT_NE(later, nullptr);
    ASSERT_TRUE(StripSays(later, "Sent to 127.0.0.1."));

    EXPECT_EQ(SetResend(main, process, false), "Any existing auto-retry \r\n processes will be canceled");
    ExitProgram(program, main);
    std::vector<DeliveryRow> rows = DeliveryRows(install);
    ASSERT_EQ(rows.size(), 3u) << "the deleted note's record went with it";
    int sent = 0;
    for (const DeliveryRow& row : rows) {
        EXPECT_FALSE(row.retry) << row.port;
        sent += row.sent ? 1 : 0;
    }
    EXPECT_EQ(sent, 2) << "the first note and the later one";
    const DeliveryRow* first = nullptr;
    for (const DeliveryRow& row : rows)
        first = static_cast<unsigned long>(row.transactionId) == wire.note.transactionId ? &row : first;
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->sent);
    EXPECT_EQ(first->failedAttempts, 2);
    ASSERT_NE(RowTo(rows, nobodysPort), nullptr);
    EXPECT_FALSE(RowTo(rows, nobodysPort)->sent);
}
