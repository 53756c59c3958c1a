#pragma once

#include <string>
#include <vector>

#include "store/bytes/ReplacementRecord.h"

// Several data files replaced together (the notes table, its memo file and the
// delivery records of a restore; the tables of an undo copy). Each new version
// is first copied beside its target ("<name>.put") and the target's present
// bytes beside it too ("<name>.was"), and every target is checked before any
// is touched. A record of the planned moves goes to disk before the first
// copy is made, and says so before the first move; the old versions stay
// beside the targets until the caller keeps the new set or goes back to the
// old one, so that a failure, or a stop at any point, can always return to
// the old set: the program itself, or its next start
// (RecoverInterruptedReplacement).
class CFileSetReplacement {
public:
    explicit CFileSetReplacement(ReplacementKind kind) : m_kind(kind) {}
    // Removes what a replacement that never moved a file left beside the
    // targets; one that moved files and was neither kept nor reverted goes
    // back to the old set.
    ~CFileSetReplacement();
    CFileSetReplacement(const CFileSetReplacement&) = delete;
    CFileSetReplacement& operator=(const CFileSetReplacement&) = delete;

    // The data file of that name takes the source's bytes. The name must be
    // one of kReplaceableDataFiles (else CGenericException).
    void Replace(const std::string& source, const char* dataFileName);
    // The data file goes (nothing happens when it does not exist).
    void Remove(const char* dataFileName);

    // Writes the record, copies the sources and the targets' bytes beside the
    // targets (each copy flushed to disk), then makes sure that no other
    // program holds a target. False, with the file names that failed, when
    // the set cannot be replaced now: nothing has changed then, and each
    // name's cause is kept for the box (ListedWithCauses) and written to
    // error.txt. Refused as well while an earlier replacement left its
    // record or a kept ".was" of one of these targets, while the data files
    // are sealed, and while one of the seven tables of a whole set is missing.
    bool Prepare(std::vector<std::string>& failed);
    // Writes the record, then moves the new versions into place, each step
    // tried again for a moment while another program holds a file. True when
    // the new set is in place (until Keep or Revert). On failure (the files
    // that failed) the targets replaced get their kept bytes back; those that
    // could not be returned are in notReturned: the set is then mixed, the
    // record and the copies stay for the next start, and the data files are
    // sealed.
    bool Commit(std::vector<std::string>& failed, std::vector<std::string>& notReturned);
    // The new set stays: the record says so, then the kept copies and the
    // record go. False when the record could not say so: the next start then
    // goes back to the old set, so the data files are sealed.
    bool Keep();
    // After a later failure, back to the set of before this replacement.
    // False when the set stays mixed (the files that could not be returned
    // are in notReturned) or when the old set is back but the record could
    // not say so (notReturned empty): the data files are sealed then.
    bool Revert(std::vector<std::string>& notReturned);
    // The new set is in place, and neither kept nor reverted yet.
    bool IsUndecided() const { return m_committed; }

private:
    struct Step {
        std::string source;  // empty: the target is removed
        std::string name;    // the data file's name
        bool existed = false;
        bool moved = false;
    };
    bool WriteRecord(ReplacementState state) const;
    bool RevertMoved(std::vector<std::string>& failed);
    // Removes the copies and then the record, once the set is whole again.
    bool Settle(ReplacementState state);
    // True when every copy is gone.
    bool RemoveCopies();
    // Nothing was moved: the copies go, and the record once none is left.
    void Abandon();

    ReplacementKind m_kind;
    std::vector<Step> m_steps;
    bool m_prepared = false;
    bool m_committed = false;
};

// The replaceable data files whose ".was" or ".put" lies in the data folder,
// as "<name>.was" / "<name>.put".
std::vector<std::string> LeftReplacementCopies();
// A replacement is unfinished: its record, or a kept ".was" of a data file, is
// in the data folder. The undo copy of a restore is kept while this holds.
bool IsReplacementUnfinished();
