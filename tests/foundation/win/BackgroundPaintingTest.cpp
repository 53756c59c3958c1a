#include <vector>

#include <gtest/gtest.h>

#include "PictureFiles.h"
#include "foundation/win/BackgroundPainting.h"

namespace {
struct FillCall {
    std::vector<TRIVERTEX> vertices;
    std::vector<ULONG> mesh;
    ULONG mode;
};
std::vector<FillCall> g_calls;

BOOL WINAPI RecordFill(HDC, PTRIVERTEX vertices, ULONG count, PVOID mesh, ULONG meshCount, ULONG mode)
{
    ULONG perElement = mode == GRADIENT_FILL_TRIANGLE ? 3 : 2;
    const ULONG* indices = static_cast<const ULONG*>(mesh);
    g_calls.push_back({std::vector<TRIVERTEX>(vertices, vertices + count),
                       std::vector<ULONG>(indices, indices + meshCount * perElement), mode});
    return TRUE;
}

// Puts a gradient function in place for one test and the old one back.
class GradientFunction {
public:
    explicit GradientFunction(GradientFillFunction fill) : m_saved(GetGradientFillFunction())
    {
        SetGradientFillFunction(fill);
        g_calls.clear();
    }
    ~GradientFunction() { SetGradientFillFunction(m_saved); }

private:
    GradientFillFunction m_saved;
};

// GradientFill receives 8-bit channels shifted into the high byte, alpha 0.
void ExpectVertex(const TRIVERTEX& v, LONG x, LONG y, COLORREF color)
{
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.Red, GetRValue(color) << 8);
    EXPECT_EQ(v.Green, GetGValue(color) << 8);
    EXPECT_EQ(v.Blue, GetBValue(color) << 8);
    EXPECT_EQ(v.Alpha, 0);
}

// A window whose client area is the given size.
HWND MakeWindow(int width, int height)
{
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, width, height, nullptr, nullptr, nullptr, nullptr);
}
}

TEST(Gradients, HorizontalAndVerticalRunFromTheTintToTheColour)
{
    GradientFunction fill(RecordFill);
    EXPECT_EQ(DrawGradient(1, 5, 5, 200, 100, nullptr, RGB(255, 0, 0)), 1);
    EXPECT_EQ(DrawGradient(2, 0, 0, 200, 100, nullptr, RGB(255, 0, 0)), 1);
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[0].mode, static_cast<ULONG>(GRADIENT_FILL_RECT_H));
    EXPECT_EQ(g_calls[1].mode, static_cast<ULONG>(GRADIENT_FILL_RECT_V));
    for (const FillCall& call : g_calls) {
        ASSERT_EQ(call.vertices.size(), 2u);
        EXPECT_EQ(call.mesh, (std::vector<ULONG>{0, 1}));
        // 255 + (0 - 255) x 25 / 100 = 192.
        ExpectVertex(call.vertices[0], 0, 0, RGB(255, 192, 192));
        ExpectVertex(call.vertices[1], 200, 100, RGB(255, 0, 0));
    }
}

TEST(Gradients, DiagonalIsTwoTrianglesOverFourCorners)
{
    GradientFunction fill(RecordFill);
    EXPECT_EQ(DrawGradient(3, 0, 0, 200, 100, nullptr, RGB(255, 0, 0)), 1);
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[0].mesh, (std::vector<ULONG>{0, 1, 3}));
    EXPECT_EQ(g_calls[1].mesh, (std::vector<ULONG>{0, 3, 2}));
    for (const FillCall& call : g_calls) {
        EXPECT_EQ(call.mode, static_cast<ULONG>(GRADIENT_FILL_TRIANGLE));
        ASSERT_EQ(call.vertices.size(), 4u);
        ExpectVertex(call.vertices[0], 0, 0, RGB(255, 182, 182));   // share 29
        ExpectVertex(call.vertices[1], 200, 0, RGB(255, 77, 77));   // share 70
        ExpectVertex(call.vertices[2], 0, 100, RGB(255, 77, 77));
        ExpectVertex(call.vertices[3], 200, 100, RGB(255, 0, 0));
    }
}

TEST(Gradients, LowHeightsNeitherDivideByZeroNorWrapColours)
{
    GradientFunction fill(RecordFill);
    EXPECT_EQ(DrawGradient(1, 0, 0, 50, 0, nullptr, RGB(255, 0, 0)), 0);
    EXPECT_EQ(DrawGradient(3, 0, 0, 50, -4, nullptr, RGB(255, 0, 0)), 0);
    EXPECT_EQ(DrawGradient(4, 0, 0, 50, 30, nullptr, RGB(255, 0, 0)), 0);
    EXPECT_TRUE(g_calls.empty());

    // At height 30 the corners' share (35) lies past the height: channels stop at 0.
    EXPECT_EQ(DrawGradient(3, 0, 0, 50, 30, nullptr, RGB(255, 128, 0)), 1);
    ASSERT_EQ(g_calls.size(), 2u);
    ExpectVertex(g_calls[0].vertices[0], 0, 0, RGB(255, 222, 187));  // share 8
    ExpectVertex(g_calls[0].vertices[1], 50, 0, RGB(255, 107, 0));
    ExpectVertex(g_calls[0].vertices[2], 0, 30, RGB(255, 107, 0));
    g_calls.clear();
    EXPECT_EQ(DrawGradient(2, 0, 0, 50, 30, nullptr, RGB(0, 0, 0)), 1);
    ExpectVertex(g_calls[0].vertices[0], 0, 0, RGB(196, 196, 196));  // share 7
}

TEST(Gradients, NothingIsDrawnWithoutGradientFill)
{
    GradientFunction none(nullptr);
    EXPECT_EQ(DrawGradient(1, 0, 0, 50, 50, nullptr, RGB(255, 0, 0)), 0);
}

TEST(Gradients, TheSystemsGradientFillPaints)
{
    HMODULE library = LoadLibraryA("msimg32.dll");
    ASSERT_NE(library, nullptr);
    GradientFunction fill(reinterpret_cast<GradientFillFunction>(GetProcAddress(library, "GradientFill")));
    HDC screen = GetDC(nullptr);
    CMemoryDC memory(screen, RECT{0, 0, 20, 100});
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(DrawGradient(2, 0, 0, 20, 100, memory.GetHandle(), RGB(0, 0, 255)), 1);
    COLORREF top = GetPixel(memory.GetHandle(), 10, 0);
    COLORREF bottom = GetPixel(memory.GetHandle(), 10, 99);
    EXPECT_GT(GetRValue(top), 150);
    EXPECT_LT(GetRValue(bottom), 10);
    EXPECT_GT(GetBValue(bottom), 240);
    memory.Release();
    FreeLibrary(library);
}

TEST(BackgroundPicture, TilesCoverTheClientAreaInPictureSteps)
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
    EXPECT_EQ(GetPixel(memory.GetHandle(), 99, 49), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(memory.GetHandle(), 31, 31), RGB(255, 255, 255));

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
        PaintBackgroundPicture(window, memory, 0, picture, 0, 30, false, brush);
        EXPECT_EQ(GetPixel(memory.GetHandle(), 0, 0), RGB(0, 128, 0));
        PaintBackgroundPicture(window, memory, 1, picture, 0x10000, 30, false, brush);
        EXPECT_EQ(GetPixel(memory.GetHandle(), 39, 19), RGB(0, 128, 0));
        PaintBackgroundPicture(window, memory, 2, picture, 30, 0, true, brush);
        EXPECT_EQ(GetPixel(memory.GetHandle(), 39, 19), RGB(0, 128, 0));
    }
    GradientFunction fill(RecordFill);
    PaintBackgroundPicture(window, memory, 2, nullptr, 0, 0, false, brush);
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].mode, static_cast<ULONG>(GRADIENT_FILL_RECT_V));
    ExpectVertex(g_calls[0].vertices[1], 40, 20, RGB(0, 128, 0));
    memory.Release();
    DeleteObject(brush.brush);
    DeleteObject(picture);
    DestroyWindow(window);
}
