#pragma once

#include <windows.h>

// What the notes' Find box remembers during a run: the last nine texts searched
// for and the text being replaced. The texts are heap copies, freed at exit.
struct CFindSettings {
    enum { kHistoryCount = 9 };
    ~CFindSettings();
    // Replaces a text by a heap copy of the new one (null clears it).
    static void SetText(char*& slot, const char* text);

    char* history[kHistoryCount];
    char* replaceText;
};

// The print set-up of the notes: the chosen printer's device mode and names
// (global memory blocks) and the two fonts of a printed page, all freed at exit.
struct CPrintSetup {
    ~CPrintSetup();

    HGLOBAL deviceMode = nullptr;
    HGLOBAL deviceNames = nullptr;
    HFONT bodyFont = nullptr;
    HFONT titleFont = nullptr;
};
