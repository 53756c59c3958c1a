#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/bytes/TextChecks.h"

TEST(TextChecks, LiteralsAndBlanks)
{
    EXPECT_TRUE(IsBlankText(nullptr));
    EXPECT_TRUE(IsBlankText("   "));
    EXPECT_FALSE(IsBlankText(" a "));
    EXPECT_TRUE(IsDigitsOnly("0123"));
    EXPECT_FALSE(IsDigitsOnly(""));
    EXPECT_FALSE(IsDigitsOnly("12a"));
    EXPECT_TRUE(IsHexNumberText("1Fh"));
    EXPECT_TRUE(IsHexNumberText("h"));
    EXPECT_FALSE(IsHexNumberText("1 Fh"));
    EXPECT_FALSE(IsHexNumberText("1Gh"));
    EXPECT_TRUE(IsBinaryNumberText("1010B"));
    EXPECT_FALSE(IsBinaryNumberText("1210b"));
}

TEST(TextChecks, IpAndEmailAddresses)
{
    using Rows = std::vector<std::pair<const char*, int>>;
    for (const auto& c : Rows{{"192.168.0.1", 1}, {"192.168.1", -2}, {"workstation", 0}, {"1.2.3.4.5", -2},
                              {"1234567890123456", -2}, {".1.2.3", -2}, {"1..2.3", -2}, {"a.b.c.d", 0}})
        EXPECT_EQ(CheckIpAddressText(c.first), c.second) << c.first;
    for (const auto& c : Rows{{"ann@example.com", 1}, {"mailto:ann@example.com", 1}, {"ann@b@example.com", -2},
                              {"ann@example", 0}, {"ann@example.com.", -2}, {"ann.example.com@", -2},
                              {"http://a@b.com", -2}, {"plain", 0}})
        EXPECT_EQ(CheckEmailAddressText(c.first), c.second) << c.first;
}

TEST(TextChecks, NumberFormats)
{
    char buffer[32];
    FormatDoubleTrimmed(buffer, sizeof buffer, 2.5, "%f");
    EXPECT_STREQ(buffer, "2.5");
    FormatDoubleTrimmed(buffer, sizeof buffer, 3.0, "%f");
    EXPECT_STREQ(buffer, "3");
    FormatDoubleTrimmed(buffer, sizeof buffer, 300.0, "%.0f");
    EXPECT_STREQ(buffer, "300");
    // An exponent keeps its zeros; only the mantissa's decimals are trimmed.
    const struct {
        double value;
        const char* format;
        const char* text;
    } exponents[] = {{1.5e10, "%g", "1.5e+10"}, {1.5e10, "%.3e", "1.5e+10"}, {2e-100, "%.2E", "2E-100"},
                     {1e300, "%g", "1e+300"},   {-1.25e20, "%f", "-125000000000000000000"}};
    for (const auto& e : exponents) {
        FormatDoubleTrimmed(buffer, sizeof buffer, e.value, e.format);
        EXPECT_STREQ(buffer, e.text) << e.format;
    }

    std::strcpy(buffer, "1234567.25");
    EXPECT_TRUE(InsertThousandsSeparators(buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "1,234,567.25");
    std::strcpy(buffer, "999");
    EXPECT_TRUE(InsertThousandsSeparators(buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "999");
    std::strcpy(buffer, "-1000");
    EXPECT_TRUE(InsertThousandsSeparators(buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "-1,000");

    char tight[8] = "1234567";
    EXPECT_FALSE(InsertThousandsSeparators(tight, sizeof tight));
    EXPECT_STREQ(tight, "1234567");
}
