#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The file steps around the notes table (copy to a working file, delete,
// rename back) fail now and then while another program holds the file for a
// moment. Each step is tried up to 50 times; every failure goes to the error
// log as logPrefix, then failureText, the try number (from 0), "\r\n" and the
// system's description of the error. A step that still fails leaves its
// last error as the thread's last error.
enum { kFileStepTries = 50 };

// What a step does, and to which file: a save or an action that finds the
// file held gives up this step, whatever the text its caller logs. A copy
// is a step on the file it reads, a rename of a working copy one on the file
// it replaces.
enum class FileStepKind { kCopy, kDelete, kRename };
struct FileStep {
    FileStepKind kind;
    std::string path;
};

bool RetryFileStep(const FileStep& step, const std::function<bool()>& attempt, const char* logPrefix,
                   const char* failureText);
// The same for a step that settles a replacement of data files: another
// program glancing at a file written a moment before (a scanner) holds it
// for up to a second or two, so this waits a few seconds, with the wait
// cursor, before it gives up.
bool RetrySettlingStep(const std::function<bool()>& step, const char* logPrefix, const char* failureText);

// One save, one user action on several notes or one end meets a file that
// another program holds once, not once for every note: while an object of
// this class lives, a step of RetryFileStep that failed all its tries because
// the file is held (MayBeHeldFileError) is given up for the rest of that work. The same step then
// fails at once with the error of its last try, and error.txt has told it
// once, with its tries. A missing or damaged file is not given up. When the
// object goes, the next save tries every step in full again.
//
// The work is the calling thread's. A loop that a box or a dialog of the
// work runs lets in work that is not its own (a timed save, a received note,
// the user's click elsewhere): that work tries in full, or gives up within
// its own object. An end's giving up holds for the saves of the other
// threads too (a note being sent), as long as they have none of their own.
enum class HeldFileWork {
    kSave,    // one save of notes, on its own
    kAction,  // one user action, which may store many notes one by one
    kEnd,     // the end of the program or of the session, on every thread
    // A save that may be a part of the save or action under way on this
    // thread (not one let in by its loops); a save on its own when none is.
    kPartOfWorkUnderWay,
};

class CHeldFilesMetOnce {
public:
    explicit CHeldFilesMetOnce(HeldFileWork work);
    ~CHeldFilesMetOnce();
    CHeldFilesMetOnce(const CHeldFilesMetOnce&) = delete;
    CHeldFilesMetOnce& operator=(const CHeldFilesMetOnce&) = delete;

    // The files whose steps this work has given up, each once with the error
    // that gave it up, in words (UnwritableFilesText); empty when none was.
    std::string HeldFilesText() const;

    struct Steps;

private:
    std::shared_ptr<Steps> m_steps;
};

// Whether the calling thread's last file step failed on a file another
// program holds and is given up for the rest of the work under way: the
// other steps of that work on the same file need not be made.
bool LastFileStepGivenUp();
// Whether it was not tried at all, having been given up earlier in the
// work: what follows from its failure has been logged once already.
bool LastFileStepSkipped();
