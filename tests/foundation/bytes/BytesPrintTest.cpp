// A print tells runs of pieces apart by their bytes, their order and where
// one piece ends, and gives the same text for the same pieces.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/bytes/BytesPrint.h"

namespace {
std::string PrintOf(const std::vector<std::string>& pieces)
{
    CBytesPrint print;
    for (const std::string& piece : pieces)
        print.Add(piece);
    return print.Text("pieces");
}
}

TEST(BytesPrint, TellsPiecesApartByBytesOrderAndWhereEachEnds)
{
    EXPECT_EQ(PrintOf({"config", "users"}), PrintOf({"config", "users"}));
    EXPECT_EQ(PrintOf({}).rfind("0 pieces, 0 bytes, ", 0), 0u) << PrintOf({});
    EXPECT_EQ(PrintOf({"ab", "c"}).rfind("2 pieces, 3 bytes, ", 0), 0u) << PrintOf({"ab", "c"});
    const std::vector<std::vector<std::string>> others = {
        {"config", "users"}, {"users", "config"}, {"configu", "sers"}, {"config", "user"},
        {"config", "users", ""}, {std::string("config\0", 7), "users"}, {"Config", "users"}};
    for (size_t i = 0; i < others.size(); ++i)
        for (size_t j = i + 1; j < others.size(); ++j)
            EXPECT_NE(PrintOf(others[i]), PrintOf(others[j])) << i << " " << j;
}
