#include <windows.h>

#include <gtest/gtest.h>

#include "support/PictureFiles.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/win/BitmapHelpers.h"
#include "foundation/win/TransparentBitmap.h"
#include "support/bytes/ErrorOf.h"

namespace {
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGrey = RGB(192, 192, 192);

// Left half red, right half grey.
HBITMAP TwoColourBitmap(int width, int height)
{
    return MakeBitmap(width, height, kGrey, RECT{0, 0, width / 2, height}, kRed);
}
}

TEST(BitmapHelpers, CopyReplaceAndDraw)
{
    CBitmapHolder original(TwoColourBitmap(10, 6));
    CBitmapHolder copy(CopyBitmap(original.Get()));
    ASSERT_NE(copy.Get(), nullptr);
    EXPECT_EQ(PixelOf(copy.Get(), 0, 0), kRed);
    EXPECT_EQ(PixelOf(copy.Get(), 9, 5), kGrey);

    ReplaceBitmapColor(copy.Get(), kGrey, kBlue);
    EXPECT_EQ(PixelOf(copy.Get(), 9, 5), kBlue);
    EXPECT_EQ(PixelOf(copy.Get(), 0, 5), kRed);
    EXPECT_EQ(PixelOf(original.Get(), 9, 5), kGrey) << "the copy is a bitmap of its own";

    Canvas target(30, 30);
    DrawBitmapAt(target.Dc(), original.Get(), 5, 5);
    EXPECT_EQ(target.At(5, 5), kRed);
    EXPECT_EQ(target.At(14, 10), kGrey);
    EXPECT_EQ(target.At(15, 11), RGB(255, 255, 255));

    Canvas transparent(30, 30);
    DrawTransparentBitmap(transparent.Dc(), original.Get(), 10, 10, kGrey);
    EXPECT_EQ(transparent.At(10, 10), kRed);
    EXPECT_EQ(transparent.At(19, 15), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(original.Get(), 9, 5), kGrey) << "the source is left as it was";
}

TEST(BitmapHelpers, ABitmapSelectedElsewhereCannotBeConnected)
{
    CBitmapHolder bitmap(TwoColourBitmap(4, 4));
    CCompatibleDC first(nullptr);
    CCompatibleDC second(nullptr);
    CBitmapConnector selected(first.GetHandle(), bitmap.Get());
    // A bitmap lives in one device context at a time.
    EXPECT_EQ(ErrorOf([&] { CBitmapConnector again(second.GetHandle(), bitmap.Get()); }),
              "CBitmapConnector constructor failed. The bitmap is already selected in another device context. ");
    selected.Restore();
    EXPECT_EQ(ErrorOf([&] { CBitmapConnector again(second.GetHandle(), bitmap.Get()); }), "");
}

TEST(BitmapHelpers, AClipboardMetafileIsAddedAsABitmap)
{
    HDC recorder = CreateMetaFileA(nullptr);
    Rectangle(recorder, 0, 0, 100, 100);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    // One inch by half an inch at 96 pixels per inch.
    SetClipboardData(CF_METAFILEPICT, MakeMetafilePict(CloseMetaFile(recorder), MM_ANISOTROPIC, 2540, 1270));
    CloseClipboard();
    ASSERT_TRUE(ConvertClipboardMetafile(nullptr));
    SIZE size = TakeClipboardBitmapSize();
    EXPECT_EQ(size.cx, 96);
    EXPECT_EQ(size.cy, 48);
}
