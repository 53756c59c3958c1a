#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "ParsedXml.h"

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

// Each look-up gives "result = value" when it found the value, else
// "result ! error text".
class XmlTree : public ::testing::Test {
protected:
    XmlTree() { EXPECT_EQ(file.result, 1) << file.doc.GetErrorText(); }

    std::string Seen(int result) const
    {
        return std::to_string(result) + (result > 0 ? " = " + std::string(out) : " ! " + std::string(err));
    }
    std::string Value(const char* root, const char* child, int k, const char* field)
    {
        return Seen(doc.GetValue(root, child, k, field, out, sizeof out, err, sizeof err));
    }
    std::string Value1(const char* root, const char* child, const char* sub, int k, const char* field)
    {
        return Seen(doc.GetValue1(root, child, sub, k, field, out, sizeof out, err, sizeof err));
    }
    std::string Value2(const char* root, const char* child, const char* sub, const char* subSub, int k,
                       const char* field)
    {
        return Seen(doc.GetValue2(root, child, sub, subSub, k, field, out, sizeof out, err, sizeof err));
    }
    std::string InCollection(const char* root, const char* child, const char* sub, int k, const char* field)
    {
        return Seen(doc.GetValueSubCollection(root, child, sub, k, field, out, sizeof out, err, sizeof err));
    }
    std::string OfCurrentChild(const char* tag)
    {
        return Seen(doc.GetValueOfCurrentChild(tag, out, sizeof out, err, sizeof err));
    }
    std::string Moved(int result) const { return result ? "moved" : err; }

    ParsedXml file{kNoteManager};
    CXMLBufferDocument& doc = file.doc;
    char out[256] = "unchanged";
    char err[256] = "";
};
}

TEST_F(XmlTree, CountsElementsAndReadsValuesByPath)
{
    EXPECT_EQ(doc.CountElements("content", "options", err, sizeof err), 2);
    EXPECT_EQ(doc.CountElements("content", "nothing", err, sizeof err), 0);
    EXPECT_EQ(doc.CountElements("group", "id", err, sizeof err), -1);
    EXPECT_STREQ(err, "The \"group\" tag was not found");

    EXPECT_EQ(doc.CountSubElements("content", "options", "column", err, sizeof err), 2);
    EXPECT_EQ(doc.CountSubElements("content", "group", "column", err, sizeof err), 0);
    EXPECT_EQ(doc.CountSubElements("notes", "options", "column", err, sizeof err), -1);
    EXPECT_STREQ(err, "The notes tag was not found ");
    EXPECT_EQ(doc.CountSubElements("content", "style", "column", err, sizeof err), -1);
    EXPECT_STREQ(err, "The content style tag is missing");

    EXPECT_EQ(Value("content", "options", 2, "userID"), "1 = 5");
    EXPECT_EQ(Value("Content", "OPTIONS", 1, "userid"), "1 = 3");
    EXPECT_EQ(Value("content", "options", 3, "userID"), "0 ! The \"content options\" tag was not found");
    EXPECT_STREQ(out, "");
    EXPECT_EQ(Value("content", "options", 2, "sortColumn"),
              "0 ! The \"content options sortColumn\" field was not found");
    EXPECT_EQ(Value("calendar", "options", 1, "userID"), "0 ! The \"calendar\" tag was not found");
    // An element with children but no text reads as empty.
    EXPECT_EQ(Value("content", "group", 1, "hotkey"), "1 = ");
    // A value longer than the caller's buffer is cut and still found.
    char small[4];
    EXPECT_EQ(doc.GetValue("content", "group", 1, "name", small, sizeof small, err, sizeof err), 1);
    EXPECT_STREQ(small, "All");

    EXPECT_EQ(Value1("content", "group", "hotkey", 1, "key"), "1 = 71");
    EXPECT_EQ(Value1("content", "group", "alarm", 1, "key"), "0 ! The \"content group alarm\" field was not found");
    // Asked for its length only, the value is not copied.
    int length = -1;
    std::strcpy(out, "kept");
    EXPECT_EQ(doc.GetValue1("content", "group", "hotkey", 1, "key", out, sizeof out, err, sizeof err, &length), 1);
    EXPECT_EQ(length, 2);
    EXPECT_STREQ(out, "kept");

    EXPECT_EQ(Value2("content", "group", "hotkey", "mods", 1, "ctrl"), "1 = 1");
    EXPECT_EQ(Value2("notes", "group", "hotkey", "mods", 1, "ctrl"), "-1 ! The \"notes\" tag was not found");
    EXPECT_EQ(Value2("content", "group", "hotkey", "mods", 1, "alt"),
              "0 ! The \"content group hotkey mods alt\" field was not found");
    EXPECT_EQ(Value2("content", "group", "hotkey", "mods", 9, "alt"), "0 ! The \"content group\" field was not found");

    EXPECT_EQ(InCollection("content", "options", "column", 2, "text"), "1 = Title");
    EXPECT_EQ(InCollection("content", "options", "column", 3, "text"),
              "0 ! The \"content\" \"options\" \"column\" tag was not found");
    EXPECT_EQ(InCollection("content", "options", "column", 1, "width"),
              "0 ! The \"content\"  \"options\" \"width\" tag was not found");
}

TEST_F(XmlTree, WalksSubRecordsWithTheCursor)
{
    EXPECT_EQ(Moved(doc.GotoChildOfCurrentParent("options", 1, err, sizeof err)), "moved");
    EXPECT_EQ(Moved(doc.SetCurrentChildAsParent(err, sizeof err)), "moved");
    EXPECT_EQ(doc.CountChildren("column", err, sizeof err), 2);
    EXPECT_EQ(Moved(doc.GotoChildOfCurrentParent("column", 2, err, sizeof err)), "moved");
    EXPECT_EQ(OfCurrentChild("text"), "1 = Title");
    EXPECT_EQ(OfCurrentChild("width"),
              "0 ! GetValueOfCurrentChild -> the \"width\" tag was not found as a member of the current tag??");
    EXPECT_EQ(Moved(doc.GotoChildOfCurrentParent("column", 3, err, sizeof err)),
              "GotoChildOfCurrentParent -> the \"column\" tag was not found");

    EXPECT_EQ(Moved(doc.GotoParent(err, sizeof err)), "moved");
    EXPECT_EQ(doc.CountChildren("options", err, sizeof err), 2);
    EXPECT_EQ(Moved(doc.GotoChildOfCurrentParent("options", 2, err, sizeof err)), "moved");
    EXPECT_EQ(OfCurrentChild("userID"), "1 = 5");
    std::strcpy(err, "untouched");
    EXPECT_EQ(Moved(doc.GotoParent(err, sizeof err)), "untouched");
    EXPECT_EQ(doc.GetTree()->GetCurrentParent(), doc.GetTree()->GetRoot());

    // Into a leaf: it has no children to read or to descend to.
    ASSERT_EQ(Moved(doc.SetCurrentChildAsParent(err, sizeof err)), "moved");
    ASSERT_EQ(Moved(doc.GotoChildOfCurrentParent("userID", 1, err, sizeof err)), "moved");
    EXPECT_EQ(OfCurrentChild("x"), "0 ! GetValueOfCurrentChild -> the \"x\" tag was not found\r\n"
                                   " The current tag has no children?? ");
    EXPECT_EQ(Moved(doc.SetCurrentChildAsParent(err, sizeof err)),
              "The current node has no children\r\nSetCurrentChildAsParent has nothing to do.");
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

TEST(XmlTreeLookUp, FindsNothingInNoTreeOrALoneRootAndKeepsWithinTheCallersBuffers)
{
    CXMLBufferDocument doc;
    char out[64] = "x";
    char err[256];
    const std::string empty = "The XML file is empty ?!\r\n";
    EXPECT_EQ(doc.CountElements("a", "b", err, sizeof err), -1);
    EXPECT_EQ(err, empty + "Cannot find the requested node");
    EXPECT_EQ(doc.GetValue("a", "b", 1, "c", out, sizeof out, err, sizeof err), 0);
    EXPECT_EQ(err, empty + "Cannot find the requested node");
    EXPECT_STREQ(out, "");
    EXPECT_EQ(doc.GetValueSubCollection("a", "b", "c", 1, "d", out, sizeof out, err, sizeof err), -1);
    EXPECT_EQ(doc.GotoChildOfCurrentParent("a", 1, err, sizeof err), 0);
    EXPECT_EQ(err, empty + "GotoChildOfCurrentParent -> Cannot find the requested node");
    EXPECT_EQ(doc.SetCurrentChildAsParent(err, sizeof err), 0);

    ParsedXml lone(XmlFile("<content></content>"));
    EXPECT_EQ(lone.doc.GotoChildOfCurrentParent("options", 1, err, sizeof err), 0);
    EXPECT_STREQ(err, "The current parent has no children\r\nGotoChildOfCurrentParent has nothing to do.");
    EXPECT_EQ(lone.doc.CountChildren("options", err, sizeof err), 0);
    EXPECT_EQ(lone.doc.CountElements("content", "options", err, sizeof err), 0);
    EXPECT_EQ(lone.Value("content", "options", 1, "userID"), "");

    ParsedXml file(XmlFile("<content><a>" + std::string(500, 'v') + "</a></content>"));
    ASSERT_EQ(file.result, 1);
    char small[12];
    std::string longTag(400, 't');
    EXPECT_EQ(file.doc.GetValue("content", longTag.c_str(), 1, "x", out, 8, small, sizeof small), 0);
    EXPECT_STREQ(small, "The \"conten");
    EXPECT_EQ(file.doc.GetValue("content", longTag.c_str(), 1, "x", out, 8, nullptr, 0), 0);
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
    for (int k : {1, 2, 3, 2999, 3000, 17, 16, 18, 1500, 1499, 1501})
        EXPECT_EQ(file.Value("backup", "note", k, "id"), std::to_string(k)) << k;
    for (int k = 1; k <= count; ++k)
        ASSERT_EQ(file.Value("BACKUP", "Note", k, "ID"), std::to_string(k));
    EXPECT_EQ(file.Value("backup", "note", count + 1, "id"), "");
}
