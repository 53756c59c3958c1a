#pragma once

// A password code typed in this run, remembered so that protected notes and the
// start-up password need not be asked for again: the code (50 characters at
// most) and its id.
struct CHashRecord {
    char name[51];
    long id;
};

inline long RecordId(const CHashRecord& record) { return record.id; }
inline const char* RecordName(const CHashRecord& record) { return record.name; }
