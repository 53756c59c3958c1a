#pragma once

// The exit code of a run that ended because its data files could not be made
// whole or loaded: they were left as they were, for the next start.
enum { kDataFilesNotWholeExitCode = 3 };

// The program-wide flags that guard the main thread against re-entry.
struct ProgramFlags {
    bool closing = false;
    bool protectedNotePrompt = false;
    bool bulkOperation = false;
    bool loadingNotes = false;
    bool closeAfterLoading = false;  // a close asked for while the notes were loading
    int endOfSession = 0;   // 0 not started, 1 running, 2 done
    int exitCode = 0;       // what the program's end reports: not 0 after a failure it could not mend
};
ProgramFlags& GetProgramFlags();
