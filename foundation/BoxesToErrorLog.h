#pragma once

#include "foundation/bytes/MessageBoxes.h"

// While an object of this class lives, no box of the calling thread is shown:
// its text goes to error.txt after the reason given, and the box answers as
// Enter would. For work that nobody may be kept waiting by. Objects nest: the
// one made last rules until it goes.
class CBoxesToErrorLog {
public:
    // The reason must outlive the object (a literal).
    explicit CBoxesToErrorLog(const char* reason);
    ~CBoxesToErrorLog();
    CBoxesToErrorLog(const CBoxesToErrorLog&) = delete;
    CBoxesToErrorLog& operator=(const CBoxesToErrorLog&) = delete;

private:
    MessageBoxSink m_previousSink;
    const char* m_previousReason;
};
