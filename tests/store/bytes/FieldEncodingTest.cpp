#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "store/bytes/FieldEncoding.h"

namespace {
std::string Integer(std::int32_t value, bool coordinate, std::size_t width)
{
    std::string field(width, '#');
    std::string overflow;
    if (!WriteIntegerField(value, coordinate, reinterpret_cast<unsigned char*>(&field[0]), width, overflow))
        return "overflow:" + overflow;
    return field;
}

std::int32_t ReadCoordinate(const std::string& field)
{
    return ReadCoordinateField(reinterpret_cast<const unsigned char*>(field.data()), field.size());
}

std::int32_t ReadInteger(const std::string& field)
{
    return ReadIntegerField(reinterpret_cast<const unsigned char*>(field.data()), field.size());
}

std::string Double(double value, std::size_t width)
{
    std::string field(width, '#');
    std::string overflow;
    if (!WriteDoubleField(value, reinterpret_cast<unsigned char*>(&field[0]), width, overflow))
        return "overflow:" + overflow;
    return field;
}
}

TEST(FieldEncoding, CoordinatesBelowMinus999TakeTheHexadecimalForm)
{
    EXPECT_EQ(Integer(-1000, true, 5), std::string("3e8H\0", 5));
    EXPECT_EQ(Integer(-2748, true, 5), std::string("abcH\0", 5));
    EXPECT_EQ(Integer(-4000, true, 5), std::string("fa0H\0", 5));
    EXPECT_EQ(Integer(-4001, true, 6), std::string("3e8H\0\0", 6));
    EXPECT_EQ(Integer(-30000, true, 5), std::string("3e8H\0", 5));
    EXPECT_EQ(Integer(-999, true, 5), " -999");
    EXPECT_EQ(Integer(-1000, false, 6), " -1000");

    EXPECT_EQ(ReadCoordinate(std::string("3e8H\0", 5)), -1000);
    EXPECT_EQ(ReadCoordinate(std::string("abcH\0", 5)), -2748);
    EXPECT_EQ(ReadCoordinate(std::string("fa0H\0", 5)), -4000);
    EXPECT_EQ(ReadCoordinate(" -999"), -999);
    EXPECT_EQ(ReadCoordinate("  120"), 120);
    // Only a text of exactly four characters ending in H is the hexadecimal form.
    EXPECT_EQ(ReadCoordinate("3e8H5"), 3);
    EXPECT_EQ(ReadCoordinate(std::string("zzzH\0", 5)), 0);
    EXPECT_EQ(ReadInteger(std::string("3e8H\0", 5)), 3);
}

TEST(FieldEncoding, IntegersAreRightAlignedAndReadLeniently)
{
    EXPECT_EQ(Integer(42, false, 5), "   42");
    EXPECT_EQ(Integer(-42, false, 3), "-42");
    EXPECT_EQ(Integer(123456, false, 5), "overflow:123456");
    EXPECT_EQ(Integer(-1000, true, 3), "overflow:3e8H");

    EXPECT_EQ(ReadInteger("     "), 0);
    EXPECT_EQ(ReadInteger("  -12x4"), -12);
    EXPECT_EQ(ReadInteger(" +7  "), 7);
    EXPECT_EQ(ReadInteger("x12"), 0);
    EXPECT_EQ(ReadInteger("99999999999999999999"), 2147483647);
    EXPECT_EQ(ReadInteger("-99999999999999999999"), -2147483647 - 1);
}

TEST(FieldEncoding, LogicalFieldsLookAtTheFirstByteOnly)
{
    for (const char* yes : {"T", "Y", "?", "t", "1"})
        EXPECT_TRUE(ReadLogicalField(reinterpret_cast<const unsigned char*>(yes), 1)) << yes;
    for (const char* no : {"F", " ", "FT"})
        EXPECT_FALSE(ReadLogicalField(reinterpret_cast<const unsigned char*>(no), std::strlen(no))) << no;
}

TEST(FieldEncoding, DoublesKeepAsManyDigitsAsFit)
{
    EXPECT_EQ(Double(5.0, 6), "     5");
    EXPECT_EQ(Double(4.5, 6), "   4.5");
    EXPECT_EQ(Double(3.14159265358979, 8), "3.141593");
    // Too wide for all its digits: fewer significant digits, never a 1.
    EXPECT_EQ(Double(123456789.0, 8), "1.23e+08");
    EXPECT_EQ(Double(-1234567.0, 6), "-1e+06");
    EXPECT_EQ(Double(1e300, 4), "overflow:1e+300");
    EXPECT_DOUBLE_EQ(ReadDoubleField(reinterpret_cast<const unsigned char*>("1.23e+08"), 8), 1.23e8);
    EXPECT_DOUBLE_EQ(ReadDoubleField(reinterpret_cast<const unsigned char*>("     "), 5), 0.0);
}

TEST(FieldEncoding, OnlyFiniteNumbersAreStoredAndTheyReadBackFinite)
{
    EXPECT_EQ(Double(std::numeric_limits<double>::quiet_NaN(), 8), "overflow:nan");
    EXPECT_EQ(Double(HUGE_VAL, 8), "overflow:inf");
    EXPECT_EQ(Double(-HUGE_VAL, 20), "overflow:-inf");

    // Rounded to the width, the largest doubles would read back as infinity.
    EXPECT_EQ(Double(DBL_MAX, 8), "1.7e+308");
    EXPECT_EQ(Double(-DBL_MAX, 9), "-1.7e+308");
    EXPECT_EQ(Double(9.7e307, 6), "1e+308") << "far enough below the largest double to round";
    for (double value : {DBL_MAX, -DBL_MAX, std::nextafter(DBL_MAX, 0.0), 1.7976931348e308})
        for (std::size_t width = 7; width <= 30; ++width) {
            std::string field = Double(value, width);
            ASSERT_EQ(field.size(), width) << field;
            double read = ReadDoubleField(reinterpret_cast<const unsigned char*>(field.data()), width);
            EXPECT_TRUE(std::isfinite(read)) << field;
            EXPECT_LT(std::fabs(read - value) / DBL_MAX, 0.5) << field;
        }
    EXPECT_EQ(Double(DBL_MAX, 30), "       1.7976931348623157e+308");
}
