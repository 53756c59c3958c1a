#pragma once

#include <string>

// The file steps of an upgrade of the data folder. Each file goes into place
// whole (copied beside its target, which it then replaces in one step), each
// step tried up to 50 times; a step that keeps failing throws
// CGenericException naming the file, and the upgrade stops there. An upgrade
// stopped half-way is run again at the next start, so every step may be
// taken twice.

// A file into place whole; the names are those the error log and the
// exception give.
void CopyWhole(const std::string& from, const std::string& to, const std::string& fromName, const std::string& toName);
// A table of the "UPGRADE" folder into the data folder.
void CopyFromUpgrade(const char* name);
// A table of the data folder kept under its name with "Old" added, before the
// upgrade replaces it.
void KeepOldCopy(const char* name, const char* oldName);
// The same, unless an earlier, unfinished upgrade replaced the table already
// (replacedBefore: it has the new layout) and kept its copy then: the table
// is then put back from that copy, so that the upgrade reads the user's rows
// again. A table with a memo file: the memo first when putting back, so that
// a stop in between still finds the table replaced.
void KeepOrPutBack(const char* name, const char* oldName, bool replacedBefore);
void KeepOrPutBack(const char* name, const char* oldName, const char* memo, const char* oldMemo, bool replacedBefore);

// Whether the table in the file has the field (a way to tell its layout).
bool TableHasField(const std::string& path, const char* field);
