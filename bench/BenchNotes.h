#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "bench/BenchProgram.h"
#include "foundation/DataFolder.h"
#include "note/NoteController.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "store/NotesLoader.h"

// A data folder of the real program holding stored notes, and the waits for
// the program started on it.

const DWORD kBenchWaitMs = 120000;

// About 2 KB of rich text, different for every note.
inline std::string BenchNoteText(int index)
{
    std::string text = "{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\f0\\fs20 Note " + std::to_string(index) + "\\par ";
    for (int line = 0; text.size() < 2000; ++line)
        text += "{\\b line} " + std::to_string(line) + " of a stored note, " + std::to_string(index * 31 + line) + "\\par ";
    return text + "}";
}

inline BOOL CALLBACK CountBenchWindow(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// The top-level windows of the screen, of every process: one question to the
// system, where telling the notes apart asks it about each window.
inline int TopWindowCount()
{
    int count = 0;
    EnumWindows(&CountBenchWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// The main window is there and so is a window for every stored note. The
// notes are told apart only once there are enough windows on the screen
// (beside the windowsBefore that were there before the launch): asking about
// every window all the time would slow the start that is being timed.
inline bool WaitForBenchNotes(HANDLE process, int notes, int windowsBefore)
{
    const DWORD start = GetTickCount();
    for (int round = 0; round < 1000000 && GetTickCount() - start < kBenchWaitMs; ++round) {
        if (TopWindowCount() > windowsBefore + notes && FindWindowA("MainWindowClassName6", nullptr) &&
            NoteWindowsOf(GetProcessId(process)) >= notes)
            return true;
        if (WaitForSingleObject(process, 5) == WAIT_OBJECT_0)
            return false;
    }
    return false;
}

// The folder "<temp>\<name>" of a program that has run once and holds the
// notes (at least those a new user is welcomed with, whose count is given
// back in stored). Each note added is 200 by 150 pixels with the text of
// BenchNoteText, dressed further by the caller.
inline std::string MakeBenchNotesFolder(const char* name, int notes, int& stored,
                                        const std::function<void(CNoteController&, int)>& dress = nullptr)
{
    const std::string folder = MakeBenchInstall(name);
    // A first run makes the user known and stores the notes a new user is
    // welcomed with, which count among the stored ones.
    const std::string program = folder + "\\qnpost.exe";
    const int windowsBefore = TopWindowCount();
    HANDLE first = LaunchInFolder(program, "", folder);
    if (!first || !WaitForBenchNotes(first, 0, windowsBefore))
        return std::string();
    CloseBenchProgram(first, program, folder, kBenchWaitMs);
    SetDataFolder(folder.c_str());
    NotesFreeSlots().Clear();
    RowOwnership everyone;
    everyone.seesEveryone = true;
    stored = 0;
    LoadNotes(everyone, [&](CNoteController* note) {
        delete note;
        ++stored;
    });
    for (int i = stored; i < notes; ++i) {
        CNoteController note;
        note.m_userId = 1;
        note.m_left = 10 + i % 40 * 5;
        note.m_top = 30 + i % 40 * 5;
        note.m_width = 200;
        note.m_height = 150;
        note.m_bodyColor = RGB(255, 255, 160);
        const std::string text = BenchNoteText(i);
        note.SetRichText(text.data(), text.size());
        if (dress)
            dress(note, i);
        SaveNote(note);
    }
    if (notes > stored)
        stored = notes;
    return folder;
}
