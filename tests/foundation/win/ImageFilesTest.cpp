#include <ole2.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/PictureFiles.h"
#include "foundation/bytes/ImageFileHeaders.h"
#include "foundation/win/ImageFiles.h"
#include "support/TempFolder.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
std::string ImageFileBytes(const std::vector<unsigned char>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// A 10 by 10 metafile: red, with a blue 5 by 5 square at the top left.
HMETAFILE MakeMetafile()
{
    HDC dc = CreateMetaFileA(nullptr);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    SelectObject(dc, red);
    PatBlt(dc, 0, 0, 10, 10, PATCOPY);
    SelectObject(dc, blue);
    PatBlt(dc, 0, 0, 5, 5, PATCOPY);
    HMETAFILE metafile = CloseMetaFile(dc);
    DeleteObject(red);
    DeleteObject(blue);
    return metafile;
}

// A note's picture: OLE's data cache holding the metafile, which it then owns.
IDataObject* MakePictureObject(HMETAFILE metafile)
{
    IOleCache* cache = nullptr;
    if (FAILED(CreateDataCache(nullptr, CLSID_Picture_Metafile, IID_IOleCache, reinterpret_cast<void**>(&cache))))
        return nullptr;
    FORMATETC format = {CF_METAFILEPICT, nullptr, DVASPECT_CONTENT, -1, TYMED_MFPICT};
    DWORD connection = 0;
    STGMEDIUM medium = {};
    medium.tymed = TYMED_MFPICT;
    medium.hMetaFilePict = MakeMetafilePict(metafile, MM_TEXT, 10, 10);
    IDataObject* picture = nullptr;
    if (FAILED(cache->Cache(&format, ADVF_PRIMEFIRST, &connection)) || FAILED(cache->SetData(&format, &medium, TRUE)) ||
        FAILED(cache->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&picture))))
        picture = nullptr;
    cache->Release();
    return picture;
}

HICON MakeGreenIcon()
{
    HBITMAP colorBitmap = MakeBitmap(32, 32, RGB(0, 255, 0));
    unsigned char maskBits[32 * 4] = {};  // all 0: every pixel opaque
    HBITMAP mask = CreateBitmap(32, 32, 1, 1, maskBits);
    ICONINFO parts = {TRUE, 0, 0, mask, colorBitmap};
    HICON icon = CreateIconIndirect(&parts);
    DeleteObject(mask);
    DeleteObject(colorBitmap);
    return icon;
}
}

TEST(ImageFiles, TenByTenPictureMakesA374ByteBmp)
{
    TempFolder folder;
    std::string path = folder.File("picture.bmp");
    HMETAFILE metafile = MakeMetafile();
    ASSERT_TRUE(SaveBitmapAsBmpFile(nullptr, METAFILEPICT{MM_TEXT, 10, 10, metafile}, path.c_str()));
    std::string file = ReadWholeFile(path);
    ASSERT_EQ(file.size(), 374u);
    EXPECT_EQ(file.substr(0, 54), ImageFileBytes(MakeBmpFileHeader(10, 10, 320)));
    // Rows run bottom-up, 32 bytes each, pixels as blue, green, red.
    EXPECT_EQ(file.substr(54, 3), std::string("\x00\x00\xFF", 3));
    EXPECT_EQ(file.substr(54 + 9 * 32, 3), std::string("\xFF\x00\x00", 3));
    EXPECT_EQ(file.substr(54 + 9 * 32 + 5 * 3, 3), std::string("\x00\x00\xFF", 3));

    // Extents in 0.01 mm: one inch by half an inch at 96 pixels per inch.
    std::string scaled = folder.File("scaled.bmp");
    ASSERT_TRUE(SaveBitmapAsBmpFile(nullptr, METAFILEPICT{MM_ANISOTROPIC, 2540, 1270, metafile}, scaled.c_str()));
    std::string big = ReadWholeFile(scaled);
    EXPECT_EQ(big.size(), 54u + 288u * 48u);
    EXPECT_EQ(big.substr(0, 54), ImageFileBytes(MakeBmpFileHeader(96, 48, 288 * 48)));

    std::string empty = folder.File("empty.bmp");
    EXPECT_FALSE(SaveBitmapAsBmpFile(nullptr, METAFILEPICT{MM_TEXT, 0, 10, metafile}, empty.c_str()));
    EXPECT_FALSE(FileExists(empty));
    EXPECT_FALSE(SaveBitmapAsBmpFile(nullptr, METAFILEPICT{MM_TEXT, 10, 10, metafile},
                                     folder.File("missing\\picture.bmp").c_str()));
    DeleteMetaFile(metafile);
}

TEST(ImageFiles, ANotesPictureIsSavedWhenItsPathIsWithinTheLimit)
{
    OleInitialize(nullptr);
    MessageBoxRecorder boxes;
    TempFolder folder;
    IDataObject* picture = MakePictureObject(MakeMetafile());
    ASSERT_NE(picture, nullptr);
    std::string path = folder.File("p.bmp");
    int limit = static_cast<int>(path.size());

    EXPECT_FALSE(SavePictureObjectAsBmp(nullptr, picture, path.c_str(), limit));
    EXPECT_EQ(boxes.LastText(), "The file path is too long (maximum 100 characters are allowed)");
    EXPECT_FALSE(FileExists(path));
    EXPECT_TRUE(SavePictureObjectAsBmp(nullptr, picture, path.c_str(), limit + 1));
    EXPECT_EQ(ReadWholeFile(path).size(), 374u);
    EXPECT_EQ(boxes.Count(), 1u);
    picture->Release();
    OleUninitialize();
}

TEST(ImageFiles, IconFilesHoldColourAndMaskRowsAndFailuresLeaveNoFile)
{
    TempFolder folder;
    HICON icon = MakeGreenIcon();
    struct {
        bool thirtyTwoBits;
        int bitCount;
        unsigned colorBytes;
    } depths[] = {{false, 24, 3072}, {true, 32, 4096}};
    for (const auto& depth : depths) {
        std::string path = folder.File(depth.thirtyTwoBits ? "wide.ico" : "note.ico");
        ASSERT_TRUE(SaveIconToFile(icon, path.c_str(), depth.thirtyTwoBits));
        std::string file = ReadWholeFile(path);
        ASSERT_EQ(file.size(), 62u + depth.colorBytes + 128u);
        EXPECT_EQ(file.substr(0, 62),
                  ImageFileBytes(MakeIconFileHeader(32, 32, 32, depth.bitCount, depth.colorBytes, 128)));
        EXPECT_EQ(file.substr(62, 3), std::string("\x00\xFF\x00", 3));
        EXPECT_EQ(file.substr(62 + depth.colorBytes), std::string(128, '\0'));
        HANDLE loaded = LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE);
        EXPECT_NE(loaded, nullptr) << depth.bitCount;
        DestroyIcon(static_cast<HICON>(loaded));
    }
    DestroyIcon(icon);

    // An icon without colours cannot be saved: the file there is kept.
    std::string kept = folder.File("keep.ico");
    WriteWholeFile(kept, "old icon");
    unsigned char bits[32 * 4] = {};
    HICON monochrome = CreateIcon(nullptr, 32, 32, 1, 1, bits, bits);
    EXPECT_FALSE(SaveIconToFile(monochrome, kept.c_str(), false));
    EXPECT_EQ(ReadWholeFile(kept), "old icon");
    DestroyIcon(monochrome);
    EXPECT_FALSE(SaveIconToFile(nullptr, folder.File("none.ico").c_str(), false));
    EXPECT_FALSE(FileExists(folder.File("none.ico")));
}
