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

std::string FontElements(const std::string& prefix, const std::string* values, const char* skippedKey = nullptr)
{
    std::string text;
    for (int i = 0; i < 14; ++i)
        if (!skippedKey || std::string(kKeys[i]) != skippedKey)
            text += "<" + prefix + kKeys[i] + ">" + values[i] + "</" + prefix + kKeys[i] + ">";
    return text;
}

class FontXml : public ::testing::Test {
protected:
    void Write(const std::string& options)
    {
        path = folder.File("calendar.QPD");
        WriteWholeFile(path, "<?xml version='1.0'?>\r\n<content>" + options + "</content>");
    }

    TempFolder folder;
    std::string path;
    const std::string values[14] = {" -13 ", "0", "0", "0", "700", "1", "0", "1", "300", "3",
                                    "2",     "1", "34", " Tahoma with a face name far too long "};
};
}

TEST_F(FontXml, ReadsTheFourteenFieldsOfARecord)
{
    Write("<options>" + FontElements("dialogTitle", values) + "</options>");
    CXMLDocument doc(path.c_str());
    ASSERT_EQ(doc.Parse(), 1) << doc.GetErrorText();
    LOGFONTA font = {};
    ASSERT_EQ(ReadLogFontXml(&font, doc, "dialogTitle", 1, 0), 1);
    // Values are trimmed, the character set keeps its low byte, the face 31 characters.
    LOGFONTA expected = {-13, 0, 0, 0, 700, 1, 0, 1, 300 & 0xFF, 3, 2, 1, 34, "Tahoma with a face name far too"};
    EXPECT_EQ(std::memcmp(&font, &expected, sizeof font), 0) << font.lfFaceName;
}

TEST_F(FontXml, StopsAtTheFirstMissingFieldAndSaysWhich)
{
    Write("<options>" + FontElements("dialogTitle", values, "LFWEIGHT") + "</options>");
    CXMLDocument doc(path.c_str());
    ASSERT_EQ(doc.Parse(), 1);
    LOGFONTA font = {};
    font.lfWeight = 123;
    MessageBoxRecorder boxes;
    EXPECT_EQ(ReadLogFontXml(&font, doc, "dialogTitle", 1, 0), 0);
    EXPECT_EQ(font.lfHeight, -13);
    EXPECT_EQ(font.lfWeight, 123);
    EXPECT_EQ(font.lfItalic, 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.LastText(), "The \"content options dialogTitleLFWEIGHT\" field was not found");
}

TEST_F(FontXml, ReadsFromTheCurrentChild)
{
    std::string other[14];
    for (int i = 0; i < 14; ++i)
        other[i] = values[i];
    other[0] = "-16";
    other[13] = "Courier";
    Write("<options>" + FontElements("day", values) + "</options><options>" + FontElements("day", other) +
          "</options>");
    CXMLDocument doc(path.c_str());
    ASSERT_EQ(doc.Parse(), 1);
    char err[256];
    ASSERT_EQ(doc.GotoChildOfCurrentParent("options", 2, err, sizeof err), 1);
    LOGFONTA font = {};
    ASSERT_EQ(ReadLogFontXml(&font, doc, "day", 0, 1), 1);
    EXPECT_EQ(font.lfHeight, -16);
    EXPECT_STREQ(font.lfFaceName, "Courier");
}

TEST(PointSizeFromHeight, ConvertsPixelsOfTheScreenToPoints)
{
    HDC screen = GetDC(nullptr);
    int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(PointSizeFromHeight(-pixelsPerInch / 6, nullptr), 12);
    EXPECT_EQ(PointSizeFromHeight(-MulDiv(10, pixelsPerInch, 72), nullptr), 10);
    EXPECT_EQ(PointSizeFromHeight(0, nullptr), 0);
}
