#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "store/bytes/FieldEncoding.h"

namespace {
const unsigned char* Bytes(const std::string& field)
{
    return reinterpret_cast<const unsigned char*>(field.data());
}

std::string Integer(std::int32_t value, bool coordinate, std::size_t width)
{
    std::string field(width, '#');
    std::string overflow;
    if (!WriteIntegerField(value, coordinate, reinterpret_cast<unsigned char*>(&field[0]), width, overflow))
        return "overflow:" + overflow;
    return field;
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

TEST(FieldEncoding, IntegersAndCoordinatesAreWrittenAndReadLeniently)
{
    // Coordinates below -999 take the hexadecimal form; other integers are right-aligned.
    const struct {
        std::int32_t value;
        bool coordinate;
        std::size_t width;
        std::string field;
    } writes[] = {
        {-1000, true, 5, std::string("3e8H\0", 5)},    {-2748, true, 5, std::string("abcH\0", 5)},
        {-4000, true, 5, std::string("fa0H\0", 5)},    {-4001, true, 6, std::string("3e8H\0\0", 6)},
        {-30000, true, 5, std::string("3e8H\0", 5)},   {-999, true, 5, " -999"},
        {-1000, false, 6, " -1000"},                   {42, false, 5, "   42"},
        {-42, false, 3, "-42"},                        {123456, false, 5, "overflow:123456"},
        {-1000, true, 3, "overflow:3e8H"},            {0, false, 3, "  0"},
        {-2147483647 - 1, false, 11, "-2147483648"},   {2147483647, false, 11, " 2147483647"},
        {-2147483647 - 1, false, 10, "overflow:-2147483648"}, {-5, true, 3, " -5"},
        {-2147483647 - 1, true, 4, std::string("3e8H", 4)},
    };
    for (const auto& w : writes)
        EXPECT_EQ(Integer(w.value, w.coordinate, w.width), w.field) << w.value;

    // Only a text of exactly four characters ending in H is the hexadecimal form.
    const struct {
        std::string field;
        std::int32_t coordinate, integer;
    } reads[] = {
        {std::string("3e8H\0", 5), -1000, 3}, {std::string("abcH\0", 5), -2748, 0},
        {std::string("fa0H\0", 5), -4000, 0}, {" -999", -999, -999},
        {"  120", 120, 120},                   {"3e8H5", 3, 3},
        {std::string("zzzH\0", 5), 0, 0},      {"     ", 0, 0},
        {"  -12x4", -12, -12},                 {" +7  ", 7, 7},
        {"x12", 0, 0},                         {"99999999999999999999", 2147483647, 2147483647},
        {"-99999999999999999999", -2147483647 - 1, -2147483647 - 1},
    };
    for (const auto& r : reads) {
        EXPECT_EQ(ReadCoordinateField(Bytes(r.field), r.field.size()), r.coordinate) << r.field;
        EXPECT_EQ(ReadIntegerField(Bytes(r.field), r.field.size()), r.integer) << r.field;
    }

    // Logical fields look at the first byte only.
    for (const char* yes : {"T", "Y", "?", "t", "1"})
        EXPECT_TRUE(ReadLogicalField(Bytes(yes), 1)) << yes;
    for (const char* no : {"F", " ", "FT"})
        EXPECT_FALSE(ReadLogicalField(Bytes(no), std::strlen(no))) << no;
}

TEST(FieldEncoding, DoublesKeepAsManyDigitsAsFitAndOnlyFiniteOnesAreStored)
{
    const struct {
        double value;
        std::size_t width;
        const char* field;
    } writes[] = {
        {5.0, 6, "     5"},
        {4.5, 6, "   4.5"},
        {3.14159265358979, 8, "3.141593"},
        // Too wide for all its digits: fewer significant digits, never a 1.
        {123456789.0, 8, "1.23e+08"},
        {-1234567.0, 6, "-1e+06"},
        {1e300, 4, "overflow:1e+300"},
        {std::numeric_limits<double>::quiet_NaN(), 8, "overflow:nan"},
        {HUGE_VAL, 8, "overflow:inf"},
        {-HUGE_VAL, 20, "overflow:-inf"},
        // Rounded to the width, the largest doubles would read back as infinity.
        {DBL_MAX, 8, "1.7e+308"},
        {-DBL_MAX, 9, "-1.7e+308"},
        {9.7e307, 6, "1e+308"},  // far enough below the largest double to round
        {DBL_MAX, 30, "       1.7976931348623157e+308"},
    };
    for (const auto& w : writes)
        EXPECT_EQ(Double(w.value, w.width), w.field) << w.value;
    EXPECT_DOUBLE_EQ(ReadDoubleField(Bytes("1.23e+08"), 8), 1.23e8);
    EXPECT_DOUBLE_EQ(ReadDoubleField(Bytes("     "), 5), 0.0);

    for (double value : {DBL_MAX, -DBL_MAX, std::nextafter(DBL_MAX, 0.0), 1.7976931348e308})
        for (std::size_t width = 7; width <= 30; ++width) {
            std::string field = Double(value, width);
            ASSERT_EQ(field.size(), width) << field;
            double read = ReadDoubleField(Bytes(field), width);
            EXPECT_TRUE(std::isfinite(read)) << field;
            EXPECT_LT(std::fabs(read - value) / DBL_MAX, 0.5) << field;
        }
}
