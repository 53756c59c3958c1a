#pragma once

#include <functional>

// The file steps around the notes table (copy to a working file, delete,
// rename back) fail now and then while another program holds the file for a
// moment. Each step is tried up to 50 times; every failure goes to the error
// log as logPrefix, then failureText, the try number (from 0), "\r\n" and the
// system's description of the error. A step that still fails leaves its
// last error as the thread's last error.
enum { kFileStepTries = 50 };

bool RetryFileStep(const std::function<bool()>& step, const char* logPrefix, const char* failureText);
// The same for a step that settles a replacement of data files: another
// program glancing at a file written a moment before (a scanner) holds it
// for up to a second or two, so this waits a few seconds, with the wait
// cursor, before it gives up.
bool RetrySettlingStep(const std::function<bool()>& step, const char* logPrefix, const char* failureText);

// While the program or the Windows session ends (an object of this class
// lives, on any thread), a step of RetryFileStep that failed all its tries
// is given up for the rest of that end: the same step (the same failure
// text), on any thread, then fails at once with the error of its last try,
// so that a file another program holds costs its tries once in an end rather
// than once for every note. When the last object goes, every step is tried
// in full again.
class CEndGivesUpFailedSteps {
public:
    CEndGivesUpFailedSteps();
    ~CEndGivesUpFailedSteps();
    CEndGivesUpFailedSteps(const CEndGivesUpFailedSteps&) = delete;
    CEndGivesUpFailedSteps& operator=(const CEndGivesUpFailedSteps&) = delete;
};
