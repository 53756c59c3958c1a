#include <string>

#include <gtest/gtest.h>

#include "foundation/bytes/NoteColors.h"

namespace {
std::string NameOf(NoteColor color)
{
    char name[8];
    ColorToName(color, name, sizeof name);
    return name;
}

// Sets the display colour count for one test and puts the old one back.
class DisplayColors {
public:
    explicit DisplayColors(std::uint32_t count) : m_saved(GetDisplayColorCount()) { SetDisplayColorCount(count); }
    ~DisplayColors() { SetDisplayColorCount(m_saved); }

private:
    std::uint32_t m_saved;
};
}

TEST(NoteColors, NamesFollowTheRecognisedTints)
{
    EXPECT_EQ(NameOf(0x0000FF), "RED");
    EXPECT_EQ(NameOf(0x9F9FFF), "RED");
    EXPECT_EQ(NameOf(0x6F6FFF), "CUSTOM");  // the strong red is not recognised
    EXPECT_EQ(NameOf(0x6FFF6F), "GREEN");
    EXPECT_EQ(NameOf(0xFF9F9F), "BLUE");
    EXPECT_EQ(NameOf(0x6FFFFF), "YELLOW");
    EXPECT_EQ(NameOf(0x123456), "CUSTOM");
    EXPECT_TRUE(IsGreenColor(0x9FFF9F));
    EXPECT_FALSE(IsGreenColor(0x0000FF));
    EXPECT_TRUE(IsBlueColor(0xFF6F6F));
    EXPECT_TRUE(IsCustomColor(0x6F6FFF));
    EXPECT_FALSE(IsCustomColor(0x00FFFF));

    char small[4];
    ColorToName(0x00FFFF, small, sizeof small);
    EXPECT_STREQ(small, "YEL");
}

TEST(NoteColors, TintsOnlyAbove256ColoursNumberedStylesAlways)
{
    for (std::uint32_t count : {256u, 16777216u}) {
        DisplayColors display(count);
        bool tints = count > 256;
        EXPECT_EQ(ColorNameToPaleColor("RED"), tints ? 0x9F9FFFu : 0x0000FFu);
        EXPECT_EQ(ColorNameToStrongColor("GREEN"), tints ? 0x6FFF6Fu : 0x00FF00u);
        EXPECT_EQ(ColorNameToPaleColor("5"), tints ? 0xB8CCC8u : 0xB8B8B8u);
        EXPECT_EQ(ColorToStrongColor(0x0000FF), tints ? 0x6F6FFFu : 0x0000FFu);
        EXPECT_EQ(ColorToStrongColor(0x404040), 0x404040u) << "a custom colour stays";
        EXPECT_EQ(ColorNameToPaleColor("8"), 0x4A85FFu);
        EXPECT_EQ(ColorNameToStrongColor("4"), 0x808000u);
        EXPECT_EQ(ColorNameToStrongColor("8"), 0xFFDFDFu);
        for (const char* unknown : {"9", "red", "45", static_cast<const char*>(nullptr)}) {
            EXPECT_EQ(ColorNameToPaleColor(unknown), 0u);
            EXPECT_EQ(ColorNameToStrongColor(unknown), 0u);
        }
    }
}

TEST(NoteColors, BackgroundTints)
{
    EXPECT_EQ(GetBackgroundTint(0x000000), 0xA0A0A0u);
    EXPECT_EQ(GetBackgroundTint(0x404040), 0x404040u) << "a colour outside the table stays";
}
