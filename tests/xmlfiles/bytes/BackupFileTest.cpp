// Backup files written from note records and read back: every field comes
// back, texts a user chose cannot break the file, the layout is the one older
// versions read, and a file with parts missing still gives its notes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ParsedXml.h"
#include "foundation/bytes/ProtectedMark.h"
#include "xmlfiles/bytes/BackupReading.h"
#include "xmlfiles/bytes/BackupWriting.h"

namespace {
std::string ProtectedBody()
{
    return std::string("T25ETF8GQ3hRXlpXRA==08190f7344fdfba35e45522072770002") +
           std::string(reinterpret_cast<const char*>(kProtectedBodyMark), sizeof kProtectedBodyMark);
}

BackupNote ScriptedNote()
{
    BackupNote note;
    note.userName = "Ann <a&b>";
    note.computerName = "DESK]]>1";
    note.hidden = true;
    note.stayOnTop = true;
    note.border = true;
    note.showDate = false;
    note.rollUpOnLeave = true;
    note.leftMarginLine = 2;
    note.backgroundKind = 4;
    note.textureId = 123456789;
    note.horizontalLines = 1;
    note.plainText = true;
    note.transparency = 35;
    note.locked = false;
    note.group = "Trips <&> ]]> x";
    note.left = -40;
    note.top = 60;
    note.width = 280;
    note.height = 190;
    note.created = BackupDateTime{BackupStamp{2026, 3, 5, 9, 5}, 7};
    note.lastSentTo = "Team <team@example.org>";
    note.lastSentOk = true;
    note.receivedFromComputer = "LAPTOP";
    note.receivedFromUser = "Bob";
    note.bodyColour = 0x123456;
    note.textColour = 0xABCDEF;
    note.bodyFont.name = "Tahoma";
    note.bodyFont.size = 10;
    note.bodyFont.bold = true;
    note.bodyFont.italic = 1;
    note.bodyFont.charset = 238;
    note.text = "\r\n\r\nTwo blank lines, then ]]> and <tags> & more   ";
    note.content = "{\\rtf1\\ansi \\par\\par Two blank lines ]]> end}\r\n";
    note.titleColour = 0x00FF00;
    note.titleTextColour = 0x0000FF;
    note.titleFont.name = "Arial";
    note.titleFont.size = 8;
    note.title = "<a&b>]]>";
    note.alarm.set = true;
    note.alarm.when = BackupStamp{2026, 12, 24, 18, 30};
    note.alarm.stopAfterMinutes = 15;
    note.alarm.recurring = true;
    note.alarm.value = 2;
    note.alarm.unit = 6;
    note.sentTo = {BackupSentTo{3, true, BackupStamp{2026, 1, 2, 3, 4}}, BackupSentTo{9, false, BackupStamp{}}};
    note.associations = {BackupAssociation{"Untitled - Notepad ]]>", "AAABAAEAEBA="},
                         BackupAssociation{"Calculator", ""}};
    return note;
}

std::string BackupText(const std::vector<BackupNote>& notes, const std::vector<BackupComputer>& computers)
{
    CXmlTextSink sink;
    sink.WriteLine(kBackupHeaderLine);
    sink.WriteStartTag(kBackupRootName, 0);
    int number = 1;
    for (const BackupNote& note : notes)
        WriteNoteXml(sink, note, number++);
    sink.WriteLine("   ");
    sink.WriteComment("The overall list of computers where any note was sent to", 1);
    WriteComputersXml(sink, computers, 1);
    sink.WriteEndTag(kBackupRootName, 0);
    return sink.Text();
}

BackupNote ReadBack(ParsedXml& parsed, int k, std::vector<BackupMissingField>& problems)
{
    BackupNote read;
    read.bodyFont.name = "default";
    ReadBackupNote(parsed.doc, k, read, problems);
    return read;
}

std::vector<std::string> ChildNames(const CXMLNode* node)
{
    std::vector<std::string> names;
    for (const CXMLNode* child = node->firstChild; child; child = child->nextSibling)
        names.push_back(child->name);
    return names;
}
}

TEST(BackupFile, EveryFieldOfANoteComesBack)
{
    const BackupNote written = ScriptedNote();
    BackupComputer mail;
    mail.id = 3;
    mail.alias = "Team ]]>";
    mail.email = "Team <team@example.org>";
    BackupComputer desk;
    desk.id = 9;
    desk.alias = "Desk";
    desk.computerName = "DESK<1>";
    desk.ipAddress = "192.168.1.20";
    ParsedXml parsed(BackupText({written, BackupNote()}, {mail, desk}), "202603050905.QPK");
    ASSERT_EQ(parsed.result, 1) << parsed.doc.GetErrorText();

    std::string error;
    ASSERT_EQ(CountBackupNotes(parsed.doc, error), 2);
    std::vector<BackupMissingField> problems;
    BackupNote read = ReadBack(parsed, 1, problems);
    EXPECT_TRUE(problems.empty()) << problems.front().text;
    EXPECT_TRUE(read.hidden);
    EXPECT_TRUE(read.stayOnTop);
    EXPECT_TRUE(read.border);
    EXPECT_FALSE(read.showDate);
    EXPECT_TRUE(read.rollUpOnLeave);
    EXPECT_EQ(read.leftMarginLine, 2);
    EXPECT_EQ(read.backgroundKind, 4);
    EXPECT_EQ(read.textureId, 123456789u);
    EXPECT_EQ(read.horizontalLines, 1);
    EXPECT_TRUE(read.plainText);
    EXPECT_EQ(read.transparency, 35);
    EXPECT_EQ(read.group, "Trips <&> ]]> x");
    EXPECT_EQ(read.left, -40);
    EXPECT_EQ(read.top, 60);
    EXPECT_EQ(read.width, 280);
    EXPECT_EQ(read.height, 190);
    EXPECT_EQ(BackupDateText(read.created.stamp, read.created.second), "20260305T09:05:07");
    EXPECT_EQ(read.bodyColour, 0x123456u);
    EXPECT_EQ(read.textColour, 0xABCDEFu);
    EXPECT_EQ(read.bodyFont.name, "Tahoma");
    EXPECT_EQ(read.bodyFont.size, 10);
    EXPECT_TRUE(read.bodyFont.bold);
    EXPECT_EQ(read.bodyFont.italic, 1);
    EXPECT_EQ(read.bodyFont.charset, 238);
    EXPECT_EQ(read.titleFont.name, "Arial");
    EXPECT_EQ(read.titleFont.size, 8);
    EXPECT_FALSE(read.titleFont.bold);
    EXPECT_EQ(read.text, written.text);
    EXPECT_EQ(read.content, written.content);
    EXPECT_FALSE(read.protectedBody);
    EXPECT_EQ(read.titleColour, 0x00FF00u);
    EXPECT_EQ(read.titleTextColour, 0x0000FFu);
    EXPECT_EQ(read.title, "<a&b>]]>");
    EXPECT_TRUE(read.alarm.set);
    EXPECT_EQ(BackupDateText(read.alarm.when), "20261224T18:30:00");
    EXPECT_EQ(read.alarm.stopAfterMinutes, 15);
    EXPECT_TRUE(read.alarm.recurring);
    EXPECT_EQ(read.alarm.value, 2);
    EXPECT_EQ(read.alarm.unit, 6);
    ASSERT_EQ(read.associations.size(), 2u);
    EXPECT_EQ(read.associations[0].application, "Untitled - Notepad ]]>");
    EXPECT_EQ(read.associations[0].iconBase64, "AAABAAEAEBA=");
    EXPECT_EQ(read.associations[1].application, "Calculator");
    EXPECT_EQ(read.associations[1].iconBase64, "");

    // The second note was written with no text, no title and no alarm.
    BackupNote empty = ReadBack(parsed, 2, problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(empty.content, "");
    EXPECT_EQ(empty.title, " ");
    EXPECT_FALSE(empty.alarm.set);
    EXPECT_FALSE(empty.alarm.recurring);
    EXPECT_EQ(empty.alarm.unit, 1);
    EXPECT_TRUE(empty.associations.empty());

    std::vector<BackupComputer> computers;
    std::string problem;
    ASSERT_EQ(ReadBackupComputers(parsed.doc, computers, problem), 1) << problem;
    ASSERT_EQ(computers.size(), 2u);
    EXPECT_EQ(computers[0].email, "Team <team@example.org>");
    EXPECT_EQ(computers[0].computerName, "");
    EXPECT_EQ(computers[0].alias, "Team ]]>");
    EXPECT_EQ(computers[1].computerName, "DESK<1>");
    EXPECT_EQ(computers[1].ipAddress, "192.168.1.20");
}

TEST(BackupFile, TheLayoutIsTheOneOlderVersionsRead)
{
    BackupNote note = ScriptedNote();
    note.sentTo.clear();
    note.associations.clear();
    note.backgroundKind = 1;
    const std::string text = BackupText({note}, {});
    const std::string start =
        std::string(kBackupHeaderLine) + "\r\n<backup>\r\n   <note>\r\n      <noteID>1</noteID>\r\n";
    EXPECT_EQ(text.rfind(start, 0), 0u);
    EXPECT_NE(text.find("      <last_sent_to><![CDATA[Team <team@example.org>]]></last_sent_to>\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("      <user_name><![CDATA[Ann <a&b>]]></user_name>\r\n"), std::string::npos);
    EXPECT_NE(text.find("      <creation_date_time>20260305T09:05:07</creation_date_time>\r\n"), std::string::npos);
    // A text over several lines: its CDATA opens on the tag's line and closes
    // at the start of a line of its own.
    EXPECT_NE(text.find("         <rtf_text><![CDATA[\r\n{\\rtf1\\ansi \\par\\par Two blank lines ]`> end}\r\n"
                        "         \r\n]]>\r\n         </rtf_text>\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("            <unit>weekday(s)</unit>\r\n"), std::string::npos);
    EXPECT_NE(text.find("         <text><![CDATA[<a&b>]`>]]></text>\r\n"), std::string::npos);
    EXPECT_EQ(text.find("background_image"), std::string::npos);
    EXPECT_EQ(text.find("<sent_to>"), std::string::npos);
    EXPECT_EQ(text.find("<association>"), std::string::npos);
    EXPECT_NE(text.find("\r\n   \r\n   <!--The overall list of computers where any note was sent to-->\r\n"
                        "   <computers>\r\n   </computers>\r\n</backup>\r\n"),
              std::string::npos);

    ParsedXml parsed(text);
    ASSERT_EQ(parsed.result, 1) << parsed.doc.GetErrorText();
    const CXMLNode* written = parsed.doc.GetTree()->GetRoot()->firstChild;
    EXPECT_EQ(ChildNames(written),
              (std::vector<std::string>{"noteID", "user_name", "computer_name", "is_hidden", "is_stay_on_top",
                                        "has_border", "show_creation_date", "rollup_losing_focus", "left_margin_line",
                                        "gradient_backcolor", "horizontal_lines", "plain_text", "transparency",
                                        "is_locked", "group", "left", "top", "height", "width", "creation_date_time",
                                        "last_sent_to", "last_sent_succeeded", "received_from_computer_name",
                                        "received_from_user_name", "textarea", "title", "alarm"}));
}

TEST(BackupFile, AProtectedBodyComesBackByteForByteAndNeverInClear)
{
    BackupNote note = ScriptedNote();
    note.protectedBody = true;
    note.content = ProtectedBody();
    note.text = "secret words";
    const std::string text = BackupText({note}, {});
    EXPECT_EQ(text.find("secret words"), std::string::npos);
    EXPECT_NE(text.find("08190f7344fdfba35e45522072770002~^+         \r\n]]>"), std::string::npos);
    ParsedXml parsed(text);
    ASSERT_EQ(parsed.result, 1);
    std::vector<BackupMissingField> problems;
    BackupNote read = ReadBack(parsed, 1, problems);
    EXPECT_TRUE(read.protectedBody);
    EXPECT_EQ(read.content, ProtectedBody());
    EXPECT_EQ(read.text, "");

    // A body as an older version wrote it, its mark kept as it stands.
    bool isProtected = false;
    EXPECT_EQ(NoteContentFromBackup("\r\n" + ProtectedBody() + "         \r\n", isProtected), ProtectedBody());
    EXPECT_TRUE(isProtected);
    // A short text ending like a mark is only a text.
    EXPECT_EQ(NoteContentFromBackup("a~^+", isProtected), "a~^+");
    EXPECT_FALSE(isProtected);
}

TEST(BackupFile, WhatIsMissingIsReportedAndTheNoteStillComesBack)
{
    ParsedXml parsed(XmlFile("<backup>\r\n"
                             "   <note>\r\n"
                             "      <noteID>1</noteID>\r\n"
                             "      <left>15</left>\r\n"
                             "      <creation_date_time>2007-03-05</creation_date_time>\r\n"
                             "      <textarea>\r\n"
                             "         <text><![CDATA[\r\n\r\nplain ]`> text\r\n]]>\r\n         </text>\r\n"
                             "      </textarea>\r\n"
                             "      <alarm><remind_again><unit>fortnight(s)</unit></remind_again></alarm>\r\n"
                             "   </note>\r\n"
                             "</backup>\r\n"));
    ASSERT_EQ(parsed.result, 1) << parsed.doc.GetErrorText();
    std::vector<BackupMissingField> problems;
    BackupNote read;
    read.top = 77;
    read.bodyFont.name = "Default face";
    ReadBackupNote(parsed.doc, 1, read, problems);
    EXPECT_EQ(read.left, 15);
    EXPECT_EQ(read.top, 77);
    EXPECT_EQ(read.width, 300);
    EXPECT_EQ(read.title, "Restored note");
    EXPECT_EQ(read.bodyFont.name, "Default face");
    EXPECT_EQ(BackupDateText(read.created.stamp, read.created.second), "20000801T11:30:00");
    // Without "rtf_text" the plain text is the note, its leading lines kept.
    EXPECT_EQ(read.content, "\r\nplain ]]> text");
    EXPECT_EQ(read.alarm.unit, 1);
    EXPECT_EQ(read.alarm.value, 1);
    ASSERT_GE(problems.size(), 10u);
    EXPECT_EQ(problems.front().field, "is_stay_on_top");
    EXPECT_EQ(problems.front().text, "The \"backup note is_stay_on_top\" field was not found");

    // A note with no text at all, and a file with no computers.
    ParsedXml bare(XmlFile("<backup>\r\n   <note>\r\n      <noteID>1</noteID>\r\n   </note>\r\n</backup>\r\n"));
    ASSERT_EQ(bare.result, 1);
    BackupNote none;
    problems.clear();
    ReadBackupNote(bare.doc, 1, none, problems);
    EXPECT_EQ(none.content, "The plain text content of the restored note was not found??");
    // Every field it lacks is named by its place under the note.
    ASSERT_EQ(problems.size(), 61u);
    EXPECT_EQ(problems[6].field, "textarea backcolor_red");
    EXPECT_EQ(problems[6].text, "The \"backup note textarea\" field was not found");
    EXPECT_EQ(problems.back().field, "is_locked");
    std::vector<BackupComputer> computers;
    std::string problem;
    EXPECT_EQ(ReadBackupComputers(bare.doc, computers, problem), -1);
    EXPECT_EQ(problem, "The backup computers tag is missing");

    // A computer without its alias ends the list there.
    ParsedXml partial(XmlFile("<backup><computers><computer><computer_name>A</computer_name><alias>a</alias>"
                              "</computer><computer><computer_name>B</computer_name></computer></computers>"
                              "</backup>"));
    ASSERT_EQ(partial.result, 1);
    EXPECT_EQ(ReadBackupComputers(partial.doc, computers, problem), 0);
    ASSERT_EQ(computers.size(), 1u);
    EXPECT_EQ(computers[0].computerName, "A");

    // A root of another name has no notes to count.
    ParsedXml other(XmlFile("<content><note></note></content>"));
    std::string error;
    EXPECT_EQ(CountBackupNotes(other.doc, error), -1);
    EXPECT_FALSE(error.empty());
}

TEST(BackupFile, TextsAreReadWholeHoweverLong)
{
    BackupNote note = ScriptedNote();
    note.content = "{\\rtf1 " + std::string(300000, 'x') + "}";
    note.text = std::string(200000, 'y');
    ParsedXml parsed(BackupText({note}, {}));
    ASSERT_EQ(parsed.result, 1);
    std::vector<BackupMissingField> problems;
    BackupNote read = ReadBack(parsed, 1, problems);
    EXPECT_EQ(read.content, note.content);
    EXPECT_EQ(read.text, note.text);
}
