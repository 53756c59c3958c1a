#include <richedit.h>

#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "support/PictureFiles.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/win/DeviceContext.h"
#include "foundation/win/FavouritesImageList.h"
#include "foundation/win/FontFaceExists.h"
#include "foundation/win/GdiCaches.h"
#include "foundation/win/GdiObjects.h"
#include "support/TempFolder.h"
#include "support/bytes/ErrorOf.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
LOGFONTA FaceFont(const char* face, LONG height)
{
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWeight = FW_NORMAL;
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    return font;
}

bool IsLiveObject(HGDIOBJ object)
{
    return GetObjectType(object) != 0;
}
}

TEST(DeviceContexts, MemoryDcDrawsIntoItsOwnBitmap)
{
    CClientDC screen(nullptr);
    CMemoryDC memory(screen.GetHandle(), RECT{0, 0, 40, 20});
    ASSERT_NE(memory.GetBitmap(), nullptr);
    memory.FillSolidRect(0, 0, 40, 20, RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(memory.GetHandle(), 39, 19), RGB(10, 20, 30));
    EXPECT_NE(GetBkColor(memory.GetHandle()), RGB(10, 20, 30)) << "the background colour is put back";
    CGdiPen pen(RGB(255, 0, 0), PS_SOLID);
    {
        CObjectSelector selected(memory.GetHandle(), pen.GetHandle());
        memory.DrawLine(0, 5, 40, 5);
    }
    EXPECT_EQ(GetPixel(memory.GetHandle(), 20, 5), RGB(255, 0, 0));
    EXPECT_NE(GetCurrentObject(memory.GetHandle(), OBJ_PEN), pen.GetHandle());
    // Wine shows the 24-bit Xvfb screen as 32 bits per pixel: counted as 2^30.
    EXPECT_EQ(screen.GetColorCount(), 1073741824u);
    HBITMAP bitmap = memory.GetBitmap();
    memory.Release();
    EXPECT_FALSE(IsLiveObject(bitmap));

    // A brush fills once until the next Create; a bitmap on the clipboard outlives Release.
    CGdiBrush green(RGB(0, 255, 0));
    CGdiBrush blue(RGB(0, 0, 255));
    memory.Create(screen.GetHandle(), RECT{0, 0, 8, 8});
    memory.FillWithBrush(green.GetHandle());
    memory.FillWithBrush(blue.GetHandle());
    EXPECT_EQ(GetPixel(memory.GetHandle(), 7, 7), RGB(0, 255, 0));
    memory.Create(screen.GetHandle(), RECT{0, 0, 8, 8});
    memory.FillWithBrush(blue.GetHandle());
    EXPECT_EQ(GetPixel(memory.GetHandle(), 0, 0), RGB(0, 0, 255));
    bitmap = memory.GetBitmap();
    ASSERT_TRUE(memory.CopyBitmapToClipboard());
    memory.Release();
    EXPECT_TRUE(IsLiveObject(bitmap));
    EXPECT_EQ(TakeClipboardBitmapSize().cx, 8);
}

TEST(GdiObjects, ChangesReplaceTheHandle)
{
    CGdiFont standard(0, 5, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, "Ignored");
    EXPECT_EQ(standard.GetLogFont().lfHeight, -13);
    EXPECT_EQ(standard.GetLogFont().lfWeight, 400);
    EXPECT_STREQ(standard.GetLogFont().lfFaceName, "Times New Roman");

    CGdiFont tahoma(FaceFont("Tahoma", -16));
    HGDIOBJ old = tahoma.GetHFONT();
    tahoma.ChangeLogFont(FaceFont("TAHOMA", -24));
    EXPECT_FALSE(IsLiveObject(old));
    EXPECT_EQ(tahoma.GetLogFont().lfHeight, -24);
    CGdiBrush brush(RGB(1, 2, 3));
    old = brush.GetHandle();
    brush.ChangeBrushColor(RGB(4, 5, 6));
    EXPECT_FALSE(IsLiveObject(old));
    CGdiPen pen(RGB(7, 8, 9), PS_DOT);
    old = pen.GetHandle();
    pen.ChangePenColor(RGB(9, 9, 9), PS_SOLID);
    EXPECT_FALSE(IsLiveObject(old));
    LOGPEN described = {};
    GetObjectA(pen.GetHandle(), sizeof described, &described);
    EXPECT_EQ(described.lopnColor, RGB(9, 9, 9));
    EXPECT_EQ(described.lopnStyle, static_cast<UINT>(PS_SOLID));
}

TEST(GdiObjects, DerivedWindowFontStartsFromTheWindowsFont)
{
    HWND label = CreateWindowExA(0, "STATIC", "x", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(label, nullptr);
    CGdiFont base(FaceFont("Tahoma", -11));
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(base.GetHFONT()), FALSE);
    CGdiFont derived;
    SetDerivedWindowFont(derived, label, true, true, 12);
    EXPECT_STREQ(derived.GetLogFont().lfFaceName, "Tahoma");
    EXPECT_EQ(derived.GetLogFont().lfWeight, 700);
    EXPECT_EQ(derived.GetLogFont().lfUnderline, 1);
    EXPECT_EQ(derived.GetLogFont().lfHeight, -16);

    // Without a font of its own the window's variant comes from the menu font.
    SendMessageA(label, WM_SETFONT, 0, FALSE);
    SetDerivedWindowFont(derived, label, false, true, 12);
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
    EXPECT_STREQ(derived.GetLogFont().lfFaceName, metrics.lfMenuFont.lfFaceName);
    EXPECT_EQ(derived.GetLogFont().lfHeight, metrics.lfMenuFont.lfHeight);
    EXPECT_EQ(derived.GetLogFont().lfWeight, 700);
    DestroyWindow(label);
}

TEST(GdiCaches, BrushesAreSharedAndAFullCacheServesTheFirst)
{
    MessageBoxRecorder boxes;
    auto cache = std::make_unique<CBrushCache>();
    HBRUSH firstBrush = cache->GetBrush(RGB(0, 0, 1)).brush;
    ASSERT_NE(firstBrush, nullptr);
    EXPECT_EQ(cache->GetBrush(RGB(0, 0, 1)).brush, firstBrush);
    EXPECT_EQ(cache->GetCount(), 1);
    for (int i = 2; i <= 150; ++i)
        cache->GetBrush(RGB(0, 0, i));
    EXPECT_EQ(cache->GetCount(), 150);
    EXPECT_EQ(boxes.Count(), 0u);

    // The 151st colour: one box, the first brush, nothing created.
    EXPECT_EQ(cache->GetBrush(RGB(0, 1, 0)).brush, firstBrush);
    EXPECT_EQ(cache->GetCount(), 150);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.LastText(), "Too many different brushes  have been created\r\n Maximum 150 brushes are allowed.");

    // A cached colour is still found without a box; later overflows only log.
    EXPECT_EQ(GetObjectType(cache->GetBrush(RGB(0, 0, 77)).brush), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(cache->GetBrush(RGB(0, 2, 0)).brush, firstBrush);
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_NE(ReadWholeFile("error.txt").find("CBrushCache::GetBrush: Too many different brushes"), std::string::npos);

    // The cache has no lock: another thread is refused, and nothing changes.
    std::string refused;
    std::thread worker([&] { refused = ErrorOf([&] { cache->GetBrush(RGB(0, 3, 0)); }); });
    worker.join();
    EXPECT_EQ(refused, "CBrushCache::GetBrush called from a thread other than the main thread");
    EXPECT_EQ(cache->GetCount(), 150);

    cache.reset();
    EXPECT_FALSE(IsLiveObject(firstBrush));
}

TEST(GdiCaches, FontsMatchByValueIgnoringTheFaceCase)
{
    MessageBoxRecorder boxes;
    auto cache = std::make_unique<CFontCache>();
    HFONT tahoma = cache->GetFont(FaceFont("Tahoma", -13)).font;
    EXPECT_EQ(GetObjectType(tahoma), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(cache->GetFont(FaceFont("TAHOMA", -13)).font, tahoma);
    LOGFONTA underlined = FaceFont("Tahoma", -13);
    underlined.lfUnderline = 1;
    EXPECT_NE(cache->GetFont(underlined).font, tahoma);
    EXPECT_EQ(cache->GetCount(), 2);

    struct Description {
        LOGFONTA font;
        COLORREF color;
    } description = {FaceFont("tahoma", -13), RGB(1, 2, 3)};
    EXPECT_EQ(cache->GetFontFromDescription(description).font, tahoma);

    for (int i = 3; i <= 151; ++i)  // -13 is cached already
        cache->GetFont(FaceFont("Tahoma", -i));
    EXPECT_EQ(cache->GetCount(), 150);
    EXPECT_EQ(cache->GetFont(FaceFont("Tahoma", -500)).font, tahoma);
    EXPECT_EQ(boxes.LastText(), "Too many different fonts  have been created\r\n Maximum 150 fonts are allowed.");
}

TEST(GdiCaches, ARealFontFromTheCacheFormatsARichEdit)
{
    ASSERT_NE(LoadLibraryA("riched20.dll"), nullptr);
    HWND edit = CreateWindowExA(0, "RichEdit20A", "", WS_POPUP | ES_MULTILINE, 0, 0, 200, 100, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    CFontCache cache;
    LOGFONTA bold = FaceFont("Tahoma", -16);
    bold.lfWeight = FW_BOLD;
    cache.GetFont(bold).SetFromRichEdit(edit, SCF_DEFAULT);
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    SendMessageA(edit, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    EXPECT_STREQ(format.szFaceName, "Tahoma");
    EXPECT_TRUE(format.dwEffects & CFE_BOLD);
    EXPECT_EQ(format.yHeight, 240);  // 16 pixels at 96 per inch: 12 points
    DestroyWindow(edit);

    LOGFONTA result = {};
    EXPECT_TRUE(FontFaceExists(&result, "tahoma"));
    EXPECT_STREQ(result.lfFaceName, "tahoma");
    EXPECT_FALSE(FontFaceExists(&result, "No Such Face Anywhere"));
}

TEST(FavouritesImageList, IconsGoInAndAFailedDrawIsShown)
{
    MessageBoxRecorder boxes;
    CFavouritesImageList list;
    EXPECT_THROW(list.AddIcon(LoadIcon(nullptr, IDI_APPLICATION)), CGenericException) << "not created yet";
    list.Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 4);
    EXPECT_EQ(list.AddIcon(LoadIcon(nullptr, IDI_QUESTION)), 0);
    EXPECT_THROW(list.AddBitmapStrip(GetModuleHandle(nullptr), 4242, RGB(255, 0, 255)), CGenericException);
    Canvas canvas(16, 16);
    EXPECT_EQ(list.Draw(canvas.Dc(), 0, 0, 0), 1);
    EXPECT_EQ(list.Draw(canvas.Dc(), 9, 0, 0), 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.LastText(), "ImageList_Draw failed");
}
