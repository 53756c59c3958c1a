#pragma once

// The program-wide flags that guard the main thread against re-entry.
struct ProgramFlags {
    bool closing = false;
    bool protectedNotePrompt = false;
    bool bulkOperation = false;
    bool loadingNotes = false;
    bool closeAfterLoading = false;  // a close asked for while the notes were loading
    int endOfSession = 0;   // 0 not started, 1 running, 2 done
};
ProgramFlags& GetProgramFlags();
