#include "UnstoredEditDriving.h"

#include <gtest/gtest.h>

#include "globals/MainWindowMessages.h"
#include "note/NoteController.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/InFolder.h"
#include "support/NoteDriving.h"
#include "support/StoredNotes.h"

const char kStoredText[] = "Stored before the run";

void InstallWithOneNote(ProgramInstall& install)
{
    InstallWithNotes(install, 1);
}

void InstallWithNotes(ProgramInstall& install, int count)
{
    install.AddInstalledDataFiles();
    CurrentFolder data(install.Path());
    NotesFreeSlots().Clear();
    for (int number = 1; number <= count; ++number) {
        CNoteController note;
        note.m_userId = 1;
        note.m_left = 100 + number % 20 * 20;
        note.m_top = number / 20 * 30;
        const std::string words = number == 1 ? std::string(kStoredText) : "Note " + std::to_string(number);
        const std::string text = "{\\rtf1 " + words + "}";
        note.SetRichText(text.data(), text.size());
        ASSERT_TRUE(SaveNote(note));
    }
}

void AddStoredNote(const ProgramInstall& install, const std::string& text)
{
    CurrentFolder data(install.Path());
    CNoteController note;
    note.m_userId = 1;
    note.m_left = 300;
    const std::string rich = "{\\rtf1 " + text + "}";
    note.SetRichText(rich.data(), rich.size());
    ASSERT_TRUE(SaveNote(note));
}

HWND StartAndEdit(RunningProgram& program, const std::string& edit)
{
    HWND main = WaitForMainWindow(program);
    // The start's timers run once it has put its first note in front: a
    // timer tick sent before would count for nothing.
    if (!main || !WaitForTheStartsFocus(program.ProcessId()))
        return nullptr;
    TypeAtStart(WaitForNoteWithText(program.ProcessId(), kStoredText), edit);
    return WaitForNoteWithText(program.ProcessId(), edit + kStoredText) ? main : nullptr;
}

bool SendTimedSaveTicks(HWND main, long intervalMinutes)
{
    for (long tick = 0; tick < 4 * intervalMinutes; ++tick) {
        if (!SendWithTimeout(main, WM_TIMER, kTimerHousekeeping, 0))
            return false;
    }
    return true;
}

bool StoredNoteHas(const std::string& folder, const std::string& text)
{
    for (const auto& note : LoadRunningProgramNotes(folder)) {
        if (note->RichText().find(text) != std::string::npos)
            return true;
    }
    return false;
}

std::string BackupNamedIn(const std::string& question)
{
    const size_t line = question.rfind("\n    ");
    return line == std::string::npos ? std::string() : question.substr(line + 5);
}

std::vector<std::string> RescueBackupNames(const ProgramInstall& install)
{
    return FileNamesMatching(install.File("BACKUP\\Unstored *.QPK"));
}

std::vector<std::string> RescueMarkNames(const ProgramInstall& install)
{
    return FileNamesMatching(install.File("BACKUP\\Unstored *.txt"));
}

std::vector<std::string> RescueBackupsLogged(const ProgramInstall& install)
{
    static const char kMarker[] = "the notes as they are now are in ";
    std::vector<std::string> paths;
    const std::string log = ReadWholeFile(install.File("error.txt"));
    for (size_t at = log.find(kMarker); at != std::string::npos; at = log.find(kMarker, at)) {
        at += sizeof kMarker - 1;
        paths.push_back(log.substr(at, log.find("\r\n", at) - at));
    }
    return paths;
}
