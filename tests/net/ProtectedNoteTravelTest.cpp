// A protected note over the network, on the real program: one that arrives
// shows its placeholder and keeps its attached file enciphered until its
// password is typed, which brings back the sender's file; sent on, it goes
// enciphered, and the notes table never holds its text.
#include "NetDriving.h"

#include <gtest/gtest.h>

#include "NoteCatcher.h"
#include "bytes/ParsedWire.h"
#include "foundation/bytes/AttachmentCipher.h"
#include "note/NoteMessages.h"
#include "noteprops/ProtectedContent.h"
#include "noteprops/bytes/ProtectedBody.h"
#include "resources/ids/SendNoteIds.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"

namespace {
const char kTravelPlaceholder[] = " ...PROTECTED  NOTE... ";
// The password text of "secret".
const char kSecretText[] = "426897c0";
const char kTravelPromptTitle[] = "  Quillnet+";

// The one file the folder holds; empty when it holds none or more.
std::string OnlyFileIn(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    std::string name;
    int files = 0;
    if (search == INVALID_HANDLE_VALUE)
        return name;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            name = folder + "\\" + found.cFileName;
            ++files;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return files == 1 ? name : std::string();
}
}

TEST(ProtectedNoteTravel, ArrivesLockedOpensWithItsFileAndGoesOnEnciphered)
{
    WinsockSession winsock;
    ProgramInstall install("travel");
    install.AddInstalledDataFiles();
    const unsigned short peerPort = FindFreePort();
    LoopbackPeer peer(peerPort);
    ASSERT_TRUE(peer.IsListening());

    const std::string rtf = "{\\rtf1\\ansi Hello from Anna in secret\\par}";
    std::string body, failure;
    ASSERT_TRUE(MakeProtectedBody(rtf, kSecretText, ContentDigestText, body, failure)) << failure;
    unsigned char key[8];
    ASSERT_TRUE(AttachmentKeyOf(kSecretText, key));
    const std::string file = RandomBytes(40000, 7);
    const std::string enciphered = EncipherAttachment(file, key);
    CWireNote sent = LockedNoteFromAnna();
    sent.attachedFileName = "plan.bin";

    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(install.ListenPort()); }));
    ASSERT_TRUE(SendToProgram(install.ListenPort(),
                              WriteWireText(sent, body.data(), body.size(), enciphered.data(), enciphered.size())));
    HWND note = NoteHaving(process, kTravelPlaceholder);
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(SaveScreenshotOf(note, "protected-note-received"));
    const std::string attached = OnlyFileIn(install.File("ATTACHED"));
    ASSERT_FALSE(attached.empty());
    EXPECT_TRUE(ReadWholeFile(attached) == enciphered) << "kept as it came until the note is opened";

    // The lock command of a locked note asks for its password.
    PostMessageA(note, WM_COMMAND, kNoteCmdToggleLock, 0);
    HWND prompt = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        prompt = FindTopWindowTitled("#32770", kTravelPromptTitle, process);
        return prompt && IsWindowVisible(prompt);
    }));
    SendWithTimeout(GetDlgItem(prompt, 1125), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("secret"));
    PostMessageA(prompt, WM_COMMAND, 1293, 0);
    ASSERT_TRUE(WaitUntil([&] { return ReadWindowText(BodyOf(note)).rfind("Hello from Anna in secret", 0) == 0; }));
    EXPECT_TRUE(ReadWholeFile(attached) == file) << "the sender's file";
    // Open, the note names its file in its last line.
    EXPECT_TRUE(WaitUntil([&] {
        const std::string text = ReadWindowText(BodyOf(note));
        return text.find("Attached file: " + attached) != std::string::npos;
    })) << ReadWindowText(BodyOf(note));

    // Sent on, the note travels as its enciphered body, which its password opens.
    HWND dialog = OpenSendDialog(note, process);
    ASSERT_NE(dialog, nullptr);
    TypeInto(dialog, IDC_SEND_ADDRESS, "127.0.0.1");
    TypeInto(dialog, IDC_SEND_PORT, std::to_string(peerPort));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    std::string bytes;
    ASSERT_TRUE(peer.Receive(bytes));
    EXPECT_EQ(bytes.find("Hello from Anna"), std::string::npos);
    ParsedWire wire = ParseWire(bytes);
    ASSERT_EQ(wire.result, WireParseResult::kNote);
    EXPECT_TRUE(wire.note.isProtected);
    EXPECT_TRUE(HasProtectedMark(wire.richText.data(), wire.richText.size()));
    std::string opened;
    ASSERT_EQ(OpenProtectedBody(wire.richText.data(), wire.richText.size(), kSecretText, ContentDigestText, opened),
              ProtectedBodyResult::kOpened);
    EXPECT_NE(opened.find("Hello from Anna in secret"), std::string::npos);

    EXPECT_TRUE(WaitUntil([&] { return SendStripText(note).find("Sent to 127.0.0.1.") != std::string::npos; }));
    ExitProgram(program, main);
    EXPECT_EQ(ReadWholeFile(install.File("notes.QPS")).find("Hello from Anna"), std::string::npos);
}
