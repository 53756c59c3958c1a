#pragma once

#include <string>

#include "store/bytes/ReplacementRecord.h"

// The file steps of a replacement of data files, shared by the program's own
// replacement and by the start that finishes one cut short. Each step is
// tried again for a moment while another program holds a file, and can be
// taken again after a stop half-way.

extern const char kKeptSuffix[];    // ".was": the target's bytes of before
extern const char kStagedSuffix[];  // ".put": the new bytes, beside the target

// "<data folder>\<name>.was" and "<data folder>\<name>.put".
std::string KeptCopyPath(const std::string& name);
std::string StagedCopyPath(const std::string& name);

// The new version takes the target's place (the staged copy is moved in), or
// the target goes for a file the replacement removes.
bool MoveNewVersionIn(const ReplacedFile& file, const char* logPrefix);
// The target gets its kept bytes back (copied, so that the kept copy stays
// until the set is whole), or goes when it did not exist before.
bool PutOldVersionBack(const ReplacedFile& file, const char* logPrefix);
// The target gets the staged bytes (copied, the staged copy stays), or goes
// for a file the replacement removes.
bool CopyNewVersionIn(const ReplacedFile& file, const char* logPrefix);
// The file's ".put" and ".was" are deleted; false when one stays.
bool RemoveReplacementCopies(const ReplacedFile& file, const char* logPrefix);

// Copies the file's bytes and flushes them to disk before it answers, so
// that a copy counted on after a power cut holds them. The source may be
// held open by another program (a scanner reading a kept copy must not stop
// the set from being put back). False with the system's error as the last
// error; no part of a copy is left then.
bool CopyFlushed(const std::string& from, const std::string& to);

// The record in the data folder, written in one step and flushed to disk.
bool WriteReplacementRecord(const ReplacementRecord& record);
enum class RecordFound {
    kNone,     // there is no record
    kWhole,    // the record was read
    kHeld,     // it is there, but could not be opened for a few seconds
    kDamaged,  // it is there, but is not a whole record of the program's
};
// A record held by another program is tried again for a few seconds, as a
// scanner's glance at a file written a moment before lasts that long;
// openError then gets the system's error of the last try.
RecordFound ReadReplacementRecord(ReplacementRecord& record, unsigned long* openError = nullptr);
bool DeleteReplacementRecord(const char* logPrefix);

// The set is whole (record.state says which): the record says so first, then
// the copies go, and the record last, once none is left. False when the
// record could not be rewritten within a few seconds: then nothing was
// deleted, the record still says what it said, and the next start acts on
// that, so nothing more may be written to the data files.
bool SettleReplacement(ReplacementRecord record, const char* logPrefix);
// A record left by a replacement whose set was already whole: its copies and
// the record go now.
void TidySettledReplacement();
