#pragma once

#include <string>
#include <vector>

#include "xmlfiles/bytes/BackupRecords.h"

class CXMLBufferDocument;

// The working record of a note read back from a backup.
using CRestoredNote = BackupNote;

// Reading a parsed backup file into plain records. Nothing here shows a box:
// what is missing is handed back, in the order met, for the caller to
// report, and the record keeps the value it held.

// A field a note of the backup lacks: where it lies under the note
// ("textarea font size") and the document's error text about it.
struct BackupMissingField {
    std::string field;
    std::string text;
};

// The number of notes; -1 with the error text when the file has no "backup" root.
int CountBackupNotes(CXMLBufferDocument& document, std::string& error);

// Note k (from 1) read over the record, which the caller fills with the
// defaults first (the user's fonts, the previous note's place). The texts are
// read whole, however long.
void ReadBackupNote(CXMLBufferDocument& document, int k, CRestoredNote& note,
                    std::vector<BackupMissingField>& missing);

// The closing list of computers: 1 when all were read; 0, with the error
// text, when one lacks its name or alias (those read before it stay); -1 when
// the file has no list.
int ReadBackupComputers(CXMLBufferDocument& document, std::vector<BackupComputer>& computers, std::string& problem);

// A note's text as the file holds it, back as it was written: the lines the
// writer put around it taken away, a protected body's mark restored (then
// protectedBody is set), and "]]>" decoded in any other text.
std::string NoteContentFromBackup(const std::string& stored, bool& protectedBody);
