// The record of a replacement of data files: written and read back whole, and
// a record that was cut short, edited or written by anyone else is not taken
// for one, so that no start acts on a file outside the program's own set.
#include <cctype>
#include <string>

#include <gtest/gtest.h>

#include "store/bytes/ReplacementRecord.h"

namespace {
ReplacementRecord UndoRecord()
{
    ReplacementRecord record;
    record.kind = ReplacementKind::kUndo;
    record.state = ReplacementState::kKeptOld;
    record.files = {{"notes.qps", false, true}, {"notes.QPD", false, true}, {"chatnote.QPD", true, false}};
    return record;
}

bool Parses(const std::string& text)
{
    ReplacementRecord record;
    return ParseReplacementRecord(text, record);
}
}

TEST(ReplacementRecord, ReadsBackWhatWasWrittenAndTakesOnlyTheProgramsOwnNames)
{
    const std::string text = FormatReplacementRecord(UndoRecord());
    ReplacementRecord read;
    ASSERT_TRUE(ParseReplacementRecord(text, read)) << text;
    EXPECT_EQ(read.kind, ReplacementKind::kUndo);
    EXPECT_EQ(read.state, ReplacementState::kKeptOld);
    ASSERT_EQ(read.files.size(), 3u);
    EXPECT_EQ(read.files[0].name, "notes.qps");
    EXPECT_TRUE(read.files[1].existed);
    EXPECT_TRUE(read.files[2].removed);
    EXPECT_FALSE(read.files[2].existed);

    // Names are matched without regard to case, and read in the program's spelling.
    ASSERT_TRUE(ParseReplacementRecord("Quillnet+ replacing data files\nkind restore\nstate moving\n"
                                       "replace TRANSACT.qpd existed\nend\n",
                                       read));
    EXPECT_EQ(read.files[0].name, "transact.QPD");
    EXPECT_EQ(ReplaceableDataFileName("Noteman.qpd"), "noteman.QPD");
    EXPECT_EQ(ReplaceableDataFileName("..\\notes.qpd"), "");
    ASSERT_TRUE(ParseReplacementRecord("Quillnet+ replacing data files\nkind undo\nstate preparing\n"
                                       "remove apps.QPD absent\nend\n",
                                       read));
    EXPECT_EQ(read.state, ReplacementState::kPreparing);
}

TEST(ReplacementRecord, ACutShortEditedOrForeignRecordIsNotARecord)
{
    const std::string whole = FormatReplacementRecord(UndoRecord());
    // Cut anywhere before its last line is whole.
    for (size_t cut = 0; cut + 2 < whole.size(); ++cut)
        EXPECT_FALSE(Parses(whole.substr(0, cut))) << cut;
    const std::string head = "Quillnet+ replacing data files\r\nkind restore\r\nstate moving\r\n";
    const char* const hostile[] = {
        "replace ..\\letter.doc existed\r\n",           // outside the data folder
        "remove C:\\boot.ini absent\r\n",               // a path
        "replace notes.qps existed\r\nreplace NOTES.QPS existed\r\n",  // named twice
        "replace notes.qps maybe\r\n",                  // neither existed nor absent
        "replace notes.qps existed extra\r\n",          // a word too many
        "move notes.qps existed\r\n",                   // no such step
        "kind undo\r\nreplace notes.qps existed\r\n",   // the kind twice
    };
    for (const char* lines : hostile)
        EXPECT_FALSE(Parses(head + lines + "end\r\n")) << lines;
    EXPECT_FALSE(Parses(head + "end\r\n")) << "a record names at least one file";
    EXPECT_FALSE(Parses(head + "replace notes.qps existed\r\nend\r\nreplace notes.QPD existed\r\n"));
    EXPECT_FALSE(Parses(std::string(5000, 'x')));
}

// Going back deletes what a record calls absent, and going forward removes
// what it says goes: a record that says so of a table every data folder
// holds is not taken, whatever else it says or however it is spelled.
TEST(ReplacementRecord, ARecordThatCallsATableOfTheSetAbsentOrRemovedIsNotARecord)
{
    for (const char* table : kWholeSetTables) {
        SCOPED_TRACE(table);
        std::string shouted = table;
        for (char& letter : shouted)
            letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
        for (const char* kind : {"restore", "undo"}) {
            for (const char* state : {"preparing", "moving", "kept-new", "kept-old"}) {
                const std::string head = std::string("Quillnet+ replacing data files\r\nkind ") + kind +
                                         "\r\nstate " + state + "\r\nreplace chatnote.QPD existed\r\n";
                EXPECT_FALSE(Parses(head + "replace " + table + " absent\r\nend\r\n")) << kind << state;
                EXPECT_FALSE(Parses(head + "replace " + shouted + " absent\r\nend\r\n")) << kind << state;
                EXPECT_FALSE(Parses(head + "remove " + table + " existed\r\nend\r\n")) << kind << state;
                EXPECT_FALSE(Parses(head + "remove " + table + " absent\r\nend\r\n")) << kind << state;
                EXPECT_TRUE(Parses(head + "replace " + shouted + " existed\r\nend\r\n")) << kind << state;
            }
        }
    }
    // The optional files may be absent before, or removed.
    for (const char* optional : {"apps.QPD", "noteman.QPD", "calendar.QPD", "chatnote.QPD"}) {
        EXPECT_FALSE(IsWholeSetTable(optional));
        EXPECT_TRUE(Parses(std::string("Quillnet+ replacing data files\nkind undo\nstate moving\nreplace notes.QPD "
                                       "existed\nremove ") +
                           optional + " existed\nend\n"))
            << optional;
    }
    // A record cut right after its absent table, or with it last, is no record either.
    const std::string planted = "Quillnet+ replacing data files\r\nkind restore\r\nstate moving\r\n"
                                "replace notes.qps existed\r\nreplace notes.QPD absent\r\nend\r\n";
    for (size_t cut = 0; cut <= planted.size(); ++cut)
        EXPECT_FALSE(Parses(planted.substr(0, cut))) << cut;
}
