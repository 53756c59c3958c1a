// Damaged table and memo files on disk, opened the way the program opens them.
#include <random>
#include <string>

#include "bytes/DamagedFiles.h"
#include "bytes/MemoryTable.h"
#include "foundation/bytes/GenericException.h"
#include "store/DbfFile.h"
#include "store/bytes/MemoFile.h"
#include "support/InFolder.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
class HostileFiles : public InFolder {};

void ReadEverything(CDbfFile& table)
{
    int steps = 0;
    for (table.GoTop(); !table.IsEOF() && steps < 40; table.Skip(1), ++steps)
        for (const char* field : {"WUSERID", "WLEFT", "SZTITLE", "BSTAYONTOP", "DTIMES"})
            if (table.FieldExists(field))
                table.GetStringValue(field);
}
}

TEST_F(HostileFiles, DamagedTablesOpenWithAClearErrorOrReadCorrectly)
{
    MessageBoxRecorder boxes;
    std::mt19937 random(31);
    const std::vector<unsigned char> good = GoodTableBytes();
    int opened = 0, refused = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<unsigned char> bytes = good;
        Damage(bytes, random);
        Write("notes.QPD", bytes);
        CDbfFile table;
        table.SetTable("notes.QPD", true);
        try {
            table.Open("MAPPINGALL");
            ++opened;
            ReadEverything(table);
            if (table.GetRecordCount() > 0 && table.FieldExists("SZTITLE"))
                table.SetStringValue(1, "SZTITLE", "mended");
            table.Close();
            table.Open("MAPPINGAPPEND");
            table.Close();
            table.Open("READ");
            ReadEverything(table);
        } catch (const CGenericException& e) {
            ++refused;
            EXPECT_STRNE(e.GetErrorText(), "");
        }
    }
    EXPECT_GT(opened, 30);
    EXPECT_GT(refused, 30);
}

TEST_F(HostileFiles, DamagedMemoFilesGiveAClearErrorOrTheirTexts)
{
    Write("notes.QPD", SampleTableBytes(1));
    CMemoryByteStore built(BuildEmptyMemoFile());
    for (int i = 0; i < 10; ++i) {
        std::string text(static_cast<std::size_t>(20 + i * 13), static_cast<char>('a' + i));
        CMemoFile(built, "notes.qps").Append(text.data(), static_cast<std::uint32_t>(text.size()), false);
    }
    std::mt19937 random(5);
    CDbfFile table;
    table.SetTable("notes.QPD", true);
    int read = 0, missing = 0, refused = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<unsigned char> bytes = built.Bytes();
        DamageMemoFile(bytes, random);
        Write("notes.qps", bytes);
        for (DWORD block : {8u, 9u, 11u, 30u, 0xFFFFFFFFu}) {
            try {
                DWORD offset, size, length;
                if (table.GetSizeOfMemoField(block, offset, size, length) && length < 4096) {
                    std::string text(length + 1, '\0');
                    table.ReadMemoField(&text[0], length + 1, block);
                    ++read;
                } else {
                    ++missing;
                }
            } catch (const CGenericException&) {
                ++refused;
            }
        }
        try {
            DWORD block = table.SaveTextInMemoFile("after the damage", 16);
            char text[32];
            table.ReadMemoField(text, sizeof text, block);
            EXPECT_STREQ(text, "after the damage");
        } catch (const CGenericException&) {
            ++refused;
        }
    }
    EXPECT_GT(read, 300);
    EXPECT_GT(missing + refused, 300);
}
