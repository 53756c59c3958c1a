// The start tells of changes the last run could not store even when notes
// arrive from another computer while its password prompt is up: which
// rescue backup still holds such changes is decided before the listeners
// can store a note. A note stored while the offer is up is not removed by
// its Yes: the restore dialog no longer proposes to replace the notes, and
// says why.
#include "NetDriving.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "NoteCatcher.h"
#include "note/NoteMessages.h"
#include "resources/ids/RestoreIds.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/DialogClicks.h"
#include "support/NoteDriving.h"
#include "support/ProtectedUser.h"
#include "support/RescueFiles.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"
#include "support/TextChecks.h"

namespace {
const char kRescuePromptTitle[] = "  Quillnet+";
const char kRescueName[] = "Unstored 20260102030405.QPK";
const char kRescuedText[] = "Kept in the rescue backup";

// A plain note from anna on another computer.
std::string NoteFromAnna(const std::string& text)
{
    CWireNote note;
    note.version = kWireVersion;
    note.computerName = "PC-ANNA";
    note.userName = "anna";
    note.replyPort = 40123;
    note.title = text;
    const std::string rtf = "{\\rtf1\\ansi " + text + "\\par}";
    return WriteWireText(note, rtf.data(), rtf.size(), nullptr, 0);
}

bool StoredNoteHas(const ProgramInstall& install, const std::string& text)
{
    for (const auto& note : LoadRunningProgramNotes(install.Path())) {
        if (note->RichText().find(text) != std::string::npos)
            return true;
    }
    return false;
}

HWND ShownPrompt(DWORD process)
{
    HWND prompt = FindTopWindowTitled("#32770", kRescuePromptTitle, process);
    return prompt && IsWindowVisible(prompt) ? prompt : nullptr;
}
}

TEST(RescueOffer, NotesArrivingDuringTheStartsPromptAndTheOfferNeitherLoseTheOfferNorAreRemovedByIt)
{
    WinsockSession winsock;
    ProgramInstall install("offer");
    install.AddInstalledDataFiles();
    // The user's locked notes ask for the password at every start.
    PrepareProtectingUser(install, 2);
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        CNoteController note;
        FillTestNote(note, "Secret words", 60, 120);
        ASSERT_TRUE(SaveNote(note));
    }
    {
        RunningProgram program(install, "");
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        HWND note = WaitForNoteWithText(program.ProcessId(), "Secret words");
        ASSERT_NE(note, nullptr);
        ASSERT_TRUE(SendWithTimeout(note, WM_COMMAND, kNoteCmdToggleLock, 0));
        CloseProgram(install, program);
    }
    // A rescue backup and its mark, as an end that could not store a change left them.
    CreateDirectoryA(install.File("BACKUP").c_str(), nullptr);
    const std::string rescue = install.File(std::string("BACKUP\\") + kRescueName);
    WriteMarkedOneNoteRescue(install, rescue, kRescuedText);

    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    HWND prompt = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (prompt = ShownPrompt(process)) != nullptr; }));
    // While the start asks for the password, a note arrives and is stored.
    ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(install.ListenPort()); }));
    ASSERT_TRUE(SendToProgram(install.ListenPort(), NoteFromAnna("Arrived during the prompt")));
    ASSERT_TRUE(WaitUntil([&] { return StoredNoteHas(install, "Arrived during the prompt"); }));
    PostMessageA(prompt, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(prompt); }));

    // The offer comes all the same, and while it is up another note is stored.
    ShownMessageBox offer = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    ASSERT_NE(offer.window, nullptr);
    EXPECT_TRUE(Contains(offer.text, "some changes to your notes could not be stored")) << offer.text;
    EXPECT_TRUE(Contains(offer.text, std::string("\\BACKUP\\") + kRescueName + "\r\n")) << offer.text;
    ASSERT_TRUE(SendToProgram(install.ListenPort(), NoteFromAnna("Arrived during the offer")));
    ASSERT_TRUE(WaitUntil([&] { return StoredNoteHas(install, "Arrived during the offer"); }));
    ASSERT_TRUE(AnswerMessageBox(offer, IDYES));

    // Yes: the dialog keeps the notes there are unless the user says
    // otherwise, and tells why.
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        dialog = FindTopWindowTitled("#32770", "Restore notes...", process);
        return dialog && IsWindowVisible(dialog);
    }));
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RESTORE_APPEND), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RESTORE_REPLACE), BST_UNCHECKED);
    const std::string explanation = ReadWindowText(GetDlgItem(dialog, IDC_RESTORE_EXPLANATION));
    EXPECT_TRUE(Contains(explanation, "Notes were stored after this backup file was written.")) << explanation;
    EXPECT_TRUE(SaveScreenshotOf(dialog, "RestoreDialogAfterNotesWereStored"));
    ASSERT_TRUE(ClickDialogButton(dialog, IDOK));
    EXPECT_TRUE(Contains(AcknowledgeProgramBox(process), "The restore operation has been successfully"));
    EXPECT_NE(NoteHaving(process, kRescuedText), nullptr);
    for (const char* arrived : {"Arrived during the prompt", "Arrived during the offer"}) {
        EXPECT_NE(NoteHaving(process, arrived), nullptr) << arrived;
        EXPECT_TRUE(StoredNoteHas(install, arrived)) << arrived;
    }
    EXPECT_TRUE(RescueMarksIn(install.File("BACKUP")).empty()) << "told once";
    CloseProgram(install, program);
}
