#include <string>

#include <gtest/gtest.h>

#include "ParsedXml.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
const std::string kNoteManager = XmlFile(
    "<content>\r\n"
    "   <options>\r\n"
    "      <userID>3</userID>\r\n"
    "      <column><id>0</id><text>Icons</text></column>\r\n"
    "      <column><id>1</id><text>Title</text></column>\r\n"
    "   </options>\r\n"
    "   <options>\r\n"
    "      <userID>5</userID>\r\n"
    "   </options>\r\n"
    "   <group>\r\n"
    "      <id>0</id>\r\n"
    "      <name><![CDATA[All (except Deleted)]]></name>\r\n"
    "      <hotkey><key>71</key><mods><ctrl>1</ctrl></mods></hotkey>\r\n"
    "   </group>\r\n"
    "</content>\r\n");

class XmlTree : public ::testing::Test {
protected:
    XmlTree() : file(kNoteManager) { EXPECT_EQ(file.result, 1) << file.doc.GetErrorText(); }

    ParsedXml file;
    CXMLBufferDocument& doc = file.doc;
    char out[256] = "unchanged";
    char err[256] = "";
};
}

TEST_F(XmlTree, CountsElementsAlongThePathOfFirstChildren)
{
    EXPECT_EQ(doc.CountElements("content", "options", err, sizeof err), 2);
    EXPECT_EQ(doc.CountElements("content", "group", err, sizeof err), 1);
    EXPECT_EQ(doc.CountElements("options", "column", err, sizeof err), 2);
    EXPECT_EQ(doc.CountElements("content", "nothing", err, sizeof err), 0);
    EXPECT_EQ(doc.CountElements("group", "id", err, sizeof err), -1);
    EXPECT_STREQ(err, "The \"group\" tag was not found");

    EXPECT_EQ(doc.CountSubElements("content", "options", "column", err, sizeof err), 2);
    EXPECT_EQ(doc.CountSubElements("content", "group", "column", err, sizeof err), 0);
    EXPECT_EQ(doc.CountSubElements("notes", "options", "column", err, sizeof err), -1);
    EXPECT_STREQ(err, "The notes tag was not found ");
    EXPECT_EQ(doc.CountSubElements("content", "style", "column", err, sizeof err), -1);
    EXPECT_STREQ(err, "The content style tag is missing");
}

TEST_F(XmlTree, ReadsValuesByPath)
{
    EXPECT_EQ(doc.GetValue("content", "options", 2, "userID", out, sizeof out, err, sizeof err), 1);
    EXPECT_STREQ(out, "5");
    EXPECT_STREQ(err, "");
    EXPECT_EQ(doc.GetValue("Content", "OPTIONS", 1, "userid", out, sizeof out, err, sizeof err), 1);
    EXPECT_STREQ(out, "3");

    EXPECT_EQ(doc.GetValue("content", "options", 3, "userID", out, sizeof out, err, sizeof err), 0);
    EXPECT_STREQ(out, "");
    EXPECT_STREQ(err, "The \"content options\" tag was not found");
    EXPECT_EQ(doc.GetValue("content", "options", 0, "userID", out, sizeof out, err, sizeof err), 0);
    EXPECT_EQ(doc.GetValue("content", "options", 2, "sortColumn", out, sizeof out, err, sizeof err), 0);
    EXPECT_STREQ(err, "The \"content options sortColumn\" field was not found");
    EXPECT_EQ(doc.GetValue("calendar", "options", 1, "userID", out, sizeof out, err, sizeof err), 0);
    EXPECT_STREQ(err, "The \"calendar\" tag was not found");

    // A value longer than the caller's buffer is cut and still found.
    char small[4];
    EXPECT_EQ(doc.GetValue("content", "group", 1, "name", small, sizeof small, err, sizeof err), 1);
    EXPECT_STREQ(small, "All");
    // An element with children but no text reads as empty.
    EXPECT_EQ(doc.GetValue("content", "group", 1, "hotkey", out, sizeof out, err, sizeof err), 1);
    EXPECT_STREQ(out, "");
}

TEST_F(XmlTree, ReadsValuesOfDeeperPaths)
{
    EXPECT_EQ(doc.GetValue1("content", "group", "hotkey", 1, "key", out, sizeof out, err, sizeof err), 1);
    EXPECT_STREQ(out, "71");
    int length = -1;
    strcpy(out, "kept");
    EXPECT_EQ(doc.GetValue1("content", "group", "hotkey", 1, "key", out, sizeof out, err, sizeof err, &length), 1);
    EXPECT_EQ(length, 2);
    EXPECT_STREQ(out, "kept");
    EXPECT_EQ(doc.GetValue1("content", "group", "alarm", 1, "key", out, sizeof out, err, sizeof err), 0);
    EXPECT_STREQ(err, "The \"content group alarm\" field was not found");
    EXPECT_EQ(doc.GetValue1("content", "group", "hotkey", 1, "shift", out, sizeof out, err, sizeof err), 0);
    EXPECT_STREQ(err, "The \"content group hotkey shift\" field was not found");
    EXPECT_EQ(doc.GetValue1("content", "group", "hotkey", 2, "key", out, sizeof out, err, sizeof err), 0);
    EXPECT_STREQ(err, "The \"content group\" tag was not found");

    EXPECT_EQ(doc.GetValue2("content", "group", "hotkey", "mods", 1, "ctrl", out, sizeof out, err, sizeof err), 1);
    EXPECT_STREQ(out, "1");
    EXPECT_STREQ(err, "");
    EXPECT_EQ(doc.GetValue2("notes", "group", "hotkey", "mods", 1, "ctrl", out, sizeof out, err, sizeof err), -1);
    EXPECT_STREQ(err, "The \"notes\" tag was not found");
    EXPECT_EQ(doc.GetValue2("content", "group", "hotkey", "keys", 1, "ctrl", out, sizeof out, err, sizeof err), 0);
    EXPECT_STREQ(err, "The \"content group hotkey keys\" field was not found");
    EXPECT_EQ(doc.GetValue2("content", "group", "hotkey", "mods", 1, "alt", out, sizeof out, err, sizeof err), 0);
    EXPECT_STREQ(err, "The \"content group hotkey mods alt\" field was not found");
    EXPECT_EQ(doc.GetValue2("content", "group", "hotkey", "mods", 9, "alt", out, sizeof out, err, sizeof err), 0);
    EXPECT_STREQ(err, "The \"content group\" field was not found");
}

TEST_F(XmlTree, ReadsSubCollections)
{
    EXPECT_EQ(doc.GetValueSubCollection("content", "options", "column", 2, "text", out, sizeof out, err, sizeof err),
              1);
    EXPECT_STREQ(out, "Title");
    EXPECT_EQ(doc.GetValueSubCollection("content", "options", "column", 3, "text", out, sizeof out, err, sizeof err),
              0);
    EXPECT_STREQ(err, "The \"content\" \"options\" \"column\" tag was not found");
    EXPECT_EQ(doc.GetValueSubCollection("content", "options", "column", 1, "width", out, sizeof out, err, sizeof err),
              0);
    EXPECT_STREQ(err, "The \"content\"  \"options\" \"width\" tag was not found");
    EXPECT_EQ(doc.GetValueSubCollection("content", "styles", "column", 1, "text", out, sizeof out, err, sizeof err),
              0);
    EXPECT_STREQ(err, "The \"content\" \"styles\" tag was not found");
    EXPECT_EQ(doc.GetValueSubCollection("x", "options", "column", 1, "text", out, sizeof out, err, sizeof err), 0);
    EXPECT_STREQ(err, "The \"x\" tag was not found");
}

TEST_F(XmlTree, WalksSubRecordsWithTheCursor)
{
    EXPECT_EQ(doc.GotoChildOfCurrentParent("options", 1, err, sizeof err), 1);
    EXPECT_EQ(doc.SetCurrentChildAsParent(err, sizeof err), 1);
    EXPECT_EQ(doc.CountChildren("column", err, sizeof err), 2);
    EXPECT_EQ(doc.GotoChildOfCurrentParent("column", 2, err, sizeof err), 1);
    EXPECT_EQ(doc.GetValueOfCurrentChild("text", out, sizeof out, err, sizeof err), 1);
    EXPECT_STREQ(out, "Title");
    EXPECT_EQ(doc.GetValueOfCurrentChild("width", out, sizeof out, err, sizeof err), 0);
    EXPECT_STREQ(err, "GetValueOfCurrentChild -> the \"width\" tag was not found as a member of the current tag??");
    EXPECT_EQ(doc.GotoChildOfCurrentParent("column", 3, err, sizeof err), 0);
    EXPECT_STREQ(err, "GotoChildOfCurrentParent -> the \"column\" tag was not found");

    EXPECT_EQ(doc.GotoParent(err, sizeof err), 1);
    EXPECT_EQ(doc.CountChildren("options", err, sizeof err), 2);
    EXPECT_EQ(doc.GotoChildOfCurrentParent("options", 2, err, sizeof err), 1);
    EXPECT_EQ(doc.GetValueOfCurrentChild("userID", out, sizeof out, err, sizeof err), 1);
    EXPECT_STREQ(out, "5");

    strcpy(err, "untouched");
    EXPECT_EQ(doc.GotoParent(err, sizeof err), 0);
    EXPECT_STREQ(err, "untouched");
    EXPECT_EQ(doc.GetTree()->GetCurrentParent(), doc.GetTree()->GetRoot());
}

TEST_F(XmlTree, ReportsCursorMovesThatCannotBeMade)
{
    ASSERT_EQ(doc.GotoChildOfCurrentParent("options", 2, err, sizeof err), 1);
    ASSERT_EQ(doc.SetCurrentChildAsParent(err, sizeof err), 1);
    ASSERT_EQ(doc.GotoChildOfCurrentParent("userID", 1, err, sizeof err), 1);
    EXPECT_EQ(doc.GetValueOfCurrentChild("x", out, sizeof out, err, sizeof err), 0);
    EXPECT_STREQ(err, "GetValueOfCurrentChild -> the \"x\" tag was not found\r\n The current tag has no children?? ");
    EXPECT_EQ(doc.SetCurrentChildAsParent(err, sizeof err), 0);
    EXPECT_STREQ(err, "The current node has no children\r\nSetCurrentChildAsParent has nothing to do.");

    ParsedXml lone(XmlFile("<content></content>"));
    ASSERT_EQ(lone.result, 1);
    EXPECT_EQ(lone.doc.GotoChildOfCurrentParent("options", 1, err, sizeof err), 0);
    EXPECT_STREQ(err, "The current parent has no children\r\nGotoChildOfCurrentParent has nothing to do.");
    EXPECT_EQ(lone.doc.CountChildren("options", err, sizeof err), 0);
    EXPECT_EQ(lone.doc.CountElements("content", "options", err, sizeof err), 0);
    EXPECT_EQ(lone.doc.GetValue("content", "options", 1, "userID", out, sizeof out, err, sizeof err), 0);
    EXPECT_STREQ(err, "The \"content options\" tag was not found");
}

TEST(XmlTreeCursor, HoldsTwentyParentsAtMost)
{
    std::string open, close;
    for (int i = 1; i <= 21; ++i) {
        open += "<n" + std::to_string(i) + ">";
        close = "</n" + std::to_string(i) + ">" + close;
    }
    ParsedXml file(XmlFile("<root>" + open + "x" + close + "</root>"));
    ASSERT_EQ(file.result, 1) << file.doc.GetErrorText();
    char err[256] = "";
    for (int i = 1; i <= 19; ++i) {
        std::string name = "n" + std::to_string(i);
        ASSERT_EQ(file.doc.GotoChildOfCurrentParent(name.c_str(), 1, err, sizeof err), 1) << i;
        ASSERT_EQ(file.doc.SetCurrentChildAsParent(err, sizeof err), 1) << i;
    }
    ASSERT_EQ(file.doc.GotoChildOfCurrentParent("n20", 1, err, sizeof err), 1);
    EXPECT_EQ(file.doc.SetCurrentChildAsParent(err, sizeof err), 0);
    EXPECT_STREQ(err, "SetCurrentChildAsParent -> the \"n20\" Stack overflow. XML tree deeper than 20 levels ?!\r\n");
    // Going back up pops one parent at a time.
    EXPECT_EQ(file.doc.GotoParent(err, sizeof err), 1);
    EXPECT_STREQ(file.doc.GetTree()->GetCurrentParent()->name, "n18");
}

TEST(XmlTreeEmpty, EveryLookUpReportsAnEmptyFile)
{
    CXMLBufferDocument doc;
    char out[64] = "x";
    char err[256];
    const char* empty = "The XML file is empty ?!\r\nCannot find the requested node";
    EXPECT_EQ(doc.CountChildren("a", err, sizeof err), -1);
    EXPECT_STREQ(err, empty);
    EXPECT_EQ(doc.CountElements("a", "b", err, sizeof err), -1);
    EXPECT_STREQ(err, empty);
    EXPECT_EQ(doc.CountSubElements("a", "b", "c", err, sizeof err), -1);
    EXPECT_EQ(doc.GetValue("a", "b", 1, "c", out, sizeof out, err, sizeof err), 0);
    EXPECT_STREQ(err, empty);
    EXPECT_EQ(doc.GetValueSubCollection("a", "b", "c", 1, "d", out, sizeof out, err, sizeof err), -1);
    EXPECT_EQ(doc.GotoChildOfCurrentParent("a", 1, err, sizeof err), 0);
    EXPECT_STREQ(err, "The XML file is empty ?!\r\nGotoChildOfCurrentParent -> Cannot find the requested node");
    EXPECT_EQ(doc.GetValueOfCurrentChild("a", out, sizeof out, err, sizeof err), 0);
    EXPECT_STREQ(err, "The XML file is empty ?!\r\nGetValueOfCurrentChild -> cannot find the requested node");
    EXPECT_EQ(doc.SetCurrentChildAsParent(err, sizeof err), 0);
    EXPECT_STREQ(err, "The XML file is empty ?!\r\nSetCurrentChildAsParent -> Cannot find the requested node");
    EXPECT_STREQ(out, "");
}

TEST(XmlTreeLookUp, KeepsTextsWithinTheCallersBuffers)
{
    ParsedXml file(XmlFile("<content><a>" + std::string(500, 'v') + "</a></content>"));
    ASSERT_EQ(file.result, 1);
    char out[8];
    char err[12];
    std::string longTag(400, 't');
    EXPECT_EQ(file.doc.GetValue("content", longTag.c_str(), 1, "x", out, sizeof out, err, sizeof err), 0);
    EXPECT_STREQ(err, "The \"conten");
    EXPECT_EQ(file.doc.GetValue("content", longTag.c_str(), 1, "x", out, sizeof out, nullptr, 0), 0);
    EXPECT_EQ(file.doc.GetValue1("content", "a", "b", 1, "c", nullptr, 0, nullptr, 0), 0);
    EXPECT_EQ(file.doc.CountElements("content", "a", nullptr, 0), 1);
}

TEST(XmlTreeLookUp, ReadsManyRecordsInAnyOrder)
{
    const int count = 3000;
    std::string body = "<backup>";
    for (int i = 1; i <= count; ++i)
        body += "<note><id>" + std::to_string(i) + "</id><note>inner</note></note><other>x</other>";
    ParsedXml file(XmlFile(body + "</backup>"));
    ASSERT_EQ(file.result, 1);
    char err[256];
    ASSERT_EQ(file.doc.CountElements("backup", "note", err, sizeof err), count);
    for (int k : {1, 2, 3, 2999, 3000, 17, 16, 18, 1500, 1499, 1501}) {
        EXPECT_EQ(file.Value("backup", "note", k, "id"), std::to_string(k)) << k;
    }
    for (int k = 1; k <= count; ++k)
        ASSERT_EQ(file.Value("BACKUP", "Note", k, "ID"), std::to_string(k));
    EXPECT_EQ(file.Value("backup", "note", count + 1, "id"), "");
}

TEST(XmlTreeBuilding, ReportsContentForAMissingElement)
{
    MessageBoxRecorder boxes;
    CXMLTree tree(0);
    EXPECT_STREQ(tree.NameAtLevel(2), "");
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.LastText(), "The XML tree is empty\r\nCannot find last node");

    ASSERT_EQ(tree.AddRoot({XT_TAG_NAME, "root", 1, 1}, 1), 1);
    ASSERT_EQ(tree.AddChild({XT_TAG_NAME, "a", 1, 7}, 2), 1);
    tree.SetContent("lost text", 3);
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text, "lost text");
    EXPECT_EQ(boxes.Boxes()[1].caption, "Could not set content. Tag not found");
    EXPECT_EQ(tree.GetRoot()->firstChild->content, nullptr);
    EXPECT_STREQ(tree.NameAtLevel(2), "a");
    EXPECT_STREQ(tree.NameAtLevel(5), "a");
    EXPECT_STREQ(tree.RootName(), "root");
}
