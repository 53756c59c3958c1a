// The transparency steps of the Appearance page and the placeholders of a
// style text.
#include <string>

#include <gtest/gtest.h>

#include "noteprops/bytes/StylePlaceholders.h"
#include "noteprops/bytes/TransparencySteps.h"

TEST(TransparencySteps, TheSliderStopsAtTensAndFive)
{
    const int cases[][2] = {{0, 0}, {3, 0}, {4, 0}, {5, 5}, {6, 10}, {33, 30}, {35, 35}, {37, 40}, {89, 90}, {90, 90}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundTransparency(c[0]), c[1]) << c[0];
}

TEST(StylePlaceholders, FilledInOrderNeverRescannedAndAsLongAsTheyGrow)
{
    StylePlaceholderValues values;
    FillNumericPlaceholders(values, 5, 3, 2026, 9, 7);
    values.values[3] = "March";
    values.values[4] = "Mar";
    EXPECT_EQ(ExpandStylePlaceholders("%DD.%MM.%YYYY%C", values), "05.03.2026%C");
    EXPECT_EQ(ExpandStylePlaceholders("%MMMM %MMM %M %YY %HH:%MIN %H", values), "March Mar 3 26 09:07 9");
    // An empty value leaves its placeholder; a value holding a placeholder is left as it is.
    values.values[10] = "%DD";
    EXPECT_EQ(ExpandStylePlaceholders("%T %U", values), "%T %DD");
    // 4 KB of "%D" with a long date text grows well past any fixed buffer.
    values.values[13] = "Wednesday, 30 September 2026";
    std::string text;
    for (int i = 0; i < 2048; ++i)
        text += "%D";
    const std::string expanded = ExpandStylePlaceholders(text, values);
    EXPECT_EQ(expanded.size(), 2048u * 28u);
    EXPECT_GT(expanded.size(), 51200u);
    EXPECT_EQ(expanded.substr(expanded.size() - 28), "Wednesday, 30 September 2026");
}
