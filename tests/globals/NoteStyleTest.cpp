// The note style record and the nine standard styles.
#include <windows.h>

#include <cstring>

#include <gtest/gtest.h>

#include "foundation/bytes/NoteColors.h"
#include "foundation/win/BackgroundPainting.h"
#include "globals/NoteStyle.h"

namespace {
BOOL WINAPI StyleGradientFill(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG)
{
    return TRUE;
}

// The display and the gradient filling that the standard styles depend on.
class StandardStyles : public testing::Test {
protected:
    void SetUp() override { m_gradient = GetGradientFillFunction(); }
    void TearDown() override
    {
        SetGradientFillFunction(m_gradient);
        SetDisplayColorCount(0);
    }
    static NoteStyleBase Base()
    {
        NoteStyleBase base = {};
        base.hasBorder = 0;
        base.showDate = 1;
        base.textColor = 0x102030;
        base.titleTextColor = 0x405060;
        base.bodyFont.lfHeight = -13;
        std::strcpy(base.bodyFont.lfFaceName, "Tahoma");
        base.titleFont.lfWeight = 700;
        base.title = "Standard";
        base.noteWidth = 200;
        base.noteHeight = 150;
        return base;
    }

    GradientFillFunction m_gradient = nullptr;
};

struct Expected {
    COLORREF body, bodyFew, title, titleFew, titleText;
    DWORD border, backgroundKind, leftMargin, lines;
};
// Title texts 0x405060 are the base's; border, kinds and margins accumulate.
const Expected kExpected[9] = {
    {0x9F9FFF, 0x0000FF, 0x6F6FFF, 0x0000FF, 0x405060, 0, 0, 0, 0},
    {0x9FFF9F, 0x00FF00, 0x6FFF6F, 0x00FF00, 0x405060, 0, 0, 0, 0},
    {0xFF9F9F, 0xFF0000, 0xFF6F6F, 0xFF0000, 0x405060, 0, 0, 0, 0},
    {0x9FFFFF, 0x00FFFF, 0x6FFFFF, 0x00FFFF, 0x405060, 0, 0, 0, 0},
    {0xB8CCC8, 0xB8B8B8, 0x808000, 0x808000, 0x00FFFF, 1, 0, 0, 0},
    {0xB8CCC8, 0xB8B8B8, 0x00FF00, 0x00FF00, 0x000000, 1, 1, 0, 0},
    {0xB8CCC8, 0xB8B8B8, 0x6000C8, 0x6000C8, 0xFFFFFF, 1, 2, 1, 0},
    {0xB8CCC8, 0xB8B8B8, 0x4141FE, 0x4141FE, 0x00FFFF, 1, 3, 0, 1},
    {0x4A85FF, 0x4A85FF, 0xFFDFDF, 0xFFDFDF, 0x000000, 1, 1, 0, 0},
};
}

TEST_F(StandardStyles, NineStylesOnEveryKindOfDisplay)
{
    for (bool manyColours : {true, false}) {
        for (bool gradients : {true, false}) {
            SetDisplayColorCount(manyColours ? 1u << 24 : 256);
            SetGradientFillFunction(gradients ? &StyleGradientFill : nullptr);
            CNoteStyle styles[9];
            BuildStandardNoteStyles(styles, Base());
            for (int i = 0; i < 9; ++i) {
                const Expected& e = kExpected[i];
                const CNoteStyle& s = styles[i];
                SCOPED_TRACE(testing::Message() << "style " << i + 1 << " many colours " << manyColours
                                                << " gradients " << gradients);
                EXPECT_EQ(s.backgroundColor, manyColours ? e.body : e.bodyFew);
                EXPECT_EQ(s.titleBackgroundColor, manyColours ? e.title : e.titleFew);
                EXPECT_EQ(s.titleTextColor, e.titleText);
                EXPECT_EQ(s.hasBorder, e.border);
                EXPECT_EQ(s.backgroundKind, gradients ? e.backgroundKind : 0u);
                EXPECT_EQ(s.leftMarginKind, e.leftMargin);
                EXPECT_EQ(s.horizontalLines, e.lines);
                EXPECT_EQ(s.textColor, 0x102030u);
                EXPECT_EQ(s.showDate, 1u);
                EXPECT_STREQ(s.name, "Standard");
                EXPECT_STREQ(s.bodyFont.lfFaceName, "Tahoma");
                EXPECT_EQ(s.noteWidth, 200);
                EXPECT_EQ(s.undefined, 0u);
                EXPECT_FALSE(s.HasText());
            }
        }
    }
}

TEST_F(StandardStyles, TheBasesLinesMarginBackgroundAndTransparencyCarryOnUntilAStyleChangesThem)
{
    SetDisplayColorCount(1u << 24);
    SetGradientFillFunction(&StyleGradientFill);
    NoteStyleBase base = Base();
    base.horizontalLines = 1;
    base.plainText = 1;
    base.leftMarginKind = 2;
    base.backgroundKind = 4;
    base.textureId = 1234;
    base.transparency = 30;
    CNoteStyle styles[9];
    BuildStandardNoteStyles(styles, base);
    // Background kind, margin kind and lines of each style.
    const DWORD expected[9][3] = {{4, 2, 1}, {4, 2, 1}, {4, 2, 1}, {4, 2, 1}, {4, 2, 1},
                                  {1, 2, 1}, {2, 1, 1}, {3, 0, 1}, {1, 0, 0}};
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(testing::Message() << "style " << i + 1);
        EXPECT_EQ(styles[i].backgroundKind, expected[i][0]);
        EXPECT_EQ(styles[i].leftMarginKind, expected[i][1]);
        EXPECT_EQ(styles[i].horizontalLines, expected[i][2]);
        EXPECT_EQ(styles[i].plainText, 1u);
        EXPECT_EQ(styles[i].textureId, 1234);
        EXPECT_EQ(styles[i].textureStretch, 0);
        EXPECT_EQ(styles[i].transparency, 30);
    }
}

TEST(NoteStyle, CopiesOwnTheirTextAndCompareByLook)
{
    CNoteStyle empty;
    EXPECT_EQ(empty.undefined, 1u);
    EXPECT_EQ(empty.GetText(), nullptr);
    EXPECT_STREQ(empty.name, "");
    CNoteStyle emptyCopy(empty);
    EXPECT_TRUE(emptyCopy == empty);
    EXPECT_EQ(emptyCopy.undefined, 1u);

    CNoteStyle style;
    style.SetName("A name far longer than twenty-five characters");
    EXPECT_STREQ(style.name, "A name far longer than tw");
    style.SetText("{\\rtf1 %DD.%MM.%YYYY%C}");
    EXPECT_EQ(style.GetTextSize(), std::strlen("{\\rtf1 %DD.%MM.%YYYY%C}") + 1);
    style = style;  // self-assignment keeps the text
    EXPECT_STREQ(style.GetText(), "{\\rtf1 %DD.%MM.%YYYY%C}");

    CNoteStyle copy;
    copy = style;
    EXPECT_NE(copy.GetText(), style.GetText());
    EXPECT_TRUE(copy == style);
    style.SetText(nullptr);
    EXPECT_STREQ(copy.GetText(), "{\\rtf1 %DD.%MM.%YYYY%C}");
    EXPECT_FALSE(copy == style);

    // Roll up, plain text, stretch and size take no part; names and texts ignore case.
    style = copy;
    style.rollUp = 1;
    style.plainText = 1;
    style.textureStretch = 1;
    style.noteWidth = 999;
    style.SetName("A NAME FAR LONGER THAN TW");
    style.SetText("{\\RTF1 %dd.%mm.%yyyy%c}");
    EXPECT_TRUE(style == copy);
    style.transparency = 20;
    EXPECT_FALSE(style == copy);
    style = copy;
    style.bodyFont.lfWeight = 700;
    EXPECT_FALSE(style == copy);

    // An empty text is no text.
    style.SetText("");
    EXPECT_FALSE(style.HasText());
    style.SetTextBytes("abc", 3);
    EXPECT_STREQ(style.GetText(), "abc");
}
