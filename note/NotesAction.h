#pragma once

#include "store/FileStepRetries.h"

// One user action that saves notes one by one (hiding, duplicating, filing
// in a group): a file another program holds costs its tries once, and a
// change the action could not store goes into the rescue backup as the
// action ends, at once, as a failed timed save's does, so that an end of the
// program before the next save loses nothing.
class CNotesAction {
public:
    CNotesAction();
    ~CNotesAction();
    CNotesAction(const CNotesAction&) = delete;
    CNotesAction& operator=(const CNotesAction&) = delete;

private:
    CHeldFilesMetOnce m_heldFilesMetOnce;
    unsigned m_failedSavesBefore;
};
