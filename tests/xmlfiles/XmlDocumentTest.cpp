#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "support/bytes/ErrorOf.h"
#include "support/bytes/MessageBoxRecorder.h"
#include "xmlfiles/XmlDocument.h"

namespace {
const std::string kProlog = "<?xml version='1.0' encoding='Windows-1252' standalone='yes'?>\r\n";
}

TEST(XmlDocument, ReadsAFileFromDiskOrNamesItInTheErrorAndNeverReadsPastItsEnd)
{
    TempFolder folder;
    std::string path = folder.File("apps.QPD");
    WriteWholeFile(path, kProlog + "<content>\r\n   <app>\r\n      <path><![CDATA[C:\\Tools\\a.exe]]></path>\r\n"
                                   "      <noteID> 12 </noteID>\r\n   </app>\r\n</content>\r\n");
    CXMLDocument doc(path.c_str());
    ASSERT_EQ(doc.Parse(), 1) << doc.GetErrorText();
    char out[64];
    char err[256];
    EXPECT_EQ(doc.GetValue("content", "app", 1, "path", out, sizeof out, err, sizeof err), 1);
    EXPECT_STREQ(out, "C:\\Tools\\a.exe");
    // Closed, the file is no longer mapped or open: it can go, and the tree stays.
    doc.CloseFile();
    EXPECT_TRUE(DeleteFileA(path.c_str()));
    EXPECT_EQ(doc.GetValue("content", "app", 1, "noteID", out, sizeof out, err, sizeof err), 1);
    EXPECT_STREQ(out, "12");
    MessageBoxRecorder boxes;
    EXPECT_EQ(doc.Parse(), 0) << "nothing left to parse";

    std::string other = folder.File("noteman.QPD");
    WriteWholeFile(other, kProlog + "<content a=\"1\">\r\n</content>\r\n");
    CXMLDocument broken(other.c_str());
    EXPECT_EQ(broken.Parse(), 0);
    EXPECT_EQ(std::string(broken.GetErrorText()).rfind(other + ". Can't work with this XML file.", 0), 0u);

    std::string missing = folder.File("calendar.QPD");
    EXPECT_EQ(ErrorOf([&] { CXMLDocument none(missing.c_str()); }), "Open ReadOnly failed - " + missing + " - ");

    std::string empty = folder.File("webSearch.QPD");
    WriteWholeFile(empty, "");
    boxes.Clear();
    CXMLDocument nothing(empty.c_str());
    EXPECT_STREQ(nothing.GetErrorText(), "Invalid XML file ");
    EXPECT_EQ(nothing.Parse(), 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.LastText(), "No QPK file has been mentioned yet\r\n Don't know what file to parse");
    EXPECT_STREQ(nothing.GetErrorText(), "Invalid XML file ");

    // A file whose size is exactly one page ends where its mapping ends:
    // reading one byte further would fault.
    const size_t page = 4096;
    std::string whole = kProlog + "<content><a>1</a><!--";
    whole += std::string(page - whole.size() - std::string("--></content>").size(), 'x') + "--></content>";
    ASSERT_EQ(whole.size(), page);
    for (size_t cut : {page, page - 1, page - 3, page - 11, page - 13}) {
        std::string name = folder.File("page" + std::to_string(cut) + ".QPD");
        std::string text = whole.substr(0, cut);
        WriteWholeFile(name, std::string(page - text.size(), ' ') + text);
        CXMLDocument paged(name.c_str());
        EXPECT_EQ(paged.Parse(), cut == page ? 1 : 0) << cut << paged.GetErrorText();
    }
    std::string cdata = kProlog + "<content><a><![CDATA[";
    cdata += std::string(page - cdata.size() - 2, 'c') + "]]";
    WriteWholeFile(folder.File("cdata.QPD"), cdata);
    CXMLDocument cut(folder.File("cdata.QPD").c_str());
    EXPECT_EQ(cut.Parse(), 0);
    EXPECT_NE(std::string(cut.GetErrorText()).find("CDATA section not closed"), std::string::npos);
}
