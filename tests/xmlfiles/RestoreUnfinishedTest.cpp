// A replace-restore or an undo that does not get to its end on the running
// program: stopped while the restored notes are being made and stored, its
// notes files held once they were replaced, or its record held by another
// program when it should say that the new files stay. Each time the next
// start (or the program at once) brings back the notes of before, every one
// with its text, and nothing written since is lost.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "BackupDriving.h"
#include "support/HeldFile.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"
#include "support/TextChecks.h"

namespace {
const char* const kUnfinishedStoredTexts[] = {"Mine before the restore", "Also mine before the restore"};
const int kBackupNotes = 300;

std::string RestoredText(int n)
{
    return "Restored number " + std::to_string(n);
}

// Two stored notes of the user, and a backup of many notes (making them
// takes the program a few seconds) in "big.QPK".
void PrepareUnfinishedInstall(ProgramInstall& install)
{
    install.AddInstalledDataFiles();
    LONG left = 100;
    for (const char* text : kUnfinishedStoredTexts) {
        StoreNote(install, [&](CNoteController& note) { FillTestNote(note, text, left, 100); });
        left += 260;
    }
    std::vector<BackupNote> notes;
    for (int n = 1; n <= kBackupNotes; ++n) {
        BackupNote note;
        note.title = RestoredText(n);
        note.content = "{\\rtf1\\ansi " + RestoredText(n) + "}";
        note.left = 40 + (n % 20) * 30;
        note.top = 200 + (n % 10) * 30;
        notes.push_back(note);
    }
    WriteBackupFile(install.File("big.QPK"), notes);
}

// Read as a scanner reads: sharing everything, so that the program's own
// steps on the file never fail because of the look.
std::string PeekFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    char buffer[4096];
    DWORD read = 0;
    std::string text;
    if (ReadFile(file, buffer, sizeof buffer, &read, nullptr))
        text.assign(buffer, read);
    CloseHandle(file);
    return text;
}

// The replacement's record says its files are being moved, and the program
// has made that many of the notes that come after the moves (the notes of
// before were closed before the moves). Only counted: a note's text cannot
// be read while the program is busy making notes.
bool MakingNotesAfterTheMoves(const ProgramInstall& install, DWORD process, size_t made)
{
    return PeekFile(install.File("replacing.lst")).find("state moving") != std::string::npos &&
           NoteWindows(process).size() >= made;
}

// Waits for the condition while the program makes or closes many notes: a
// slow machine may take longer than one wait for them all, so the wait goes
// on as long as the number of notes on the screen changes, and ends once it
// has stood still for a whole wait.
template <class Condition>
bool WaitWhileNotesChange(DWORD process, Condition done)
{
    size_t notes = NoteWindows(process).size();
    DWORD changed = GetTickCount();
    for (;;) {
        if (done())
            return true;
        const size_t now = NoteWindows(process).size();
        if (now != notes) {
            notes = now;
            changed = GetTickCount();
        } else if (GetTickCount() - changed >= kDriverWaitMs) {
            return false;
        }
        PumpMessagesBriefly();
    }
}

// The program's box that follows a replace or an undo of many notes.
ShownMessageBox BoxAfterTheNotesAreMade(DWORD process)
{
    ShownMessageBox box;
    WaitWhileNotesChange(process,
                         [&] { return (box = WaitForMessageBox(process, 0, "Quillnet+")).window != nullptr; });
    return box;
}

// The note with the text, once the program has made the many notes before it.
HWND NoteAfterTheNotesAreMade(DWORD process, const std::string& text)
{
    HWND note = nullptr;
    WaitWhileNotesChange(process, [&] { return (note = NoteWithText(process, text)) != nullptr; });
    return note;
}

// Another program that takes hold of a data file (sharing read and write,
// not delete) the moment the record says the files are being moved, and
// keeps it until Release. The record is read the moment it is renamed into
// place, while the program's handle of the rename may still be open: until
// that handle is closed the hold fails and is tried again.
class HolderWhenMoving {
public:
    HolderWhenMoving(const ProgramInstall& install, const std::string& name)
        : m_watcher([this, &install, name] {
              WaitUntil([&] {
                  return m_stop ||
                         (PeekFile(install.File("replacing.lst")).find("state moving") != std::string::npos &&
                          m_file.Hold(install.File(name), kHolderSharesReadWrite));
              });
              m_watched = true;
          })
    {
    }
    ~HolderWhenMoving() { Release(); }
    HolderWhenMoving(const HolderWhenMoving&) = delete;
    HolderWhenMoving& operator=(const HolderWhenMoving&) = delete;

    bool Held() { return WaitUntil([&] { return m_watched.load(); }) && m_file.Held(); }
    void Release()
    {
        m_stop = true;
        if (m_watcher.joinable())
            m_watcher.join();
        m_file.Release();
    }

private:
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_watched{false};
    HeldFile m_file;
    std::thread m_watcher;
};

class RestoreUnfinished : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrepareUnfinishedInstall(install);
        program = std::make_unique<RunningProgram>(install, "");
        ASSERT_NE(WaitForMainWindow(*program), nullptr);
        process = program->ProcessId();
        ASSERT_NE(WaitForNoteWithText(process, kUnfinishedStoredTexts[1]), nullptr);
        stored = NoteTexts(process);
    }

    // The next start tells what it found, then shows the notes of before;
    // the box's text.
    std::string NextStartShowsTheNotesOfBefore()
    {
        RunningProgram again(install, "");
        const std::string told = AcknowledgeProgramBox(again.ProcessId());
        EXPECT_NE(WaitForMainWindow(again), nullptr);
        EXPECT_EQ(NoteTexts(again.ProcessId()), stored) << told;
        CloseProgram(install, again);
        EXPECT_FALSE(FileExists(install.File("replacing.lst")));
        EXPECT_FALSE(FileExists(install.File("notes.QPD.was")));
        return told;
    }

    ProgramInstall install;
    std::unique_ptr<RunningProgram> program;
    DWORD process = 0;
    std::vector<std::string> stored;
};
}

// Killed while the restored notes are made (a crash, a power cut, the end
// of the session): the restore was not finished, so the next start returns
// to the notes of before and says so.
TEST_F(RestoreUnfinished, AReplaceStoppedWhileItsNotesAreMadeGivesTheNotesOfBeforeBackAtTheNextStart)
{
    {
        RunningProgram second(install, "/replaceSilently big.QPK");
        ASSERT_TRUE(WaitUntil([&] { return MakingNotesAfterTheMoves(install, process, 20); }));
        program.reset();
    }
    EXPECT_TRUE(FileExists(install.File("notes.QPD.was"))) << "the notes of before wait beside the new table";
    const std::string told = NextStartShowsTheNotesOfBefore();
    EXPECT_TRUE(Contains(told, "restore")) << told;
    EXPECT_TRUE(Contains(ReadWholeFile(install.File("error.txt")), told.substr(0, 40)));
}

// The memo file is held once it was replaced: the restored notes cannot be
// stored, so the restore goes back; the memo file cannot be given back
// either while it is held, so the program ends at once without writing, and
// the next start, the file free again, puts the notes of before back.
TEST_F(RestoreUnfinished, AReplaceWhoseNotesCannotBeStoredGoesBackToTheNotesOfBefore)
{
    HeldFile holder;
    {
        RunningProgram second(install, "/replace big.QPK");
        EXPECT_TRUE(Contains(AcknowledgeProgramBox(process), "Restore by replacing"));
        ASSERT_TRUE(WaitUntil([&] { return MakingNotesAfterTheMoves(install, process, 2); }));
        ASSERT_TRUE(holder.Hold(install.File("notes.qps"), kHolderSharesReadWrite));
        const ShownMessageBox box = BoxAfterTheNotesAreMade(process);
        EXPECT_TRUE(Contains(box.text, "notes.qps")) << box.text;
        EXPECT_TRUE(Contains(box.text, "nothing was deleted")) << box.text;
        ASSERT_TRUE(AnswerMessageBox(box, IDOK));
        DWORD exitCode = 0;
        ASSERT_TRUE(program->WaitForExit(&exitCode));
        EXPECT_EQ(exitCode, 3u);
        EXPECT_FALSE(ProgramBoxShown(process));
    }
    holder.Release();
    const std::string told = NextStartShowsTheNotesOfBefore();
    EXPECT_TRUE(Contains(told, "restore")) << told;
}

// Another program holds the record from the moment it says the files are
// being moved until the program has given up: the restore was made, its
// notes stored, but it cannot be recorded as finished. The program says so,
// writes nothing more and ends; the next start returns to the notes of
// before, which were all saved before the restore. The same for an undo.
TEST_F(RestoreUnfinished, AReplaceOrUndoWhoseRecordCannotBeSettledEndsAndTheNextStartLosesNothing)
{
    std::string notesAtTheBox;
    {
        HolderWhenMoving holder(install, "replacing.lst");
        RunningProgram second(install, "/replace big.QPK");
        EXPECT_TRUE(Contains(AcknowledgeProgramBox(process), "Restore by replacing"));
        const ShownMessageBox box = BoxAfterTheNotesAreMade(process);
        ASSERT_TRUE(holder.Held());
        ASSERT_NE(box.window, nullptr);
        EXPECT_TRUE(Contains(box.text, "The restore was made, but Quillnet+ could not record")) << box.text;
        EXPECT_TRUE(Contains(box.text, "replacing.lst")) << box.text;
        EXPECT_TRUE(SaveScreenshotOf(box.window, "restore-not-recorded"));
        notesAtTheBox = ReadWholeFile(install.File("notes.QPD"));
        holder.Release();
        EXPECT_TRUE(AnswerMessageBox(box, IDOK));
        DWORD exitCode = 0;
        ASSERT_TRUE(program->WaitForExit(&exitCode));
        EXPECT_EQ(exitCode, 3u);
    }
    EXPECT_EQ(ReadWholeFile(install.File("notes.QPD")), notesAtTheBox) << "nothing written after the box";
    EXPECT_TRUE(Contains(PeekFile(install.File("replacing.lst")), "state moving"));
    EXPECT_TRUE(Contains(NextStartShowsTheNotesOfBefore(), "restore"));

    // Many notes to load make the undo take a while after its moves: the
    // backup's notes are added, then a replace by one note keeps them all in
    // the undo copy.
    program = std::make_unique<RunningProgram>(install, "");
    HWND main = WaitForMainWindow(*program);
    ASSERT_NE(main, nullptr);
    process = program->ProcessId();
    RunToEnd(install, "/importSilently big.QPK");
    ASSERT_NE(NoteAfterTheNotesAreMade(process, RestoredText(kBackupNotes)), nullptr);
    BackupNote one;
    one.title = "The only note of the small backup";
    one.content = "{\\rtf1\\ansi The only note of the small backup}";
    WriteBackupFile(install.File("small.QPK"), {one});
    RunToEnd(install, "/replaceSilently small.QPK");
    ASSERT_NE(NoteAfterTheNotesAreMade(process, "The only note of the small backup"), nullptr);
    stored = NoteTexts(process);
    {
        HolderWhenMoving holder(install, "replacing.lst");
        ASSERT_TRUE(AskForUnrestore(main, process));
        const ShownMessageBox box = BoxAfterTheNotesAreMade(process);
        EXPECT_TRUE(holder.Held());
        ASSERT_NE(box.window, nullptr);
        EXPECT_TRUE(Contains(box.text, "The undo was made, but Quillnet+ could not record")) << box.text;
        notesAtTheBox = ReadWholeFile(install.File("notes.QPD"));
        holder.Release();
        EXPECT_TRUE(AnswerMessageBox(box, IDOK));
        DWORD exitCode = 0;
        ASSERT_TRUE(program->WaitForExit(&exitCode));
        EXPECT_EQ(exitCode, 3u);
    }
    EXPECT_EQ(ReadWholeFile(install.File("notes.QPD")), notesAtTheBox) << "nothing written after the box";
    EXPECT_TRUE(Contains(NextStartShowsTheNotesOfBefore(), "undo"));
}
