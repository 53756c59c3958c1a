// The user's note styles stored in the settings table's style rows and their
// text files, the standard styles' texts, and textures found by their ids.
#include <cstring>
#include <string>

#include "foundation/bytes/NumberCodes.h"
#include "foundation/win/BackgroundPainting.h"
#include "globals/ProgramGlobals.h"
#include "store/FieldAccess.h"
#include "support/InFolder.h"
#include "support/bytes/MessageBoxRecorder.h"
#include "store/StyleStorage.h"

namespace {
BOOL WINAPI FakeGradientFill(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG)
{
    return TRUE;
}

class StyleStorage : public InFolder {
protected:
    void SetUp() override
    {
        CopyTemplate("config.QPD");
        CopyTemplate("config.QPS");
        m_gradient = GetGradientFillFunction();
        SetGradientFillFunction(&FakeGradientFill);
        for (CNoteStyle& style : UserSettings().styles)
            style = CNoteStyle();
    }
    void TearDown() override { SetGradientFillFunction(m_gradient); }

    // The n-th style row's field (rows start at record 8).
    static long RowNumber(int styleIndex, const char* field)
    {
        CSettingsTable table;
        table.Open("READ");
        table.GoTo(8 + styleIndex);
        long value = ReadNumber(table, field);
        table.Close();
        return value;
    }
    static void SetRowNumber(int styleIndex, const char* field, long value)
    {
        CSettingsTable table;
        table.Open("MAPPINGALL");
        WriteNumber(table, 8 + styleIndex, field, value);
        table.Close();
    }
    static CNoteStyle SampleStyle()
    {
        CNoteStyle style;
        style.undefined = 0;
        style.hasBorder = 1;
        style.showDate = 1;
        style.horizontalLines = 1;
        style.leftMarginKind = 0;
        style.backgroundKind = 2;
        style.plainText = 1;
        style.textureId = 1234;
        style.textureStretch = 1;
        style.transparency = 35;
        style.isProtected = 1;
        style.SetName("Meeting notes");
        style.bodyFont.lfHeight = -16;
        style.bodyFont.lfWeight = 400;
        std::strcpy(style.bodyFont.lfFaceName, "Verdana");
        style.titleFont.lfHeight = -11;
        style.titleFont.lfWeight = 700;
        std::strcpy(style.titleFont.lfFaceName, "Tahoma");
        style.textColor = 0x112233;
        style.titleTextColor = 0x445566;
        style.backgroundColor = 0x778899;
        style.titleBackgroundColor = 0xAABBCC;
        style.noteWidth = 300;
        style.noteHeight = 220;
        style.SetText("{\\rtf1 Agenda %D%C}");
        return style;
    }

    GradientFillFunction m_gradient = nullptr;
    MessageBoxRecorder m_boxes;
};
}

TEST_F(StyleStorage, AStyleRowAndItsTextFileAreWrittenAndReadBackWholeAndUndefinedOnesKeepTheirSlotEmpty)
{
    CNoteStyle (&styles)[9] = UserSettings().styles;
    const CNoteStyle sample = SampleStyle();
    styles[1] = sample;
    SaveV6Style(1);
    EXPECT_EQ(RowNumber(1, "WSAVEINT"), 312);
    EXPECT_EQ(RowNumber(1, "WLANGUAGE"), 1);
    EXPECT_EQ(Read("style2.rtf"), "{\\rtf1 Agenda %D%C}");

    styles[1] = CNoteStyle();
    LoadV6Style(1);
    EXPECT_TRUE(styles[1] == sample);
    EXPECT_EQ(styles[1].undefined, 0u);
    EXPECT_EQ(styles[1].plainText, 1u);
    EXPECT_EQ(styles[1].textureStretch, 1);
    EXPECT_EQ(styles[1].noteWidth, 300);
    EXPECT_EQ(styles[1].noteHeight, 220);

    // A program that holds the style's text file while sharing its deletion (a
    // scanner does) keeps the new text out: the old text stays whole.
    HANDLE scanner = CreateFileA(File("style2.rtf").c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                 nullptr);
    ASSERT_NE(scanner, INVALID_HANDLE_VALUE);
    styles[1].SetText("{\\rtf1 changed}");
    EXPECT_THROW(SaveV6Style(1), CGenericException);
    CloseHandle(scanner);
    EXPECT_EQ(Read("style2.rtf"), "{\\rtf1 Agenda %D%C}");
    EXPECT_FALSE(FileExists(File("style2.rtf.new")));

    // Without text the file goes, and loading keeps the text in memory.
    styles[1].SetText(nullptr);
    SaveV6Style(1);
    EXPECT_FALSE(FileExists(File("style2.rtf")));
    styles[1].SetText("kept");
    LoadV6Style(1);
    EXPECT_STREQ(styles[1].GetText(), "kept");

    // Without gradient filling a gradient reads as plain; texture and
    // transparent kinds stay.
    SetGradientFillFunction(nullptr);
    for (DWORD kind : {1u, 2u, 3u, 4u, 5u}) {
        styles[1].backgroundKind = kind;
        SaveV6Style(1);
        styles[1].backgroundKind = 99;
        LoadV6Style(1);
        EXPECT_EQ(styles[1].backgroundKind, kind >= 4 ? kind : 0u) << kind;
    }

    // An undefined style keeps its slot empty: only the background colours are
    // written, and reading such a row takes its colours and leaves the rest.
    styles[0] = SampleStyle();
    styles[0].undefined = 1;
    SaveV6Style(0);
    EXPECT_EQ(RowNumber(0, "BYBKRED"), 0x99);
    EXPECT_EQ(RowNumber(0, "TIBKBLUE"), 0xAA);
    EXPECT_EQ(RowNumber(0, "WLANGUAGE"), 0);
    EXPECT_EQ(RowNumber(0, "WSAVEINT"), 0);
    EXPECT_FALSE(FileExists(File("style1.rtf")));

    // A slot that held a style with a text is emptied as well.
    styles[2] = SampleStyle();
    SaveV6Style(2);
    ASSERT_EQ(RowNumber(2, "WLANGUAGE"), 1);
    ASSERT_TRUE(FileExists(File("style3.rtf")));
    styles[2].undefined = 1;
    SaveV6Style(2);
    EXPECT_EQ(RowNumber(2, "WLANGUAGE"), 0);
    EXPECT_FALSE(FileExists(File("style3.rtf")));

    SetRowNumber(0, "BYBKRED", 1);
    styles[0] = SampleStyle();
    LoadV6Style(0);
    EXPECT_EQ(styles[0].backgroundColor, 0x778801u);
    EXPECT_EQ(styles[0].transparency, 35);
    EXPECT_STREQ(styles[0].name, "Meeting notes");
    // Read back, the empty slot is empty in memory too, so writing the styles
    // back (as every start does) leaves its row byte for byte.
    EXPECT_EQ(styles[0].undefined, 1u);
    const std::string before = Read("config.QPD");
    SaveV6Style(0);
    EXPECT_EQ(Read("config.QPD"), before);
    EXPECT_EQ(m_boxes.Count(), 0u) << m_boxes.LastText();
}

TEST_F(StyleStorage, MissingRowsAreReportedAndMadeOneAtATime)
{
    // Leave two style rows.
    {
        CSettingsTable table;
        table.Open("MAPPINGALL");
        for (DWORD record = 10; record <= 16; ++record)
            table.DeleteRecord(record);
        table.Close();
    }
    CNoteStyle before = SampleStyle();
    UserSettings().styles[4] = before;
    LoadV6Style(4);
    EXPECT_EQ(m_boxes.LastText(), "The record storing the V6.0 style is missing ??");
    EXPECT_TRUE(UserSettings().styles[4] == before);

    EXPECT_EQ(FindConfigRecord(2, 0), 0);
    SaveV6Style(4);
    EXPECT_EQ(m_boxes.LastText(), "Error when saving the V6.0 style. Record not found??");
    // One row was added, so the third style now has its row.
    EXPECT_EQ(FindConfigRecord(2, 0), 1);
    EXPECT_EQ(FindConfigRecord(3, 0), 0);
}

namespace {
FILETIME LastWrite(const std::string& path)
{
    FILETIME written{};
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    GetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    return written;
}

void SetLastWrite(const std::string& path, FILETIME written)
{
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
}
}

TEST_F(StyleStorage, AllNineTogetherAreWrittenAndReadAsOneByOneAndAnUnchangedTextFileIsLeftAlone)
{
    CNoteStyle (&styles)[9] = UserSettings().styles;
    auto fill = [&] {
        for (int index = 0; index < 9; ++index) {
            styles[index] = SampleStyle();
            styles[index].textureId = static_cast<WORD>(index);
            styles[index].undefined = index % 3 == 1 ? 1 : 0;
        }
        styles[5].SetText(nullptr);
    };
    auto files = [&] {
        std::string all = Read("config.QPD");
        for (int index = 1; index <= 9; ++index)
            all += "|" + (FileExists(File("style" + std::to_string(index) + ".rtf"))
                              ? Read("style" + std::to_string(index) + ".rtf")
                              : std::string("none"));
        return all;
    };
    fill();
    for (int index = 0; index < 9; ++index)
        SaveV6Style(index);
    const std::string oneByOne = files();
    CopyTemplate("config.QPD");
    for (int index = 1; index <= 9; ++index)
        DeleteFileA(File("style" + std::to_string(index) + ".rtf").c_str());
    fill();
    SaveV6Styles();
    EXPECT_EQ(files(), oneByOne);

    CNoteStyle loaded[9];
    for (int index = 0; index < 9; ++index) {
        styles[index] = CNoteStyle();
        LoadV6Style(index);
        loaded[index] = styles[index];
        styles[index] = CNoteStyle();
    }
    LoadV6Styles();
    for (int index = 0; index < 9; ++index) {
        EXPECT_TRUE(styles[index] == loaded[index]) << index;
        EXPECT_EQ(styles[index].undefined, index % 3 == 1 ? 1u : 0u) << index;
        EXPECT_EQ(styles[index].textureId, index % 3 == 1 ? 0 : index) << index;
    }

    // Written back as read, a text file stays untouched; a changed text is
    // written.
    const FILETIME old{0x12345678, 0x01C00000};
    SetLastWrite(File("style3.rtf"), old);
    SaveV6Styles();
    EXPECT_EQ(LastWrite(File("style3.rtf")).dwHighDateTime, old.dwHighDateTime);
    EXPECT_EQ(LastWrite(File("style3.rtf")).dwLowDateTime, old.dwLowDateTime);
    styles[2].SetText("{\\rtf1 changed}");
    SaveV6Styles();
    EXPECT_EQ(Read("style3.rtf"), "{\\rtf1 changed}");
    EXPECT_EQ(m_boxes.Count(), 0u) << m_boxes.LastText();

    // Rows missing: loading reports each, saving makes them all.
    {
        CSettingsTable table;
        table.Open("MAPPINGALL");
        for (DWORD record = 10; record <= 16; ++record)
            table.DeleteRecord(record);
        table.Close();
    }
    LoadV6Styles();
    EXPECT_EQ(m_boxes.Count(), 7u);
    SaveV6Styles();
    EXPECT_EQ(m_boxes.Count(), 7u);
    EXPECT_EQ(FindConfigRecord(8, 0), 1);
}

TEST_F(StyleStorage, StandardStyleTextsAndTexturesComeFromTheirFiles)
{
    CNoteStyle& standard = ConfigSettings().styles[3];
    standard.SetText(nullptr);
    EXPECT_EQ(LoadStyleTextFile(3), 0);
    EXPECT_FALSE(standard.HasText());
    WriteWholeFile(File("style4.qpd"), "{\\rtf1 Standard four}");
    EXPECT_EQ(LoadStyleTextFile(3), 1);
    EXPECT_STREQ(standard.GetText(), "{\\rtf1 Standard four}");
    // A damaged file far too long for a style is cut to the longest style text.
    WriteWholeFile(File("style4.qpd"), std::string(100000, 'x'));
    EXPECT_EQ(LoadStyleTextFile(3), 1);
    EXPECT_EQ(standard.GetTextSize(), static_cast<DWORD>(CNoteStyle::kMaxTextBytes));
    EXPECT_EQ(LoadStyleTextFile(9), 0);

    // Textures are found by the hash of their names.
    CreateDirectoryA(File("TEXTURES").c_str(), nullptr);
    auto id = [](const std::string& name) {
        return static_cast<unsigned short>(ElfHash(name.data(), name.size()) % 10000);
    };
    const std::string names[3] = {"marble.BMP", "yellow.JPG", "Sky Blue.GIF"};
    for (const std::string& name : names)
        WriteWholeFile(File("TEXTURES\\" + name), "picture");
    char found[MAX_PATH] = "";
    for (const std::string& name : names) {
        ASSERT_EQ(FindTextureByNameHash(found, sizeof found, id(name)), 1) << name;
        EXPECT_EQ(std::string(found), name);
    }
    const std::string bitmap = names[0];
    EXPECT_EQ(FindTextureByNameHash(found, sizeof found, static_cast<unsigned short>((id(bitmap) + 1) % 10000)), 0);
}
