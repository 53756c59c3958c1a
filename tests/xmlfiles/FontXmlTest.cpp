#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "support/bytes/MessageBoxRecorder.h"
#include "xmlfiles/FontXml.h"
#include "xmlfiles/XmlDocument.h"

namespace {
const char* const kKeys[] = {"LFHEIGHT",   "LFWIDTH",    "LFESCAPEME", "LFORIENTAT", "LFWEIGHT",
                             "LFITALIC",   "LFUNDERLIN", "LFSTRIKEOU", "LFCHARSET",  "LFOUTPRECI",
                             "LFCLIPPREC", "LFQUALITY",  "LFPITCHAND", "LFFACENAME"};
const char* const kValues[] = {" -13 ", "0", "0", "0", "700", "1", "0", "1", "300", "3",
                               "2",     "1", "34", " Tahoma with a face name far too long "};

// One "options" record of font elements named prefix + key; the first value
// and the face can be replaced, a key left out.
std::string Options(const char* height, const char* face, const char* skippedKey = nullptr)
{
    std::string text = "<options>";
    for (int i = 0; i < 14; ++i) {
        std::string name = std::string("day") + kKeys[i];
        const char* value = i == 0 ? height : i == 13 ? face : kValues[i];
        if (!skippedKey || std::strcmp(kKeys[i], skippedKey) != 0)
            text += "<" + name + ">" + value + "</" + name + ">";
    }
    return text + "</options>";
}

}

// The fourteen fields of a record, or of the cursor's current child; reading
// stops at the first missing field and says which, for the caller to report.
TEST(FontXml, ReadsTheFourteenFieldsOrStopsAtTheFirstMissingOne)
{
    TempFolder folder;
    std::string path = folder.File("calendar.QPD");
    WriteWholeFile(path, "<?xml version='1.0'?>\r\n<content>" + Options(kValues[0], kValues[13]) +
                             Options("-16", "Courier") + Options(kValues[0], kValues[13], "LFWEIGHT") + "</content>");
    CXMLDocument doc(path.c_str());
    ASSERT_EQ(doc.Parse(), 1) << doc.GetErrorText();
    LOGFONTA font = {};
    char err[256] = "";
    ASSERT_EQ(ReadLogFontXml(&font, doc, "day", 1, 0, err, sizeof err), 1);
    // Values are trimmed, the character set keeps its low byte, the face 31 characters.
    LOGFONTA expected = {-13, 0, 0, 0, 700, 1, 0, 1, 300 & 0xFF, 3, 2, 1, 34, "Tahoma with a face name far too"};
    EXPECT_EQ(std::memcmp(&font, &expected, sizeof font), 0) << font.lfFaceName;

    ASSERT_EQ(doc.GotoChildOfCurrentParent("options", 2, err, sizeof err), 1);
    ASSERT_EQ(ReadLogFontXml(&font, doc, "day", 0, 1, err, sizeof err), 1);
    EXPECT_EQ(font.lfHeight, -16);
    EXPECT_STREQ(font.lfFaceName, "Courier");

    font = LOGFONTA{};
    font.lfWeight = 123;
    MessageBoxRecorder boxes;
    EXPECT_EQ(ReadLogFontXml(&font, doc, "day", 3, 0, err, sizeof err), 0);
    EXPECT_EQ(font.lfHeight, -13);
    EXPECT_EQ(font.lfWeight, 123);
    EXPECT_EQ(font.lfItalic, 0);
    EXPECT_EQ(boxes.Count(), 0u) << "the caller reports it";
    EXPECT_STREQ(err, "The \"content options dayLFWEIGHT\" field was not found");
}
