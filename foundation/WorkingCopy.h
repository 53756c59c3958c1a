#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "foundation/GenericFile.h"

// A file that holds the user's data is never rewritten in place: the new bytes go
// into a working copy beside it, which takes the file's place in one step once it
// is whole. At every moment the file is either the old one or the new one.

// A step on a file that another program may hold for a moment (a virus
// scanner or a backup program opens a freshly written file briefly), tried
// again after a short pause until it succeeds or a fifth of a second has
// passed; whether it succeeded, with the system's error of its last try as
// the last error.
bool RetryWhileHeld(const std::function<bool()>& step);

// Whether another program holds the file now so that it cannot be opened for
// the access with the sharing (an error of sharing or locking). A missing
// file, or one refused for another reason, is not held.
bool FileHeldNow(const char* path, DWORD access, DWORD sharing);
// The same after the short wait of RetryWhileHeld, or after the start's wait
// while the program starts (foundation/HeldFileWait.h).
bool FileStaysHeld(const char* path, DWORD access, DWORD sharing);

// Puts the working copy in the target's place in one step (the working copy must
// lie in the target's folder). False, with the system's error as the last error,
// when that is refused (another program holds the target, say); both files are
// then as they were.
bool ReplaceWithWorkingCopy(const char* workingCopy, const char* target);

// The working copy of a new version of the target file: created empty beside the
// target ("<target>.new"), written through File(), and put in the target's place
// by Commit. Until then the target is untouched; a copy that is not committed
// (a failure, an exception) is deleted when the object goes.
class CWorkingCopy {
public:
    // Creates the working copy; failures throw CGenericException, and so
    // does a file of the data folder while its files are sealed.
    explicit CWorkingCopy(const char* target);
    ~CWorkingCopy();
    CWorkingCopy(const CWorkingCopy&) = delete;
    CWorkingCopy& operator=(const CWorkingCopy&) = delete;

    CGenericFile& File() { return m_file; }
    // Flushes and closes the working copy, then replaces the target with it. A
    // target held for a moment by another program is tried again a few times;
    // a replace that keeps failing throws CGenericException, the target whole.
    void Commit();

private:
    std::string m_target;
    std::string m_path;
    CGenericFile m_file;
    bool m_committed = false;
};
