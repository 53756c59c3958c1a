#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "support/PictureFiles.h"
#include "foundation/win/BackgroundPainting.h"

namespace {
// What reached GradientFill, as "H 01: 0,0=ffc0c0 200,100=ff0000": the mode (H,
// V or T) and vertex indexes of each call, then the vertices of the last call
// with their 8-bit channels. A vertex whose channels are not in the high byte,
// or whose alpha is not 0, is marked "!".
std::string g_meshes;
std::string g_vertices;

BOOL WINAPI RecordFill(HDC, PTRIVERTEX vertices, ULONG count, PVOID mesh, ULONG meshCount, ULONG mode)
{
    bool triangles = mode == GRADIENT_FILL_TRIANGLE;
    g_meshes += g_meshes.empty() ? "" : " ";
    g_meshes += triangles ? "T " : (mode == GRADIENT_FILL_RECT_H ? "H " : "V ");
    for (ULONG i = 0; i < meshCount * (triangles ? 3 : 2); ++i)
        g_meshes += std::to_string(static_cast<const ULONG*>(mesh)[i]);
    g_vertices = ":";
    for (ULONG i = 0; i < count; ++i) {
        const TRIVERTEX& v = vertices[i];
        bool misplaced = ((v.Red | v.Green | v.Blue) & 0xFF) || v.Alpha;
        char text[48];
        std::snprintf(text, sizeof text, " %ld,%ld=%02x%02x%02x%s", v.x, v.y, v.Red >> 8, v.Green >> 8, v.Blue >> 8,
                      misplaced ? "!" : "");
        g_vertices += text;
    }
    return TRUE;
}

std::string Recorded()
{
    return g_meshes + (g_meshes.empty() ? "" : g_vertices);
}

// Puts a gradient function in place for one test and the old one back.
class GradientFunction {
public:
    explicit GradientFunction(GradientFillFunction fill) : m_saved(GetGradientFillFunction())
    {
        SetGradientFillFunction(fill);
        g_meshes.clear();
    }
    ~GradientFunction() { SetGradientFillFunction(m_saved); }

private:
    GradientFillFunction m_saved;
};

// A window whose client area is the given size.
HWND MakeWindow(int width, int height)
{
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, width, height, nullptr, nullptr, nullptr, nullptr);
}
}

TEST(Gradients, EachKindRunsFromATintToTheColour)
{
    const COLORREF red = RGB(255, 0, 0);
    struct {
        int kind, width, height;
        COLORREF color;
        const char* calls;
    } cases[] = {
        // The tint at a quarter: 255 + (0 - 255) x 25 / 100 = 192.
        {1, 200, 100, red, "H 01: 0,0=ffc0c0 200,100=ff0000"},
        {2, 200, 100, red, "V 01: 0,0=ffc0c0 200,100=ff0000"},
        // Two triangles over the corners, at shares 29, 70, 70 and 100.
        {3, 200, 100, red, "T 013 T 032: 0,0=ffb6b6 200,0=ff4d4d 0,100=ff4d4d 200,100=ff0000"},
        // At height 30 the corners' share (35) lies past the height: channels stop at 0.
        {3, 50, 30, RGB(255, 128, 0), "T 013 T 032: 0,0=ffdebb 50,0=ff6b00 0,30=ff6b00 50,30=ff8000"},
        {2, 50, 30, RGB(0, 0, 0), "V 01: 0,0=c4c4c4 50,30=000000"},
        // Nothing for a height of 0 or less (no division by zero) or another kind.
        {1, 50, 0, red, ""},
        {3, 50, -4, red, ""},
        {4, 50, 30, red, ""},
    };
    for (const auto& c : cases) {
        GradientFunction fill(RecordFill);
        EXPECT_EQ(DrawGradient(c.kind, 5, 5, c.width, c.height, nullptr, c.color), c.calls[0] ? 1 : 0) << c.calls;
        EXPECT_EQ(Recorded(), c.calls);
    }
    GradientFunction none(nullptr);
    EXPECT_EQ(DrawGradient(1, 0, 0, 50, 50, nullptr, red), 0);
}

TEST(Gradients, TheSystemsGradientFillPaints)
{
    HMODULE library = LoadLibraryA("msimg32.dll");
    ASSERT_NE(library, nullptr);
    GradientFunction fill(reinterpret_cast<GradientFillFunction>(GetProcAddress(library, "GradientFill")));
    Canvas canvas(20, 100);
    EXPECT_EQ(DrawGradient(2, 0, 0, 20, 100, canvas.Dc(), RGB(0, 0, 255)), 1);
    EXPECT_GT(GetRValue(canvas.At(10, 0)), 150);
    EXPECT_LT(GetRValue(canvas.At(10, 99)), 10);
    EXPECT_GT(GetBValue(canvas.At(10, 99)), 240);
    FreeLibrary(library);
}

TEST(Gradients, DrawnInARectangleAwayFromTheCornerLeaveTheRestAlone)
{
    HMODULE library = LoadLibraryA("msimg32.dll");
    ASSERT_NE(library, nullptr);
    GradientFunction fill(reinterpret_cast<GradientFillFunction>(GetProcAddress(library, "GradientFill")));
    Canvas canvas(60, 100);
    RECT all{0, 0, 60, 100};
    FillRect(canvas.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(DrawGradientIn(2, RECT{10, 40, 50, 100}, canvas.Dc(), RGB(0, 0, 255)), 1);
    // Pale at the rectangle's top, the colour at its bottom, white around it.
    EXPECT_GT(GetRValue(canvas.At(30, 40)), 150);
    EXPECT_LT(GetRValue(canvas.At(30, 99)), 10);
    for (POINT outside : {POINT{30, 39}, POINT{5, 99}, POINT{55, 99}, POINT{30, 0}})
        EXPECT_EQ(canvas.At(outside.x, outside.y), RGB(255, 255, 255)) << outside.x << "," << outside.y;
    // The DC's origin is back where it was.
    POINT origin{1, 1};
    GetViewportOrgEx(canvas.Dc(), &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    FreeLibrary(library);
}

TEST(BackgroundPicture, TiledOrStretchedOverTheClientArea)
{
    HWND window = MakeWindow(100, 50);
    ASSERT_NE(window, nullptr);
    HBITMAP picture = MakeBitmap(30, 30, RGB(255, 255, 255), RECT{0, 0, 1, 1}, RGB(255, 0, 0));
    CMemoryDC memory;
    CBrushEntry brush;
    PaintBackgroundPicture(window, memory, 0, picture, 30, 30, false, brush);
    EXPECT_EQ(memory.GetWidth(), 100);
    EXPECT_EQ(memory.GetHeight(), 50);
    for (int x : {0, 30, 60, 90})
        for (int y : {0, 30})
            EXPECT_EQ(GetPixel(memory.GetHandle(), x, y), RGB(255, 0, 0)) << x << "," << y;
    EXPECT_EQ(GetPixel(memory.GetHandle(), 31, 31), RGB(255, 255, 255));

    // Only the low 16 bits of the size count.
    HBITMAP quarter = MakeBitmap(30, 30, RGB(255, 255, 255), RECT{0, 0, 15, 15}, RGB(0, 0, 255));
    PaintBackgroundPicture(window, memory, 0, quarter, 0x10000 | 30, 30, true, brush);
    EXPECT_EQ(GetPixel(memory.GetHandle(), 10, 10), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(memory.GetHandle(), 90, 40), RGB(255, 255, 255));
    memory.Release();
    DeleteObject(picture);
    DeleteObject(quarter);
    DestroyWindow(window);
}

TEST(BackgroundPicture, WithoutAUsablePictureTheBrushOrGradientPaints)
{
    HWND window = MakeWindow(40, 20);
    HBITMAP picture = MakeBitmap(30, 30, RGB(255, 255, 255), RECT{0, 0, 1, 1}, RGB(255, 0, 0));
    CBrushEntry brush;
    brush.color = RGB(0, 128, 0);
    brush.brush = CreateSolidBrush(brush.color);
    CMemoryDC memory;
    {
        GradientFunction none(nullptr);
        // A picture of no width (also 0 in its low 16 bits) is refused, not tiled forever.
        PaintBackgroundPicture(window, memory, 1, picture, 0x10000, 30, false, brush);
        EXPECT_EQ(GetPixel(memory.GetHandle(), 39, 19), RGB(0, 128, 0));
        PaintBackgroundPicture(window, memory, 2, picture, 30, 0, true, brush);
        EXPECT_EQ(GetPixel(memory.GetHandle(), 0, 0), RGB(0, 128, 0));
    }
    GradientFunction fill(RecordFill);
    PaintBackgroundPicture(window, memory, 2, nullptr, 0, 0, false, brush);
    EXPECT_EQ(Recorded(), "V 01: 0,0=c0e0c0 40,20=008000");
    memory.Release();
    DeleteObject(brush.brush);
    DeleteObject(picture);
    DestroyWindow(window);
}
