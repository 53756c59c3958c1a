#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bytes/ParsedXml.h"
#include "support/TempFolder.h"
#include "support/bytes/ErrorOf.h"
#include "support/bytes/MessageBoxRecorder.h"
#include "xmlfiles/XmlDocument.h"
#include "xmlfiles/XmlWriter.h"

namespace {
const char kHeader[] = "<?xml version=\"1.0\" encoding=\"Windows-1252\" standalone=\"yes\"?>";
}

TEST(XmlWriter, WritesEveryLineByteForByte)
{
    TempFolder folder;
    std::string path = folder.File("calendar.QPD");
    CXmlWriter writer(kHeader, "content");
    ASSERT_EQ(writer.Open(path.c_str()), 1);
    writer.WriteComment("calendar settings", 1);
    writer.WriteStartTag("options", 1);
    writer.WriteElement("userID", "3", 2, 0);
    writer.WriteElement("title", "", 2, 1);
    writer.WriteElement("rtf", CdataToggled("{a]]>b}", 1).c_str(), 2, 1);
    writer.WriteCDataElement("face", "", 2);
    writer.WriteCDataElement("face", "Tahoma", 2);
    writer.WriteEndTag("options", 1);
    writer.Close();
    EXPECT_EQ(ReadWholeFile(path), std::string(kHeader) +
                                       "\r\n"
                                       "<content>\r\n"
                                       "   <!--calendar settings-->\r\n"
                                       "   <options>\r\n"
                                       "      <userID>3</userID>\r\n"
                                       "      <title><![CDATA[]]></title>\r\n"
                                       "      <rtf><![CDATA[{a]`>b}]]></rtf>\r\n"
                                       "      <face></face>\r\n"
                                       "      <face><![CDATA[Tahoma]]></face>\r\n"
                                       "   </options>\r\n"
                                       "</content>\r\n");
}

// Many lines of every length up to a thousand bytes, so that lines meet the
// ends of the pieces the file is written in at every place: the file holds
// each byte once, in order.
TEST(XmlWriter, ManyLinesOfEveryLengthReachTheFileWhole)
{
    TempFolder folder;
    std::string path = folder.File("many.QPK");
    std::string expected = std::string(kHeader) + "\r\n<r>\r\n";
    CXmlWriter writer(kHeader, "r");
    ASSERT_EQ(writer.Open(path.c_str()), 1);
    for (int i = 0; expected.size() < 300000; ++i) {
        std::string line(static_cast<size_t>(i * 37 % 1000), static_cast<char>('a' + i % 26));
        if (!line.empty())
            line.back() = static_cast<char>('0' + i % 10);
        writer.WriteLine(line);
        expected += line + "\r\n";
    }
    writer.Close();
    expected += "</r>\r\n";
    const std::string written = ReadWholeFile(path);
    ASSERT_EQ(written.size(), expected.size());
    const auto differ = std::mismatch(written.begin(), written.end(), expected.begin()).first;
    EXPECT_TRUE(differ == written.end()) << "the first difference at byte " << differ - written.begin();
}

// A backup that stops half way (a failure, a crash) leaves the last good file
// as it was; only a whole file takes its place. One file is open at a time.
TEST(XmlWriter, TheLastGoodFileStaysUntilTheNewOneIsWhole)
{
    TempFolder folder;
    std::string path = folder.File("settings.QPK");
    WriteWholeFile(path, "last good");
    WriteWholeFile(path + ".new", "left by a crash");
    {
        CXmlWriter writer(kHeader, "r");
        EXPECT_EQ(ErrorOf([&] { writer.WriteElement("a", "1", 1, 0); }), "CXmlWriter: no file is open");
        EXPECT_THROW(writer.Open(folder.File("no\\such\\x.QPK").c_str()), CGenericException);
        EXPECT_FALSE(writer.IsOpen());
        ASSERT_EQ(writer.Open(path.c_str()), 1);
        writer.WriteElement("a", "1", 1, 0);
        EXPECT_EQ(ReadWholeFile(path), "last good") << "nothing reaches the file before Close";
        EXPECT_EQ(writer.Open(folder.File("second.QPK").c_str()), 0);
        EXPECT_FALSE(FileExists(folder.File("second.QPK")));
    }
    EXPECT_EQ(ReadWholeFile(path), "last good") << "a writer dropped half way";
    EXPECT_FALSE(FileExists(path + ".new"));

    CXmlWriter writer(kHeader, "r");
    ASSERT_EQ(writer.Open(path.c_str()), 1);
    HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ErrorOf([&] { writer.Close(); }).rfind("The file could not be replaced: " + path, 0), 0u);
    CloseHandle(reader);
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_EQ(ReadWholeFile(path), "last good") << "a file held by another program";
    EXPECT_FALSE(FileExists(path + ".new"));

    WriteWholeFile(path, std::string(5000, 'o'));
    ASSERT_EQ(writer.Open(path.c_str()), 1);
    writer.Close();
    writer.Close();
    EXPECT_EQ(ReadWholeFile(path), std::string(kHeader) + "\r\n<r>\r\n</r>\r\n") << "made anew, not written over";
}

// A note's text can be far larger than the program's small pooled strings: a
// line of any length is written whole and without a warning.
TEST(XmlWriter, WhatItWritesReadsBackToTheSameValues)
{
    TempFolder folder;
    std::string path = folder.File("roundtrip.QPK");
    const int count = 200;
    auto title = [](int i) { return "Note " + std::to_string(i) + " title"; };
    auto body = [](int i) { return "  <b>" + std::to_string(i * 7) + "</b> ]]] ]]> & \t\r\nend  "; };
    std::string rtf;
    for (int i = 0; rtf.size() < 200000; ++i)
        rtf += "{\\rtf1 line " + std::to_string(i) + " ]]> <tag> \r\n";
    MessageBoxRecorder boxes;
    {
        CXmlWriter writer(kHeader, "backup");
        ASSERT_EQ(writer.Open(path.c_str()), 1);
        writer.WriteComment(" notes ", 1);
        for (int i = 1; i <= count; ++i) {
            writer.WriteStartTag("note", 1);
            writer.WriteElement("noteID", std::to_string(i).c_str(), 2, 0);
            writer.WriteElement("title", ("   " + title(i) + "   ").c_str(), 2, 0);
            if (i == count)
                writer.WriteElement("body", CdataToggled(rtf, 1).c_str(), 2, 1);
            else
                writer.WriteCDataElement("body", CdataToggled(body(i), 1).c_str(), 2);
            writer.WriteStartTag("font", 2);
            writer.WriteElement("size", std::to_string(8 + i % 5).c_str(), 3, 0);
            writer.WriteEndTag("font", 2);
            writer.WriteEndTag("note", 1);
        }
        writer.Close();
    }
    EXPECT_EQ(boxes.Count(), 0u);
    CXMLDocument doc(path.c_str());
    ASSERT_EQ(doc.Parse(), 1) << doc.GetErrorText();
    std::vector<char> out(rtf.size() + 1);
    char err[256];
    auto value = [&](int k, const char* field) {
        int size = static_cast<int>(out.size());
        EXPECT_EQ(doc.GetValue("backup", "note", k, field, out.data(), size, err, sizeof err), 1);
        return std::string(out.data());
    };
    ASSERT_EQ(doc.CountElements("backup", "note", err, sizeof err), count);
    for (int i = 1; i <= count; ++i) {
        EXPECT_EQ(value(i, "noteID"), std::to_string(i));
        EXPECT_EQ(value(i, "title"), title(i));
        std::string text = value(i, "body");
        ToggleCdataEscape(&text[0], 0);
        EXPECT_EQ(text.c_str(), i == count ? rtf : body(i));
        ASSERT_EQ(doc.GetValue1("backup", "note", "font", i, "size", out.data(), 16, err, sizeof err), 1);
        EXPECT_STREQ(out.data(), std::to_string(8 + i % 5).c_str());
    }
}
