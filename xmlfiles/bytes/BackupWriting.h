#pragma once

#include <string>
#include <vector>

#include "xmlfiles/bytes/BackupRecords.h"
#include "xmlfiles/bytes/XmlLineSink.h"

// The elements of a backup file, written through a line sink between the
// root's start tag and end tag ("backup"). Every text a user or another
// program chose (names, titles, groups, addresses, window titles) stands in
// CDATA with "]]>" escaped, so that no text can break the file.

extern const char kBackupHeaderLine[];
extern const char kBackupRootName[];

// One note (number counts the notes of the file from 1); nothing when the sink is not open.
void WriteNoteXml(CXmlLineSink& writer, const BackupNote& note, int number);
void WriteNoteFieldsXml(CXmlLineSink& writer, const BackupNote& note, int number);
void WriteColorsXml(CXmlLineSink& writer, std::uint32_t background, std::uint32_t text, int level);
void WriteFontXml(CXmlLineSink& writer, const BackupFont& font, int level);
// A text over several lines in one CDATA section; an empty one on one line.
void WriteNoteTextXml(CXmlLineSink& writer, const char* tag, const std::string& text, int level);
void WriteAlarmXml(CXmlLineSink& writer, const BackupAlarm& alarm, int level);
void WriteSentToXml(CXmlLineSink& writer, const std::vector<BackupSentTo>& records, int level);
void WriteAssociationsXml(CXmlLineSink& writer, const std::vector<BackupAssociation>& associations, int level);
// The closing list of every computer a note was sent to.
void WriteComputersXml(CXmlLineSink& writer, const std::vector<BackupComputer>& computers, int level);

// The text as it stands in CDATA: every "]]>" with a grave accent for its second bracket.
std::string EscapedForCdata(const std::string& text);
// "yyyymmddThh:mm:00", and with the seconds given "yyyymmddThh:mm:ss".
std::string BackupDateText(const BackupStamp& stamp, int second = 0);
