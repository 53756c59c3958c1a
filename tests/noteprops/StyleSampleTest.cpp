// Style samples drawn away from the corner of what they are drawn on (a combo
// box item, a button's face) keep their gradient inside their own box.
#include <windows.h>

#include <gtest/gtest.h>

#include "foundation/win/BackgroundPainting.h"
#include "globals/NoteStyle.h"
#include "noteprops/StyleSample.h"
#include "support/PictureFiles.h"

TEST(StyleSample, AGradientBodyIsDrawnInTheSamplesOwnBox)
{
    HMODULE library = LoadLibraryA("msimg32.dll");
    ASSERT_NE(library, nullptr);
    const GradientFillFunction saved = GetGradientFillFunction();
    SetGradientFillFunction(reinterpret_cast<GradientFillFunction>(GetProcAddress(library, "GradientFill")));
    CNoteStyle style;
    style.backgroundKind = 2;
    style.backgroundColor = RGB(0, 0, 255);
    style.titleBackgroundColor = RGB(255, 0, 0);
    Canvas canvas(60, 60);
    const RECT box = {30, 30, 48, 48};
    DrawStyleSample(canvas.Dc(), 0, 0, box, false, false, style);
    // Nothing outside the box; the body's last row in the colour itself.
    EXPECT_EQ(canvas.At(5, 8), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(30, 30), RGB(255, 0, 0));
    EXPECT_GT(GetBValue(canvas.At(37, 44)), 200);
    EXPECT_LT(GetRValue(canvas.At(37, 44)), 60);
    SetGradientFillFunction(saved);
    FreeLibrary(library);
}
