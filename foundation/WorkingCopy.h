#pragma once

#include <string>

#include "foundation/GenericFile.h"

// A file that holds the user's data is never rewritten in place: the new bytes go
// into a working copy beside it, which takes the file's place in one step once it
// is whole. At every moment the file is either the old one or the new one.

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
