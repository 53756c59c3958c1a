#pragma once

#include <string>

// A settings file of the data folder that the program cannot read is never
// written over: it is kept beside itself under the first free name of
// "<file>.bad", "<file>.bad2", "<file>.bad3" ... before anything replaces it,
// so that the user's groups, options or associations in it can still be
// mended by hand. Main thread only.

// Moves the file to its kept name, or copies it there when another program
// holds it so that it cannot be moved; a kept file of the same bytes counts
// as that copy (keptBefore set): a held file read again is kept once. The
// kept name without its folder; empty when it could not be kept, and the
// file is then guarded: writers asking RefuseToOverwriteDamagedFile are
// refused until it is kept.
std::string KeepDamagedFileAside(const char* path, bool* keptBefore = nullptr);

// The file that could not be read (problem: the reader's text) kept aside,
// then told once, in a stop box and in error.txt: the reader's text, the
// name it is kept under and what the program goes on with in its place
// (standIn, such as "the standard calendar options and styles"). A held
// file kept before goes to error.txt only.
void ReportDamagedFile(const char* path, const std::string& problem, const char* standIn);

// Copies the file to its kept name, the file itself left where it is. A kept
// file of the same bytes counts as the copy (keptBefore set): the same damaged
// file met again is kept once. The kept name without its folder; empty when
// no copy could be made, and the file is then guarded as above.
std::string KeepCopyOfDamagedFile(const char* path, bool* keptBefore = nullptr);

// Called by a writer before it replaces the file: a damaged file that could
// not be kept aside yet is copied aside now, and while it still cannot be,
// throws CGenericException, the file left as it is.
void RefuseToOverwriteDamagedFile(const char* path);

// The entries of a settings file that its reader cannot read whole (a group
// without its name, a membership without its note): each is passed over and
// logged in error.txt, and reading goes on, so that one damaged entry never
// costs the entries after it. The file still holds the sound entries the
// program goes on with, so it stays where it is until the next write, and a
// copy is kept aside first; the user is told once, when that copy is made.
class CSkippedEntries {
public:
    explicit CSkippedEntries(const char* path) : m_path(path ? path : "") {}

    // Logs "<file>: <entry> was skipped. <problem>".
    void Skip(const std::string& entry, const std::string& problem);
    size_t Count() const { return m_count; }
    // After the reading: when any entry was skipped, the copy kept aside, and
    // a warning box and error.txt say so (only error.txt when the same file
    // was kept before).
    void Report();

private:
    std::string m_path;
    size_t m_count = 0;
};
