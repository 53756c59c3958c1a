#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PictureFiles.h"
#include "foundation/bytes/ImageFileHeaders.h"
#include "foundation/win/ImageFiles.h"
#include "support/TempFolder.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
unsigned Read32(const std::string& b, size_t at)
{
    unsigned value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(b[at + i]);
    return value;
}

std::string Header(const std::vector<unsigned char>& bytes)
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

// A data object that offers one metafile picture, as a note's picture does.
class MetafileObject : public IDataObject {
public:
    explicit MetafileObject(HMETAFILE metafile) : m_metafile(metafile) {}
    int requests = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        *object = (id == IID_IUnknown || id == IID_IDataObject) ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        ++requests;
        if (format->cfFormat != CF_METAFILEPICT || !(format->tymed & TYMED_MFPICT))
            return DV_E_FORMATETC;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(METAFILEPICT));
        METAFILEPICT* picture = static_cast<METAFILEPICT*>(GlobalLock(block));
        *picture = METAFILEPICT{MM_TEXT, 10, 10, CopyMetaFileA(m_metafile, nullptr)};
        GlobalUnlock(block);
        medium->tymed = TYMED_MFPICT;
        medium->hMetaFilePict = block;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    HMETAFILE m_metafile;
};

HICON MakeColorIcon(COLORREF color)
{
    HBITMAP colorBitmap = MakeBitmap(32, 32, color);
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
    EXPECT_EQ(file.substr(0, 54), Header(MakeBmpFileHeader(10, 10, 320)));
    // Rows run bottom-up, 32 bytes each, pixels as blue, green, red.
    EXPECT_EQ(file.substr(54, 3), std::string("\x00\x00\xFF", 3));
    EXPECT_EQ(file.substr(54 + 9 * 32, 3), std::string("\xFF\x00\x00", 3));
    EXPECT_EQ(file.substr(54 + 9 * 32 + 5 * 3, 3), std::string("\x00\x00\xFF", 3));

    // Extents in 0.01 mm: one inch by half an inch at 96 pixels per inch.
    std::string scaled = folder.File("scaled.bmp");
    ASSERT_TRUE(SaveBitmapAsBmpFile(nullptr, METAFILEPICT{MM_ANISOTROPIC, 2540, 1270, metafile}, scaled.c_str()));
    std::string big = ReadWholeFile(scaled);
    EXPECT_EQ(Read32(big, 18), 96u);
    EXPECT_EQ(Read32(big, 22), 48u);
    EXPECT_EQ(big.size(), 54u + 288u * 48u);

    EXPECT_FALSE(SaveBitmapAsBmpFile(nullptr, METAFILEPICT{MM_TEXT, 0, 10, metafile}, folder.File("empty.bmp").c_str()));
    EXPECT_FALSE(FileExists(folder.File("empty.bmp")));
    EXPECT_FALSE(SaveBitmapAsBmpFile(nullptr, METAFILEPICT{MM_TEXT, 10, 10, metafile},
                                     folder.File("missing\\picture.bmp").c_str()));
    DeleteMetaFile(metafile);
}

TEST(ImageFiles, PathLengthIsCheckedAgainstTheLimit)
{
    MessageBoxRecorder boxes;
    TempFolder folder;
    HMETAFILE metafile = MakeMetafile();
    MetafileObject picture(metafile);
    std::string path = folder.File("p.bmp");
    int limit = static_cast<int>(path.size());

    EXPECT_FALSE(SavePictureObjectAsBmp(nullptr, &picture, path.c_str(), limit));
    EXPECT_EQ(picture.requests, 0);
    EXPECT_EQ(boxes.LastText(), "The file path is too long (maximum 100 characters are allowed)");
    EXPECT_FALSE(FileExists(path));

    EXPECT_TRUE(SavePictureObjectAsBmp(nullptr, &picture, path.c_str(), limit + 1));
    EXPECT_EQ(picture.requests, 1);
    EXPECT_EQ(ReadWholeFile(path).size(), 374u);
    EXPECT_EQ(boxes.Count(), 1u);
    DeleteMetaFile(metafile);
}

TEST(ImageFiles, IconFilesHoldColourAndMaskRows)
{
    TempFolder folder;
    HICON icon = MakeColorIcon(RGB(0, 255, 0));
    std::string path = folder.File("note.ico");
    ASSERT_TRUE(SaveIconToFile(icon, path.c_str(), false));
    std::string file = ReadWholeFile(path);
    ASSERT_EQ(file.size(), 22u + 40u + 3072u + 128u);
    EXPECT_EQ(file.substr(0, 62), Header(MakeIconFileHeader(32, 32, 32, 24, 3072, 128)));
    EXPECT_EQ(file.substr(62, 3), std::string("\x00\xFF\x00", 3));
    EXPECT_EQ(file.substr(62 + 3072), std::string(128, '\0'));
    HANDLE loaded = LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE);
    EXPECT_NE(loaded, nullptr);
    DestroyIcon(static_cast<HICON>(loaded));

    std::string wide = folder.File("wide.ico");
    ASSERT_TRUE(SaveIconToFile(icon, wide.c_str(), true));
    std::string file32 = ReadWholeFile(wide);
    EXPECT_EQ(file32.size(), 22u + 40u + 4096u + 128u);
    EXPECT_EQ(file32.substr(0, 62), Header(MakeIconFileHeader(32, 32, 32, 32, 4096, 128)));
    DestroyIcon(icon);
}

TEST(ImageFiles, AnIconThatCannotBeSavedLeavesTheFileAlone)
{
    TempFolder folder;
    std::string path = folder.File("keep.ico");
    WriteWholeFile(path, "old icon");
    unsigned char bits[32 * 4] = {};
    HICON monochrome = CreateIcon(nullptr, 32, 32, 1, 1, bits, bits);
    ASSERT_NE(monochrome, nullptr);
    EXPECT_FALSE(SaveIconToFile(monochrome, path.c_str(), false));
    EXPECT_EQ(ReadWholeFile(path), "old icon");
    DestroyIcon(monochrome);
    EXPECT_FALSE(SaveIconToFile(nullptr, folder.File("none.ico").c_str(), false));
    EXPECT_FALSE(FileExists(folder.File("none.ico")));
}
