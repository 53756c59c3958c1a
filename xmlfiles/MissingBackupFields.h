#pragma once

#include <string>
#include <vector>

#include "xmlfiles/bytes/BackupReading.h"

// The fields the notes of one restore lack, told without holding the restore
// up: each note's missing fields go into error.txt as the note is read, and
// once every note is made, one box says how many notes lacked fields and that
// default values stand in for them, naming the first few fields.
class CMissingBackupFields {
public:
    explicit CMissingBackupFields(const std::string& backupName);

    // The missing fields of note k (from 1), written to error.txt at once.
    void Add(int k, const std::vector<BackupMissingField>& missing);
    // The text of the box; empty when no note lacked a field.
    std::string Summary() const;
    // The summary in one warning box, when there is one.
    void Show(void* owner) const;

private:
    std::string m_backupName;
    int m_notes = 0;
    // The first fields met, each once.
    std::vector<std::string> m_firstFields;
    bool m_moreFields = false;
};
