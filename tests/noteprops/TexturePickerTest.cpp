// The "Select an image for the note background" dialog on a TEXTURES folder
// made by the test, run on a thread of its own and driven from the test's
// thread: its lines, the tile or stretch choice seen in the thumbnails' pixels
// and returned with the picture, and the choice as notes and the calendar
// take it.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/bytes/MessageBoxes.h"
#include "noteprops/TexturePicker.h"
#include "resources/ids/TexturePickerIds.h"
#include "support/InFolder.h"
#include "support/PickerDriving.h"
#include "support/PictureFiles.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/ShownTips.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
const char kCaption[] = "Select an image for the note background";
const char kPictureOpenTitle[] = "Select an image file for the note background";
const COLORREF kInside = RGB(0, 160, 0);
const COLORREF kFrame = RGB(0, 0, 200);

// A 20 x 20 picture: green inside a blue frame one pixel wide.
std::string FramedSquare()
{
    std::vector<uint8_t> indexes;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            indexes.push_back(x == 0 || y == 0 || x == 19 || y == 19 ? 1 : 0);
    return MakeBmp8(20, 20, {0x00A000, 0xC80000}, indexes);
}

class TextureRun : public PickerRun {
public:
    TextureRun(CTexturePickerParams& params, const char* current, BYTE stretch)
        : PickerRun(kCaption, kPictureOpenTitle, [&params, current, stretch] {
              lstrcpynA(params.fileName, current, sizeof params.fileName);
              params.stretch = stretch;
              return RunTexturePicker(nullptr, params);
          })
    {
    }
};

// The colour the screen shows at a point of the list's client area.
COLORREF ShownAt(HWND list, int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(list, &point);
    const std::vector<COLORREF> pixels = ScreenPixels(RECT{point.x, point.y, point.x + 1, point.y + 1});
    return pixels.empty() ? CLR_INVALID : pixels[0];
}

bool Near(COLORREF a, COLORREF b)
{
    return std::abs(GetRValue(a) - GetRValue(b)) < 24 && std::abs(GetGValue(a) - GetGValue(b)) < 24 &&
           std::abs(GetBValue(a) - GetBValue(b)) < 24;
}

class TexturePicker : public InFolder {
protected:
    std::string Texture(const std::string& name) const { return File("TEXTURES\\" + name); }
};
}

TEST_F(TexturePicker, ListsThePicturesTilesOrStretchesThemAndReturnsTheChoice)
{
    ASSERT_TRUE(CreateDirectoryA(File("TEXTURES").c_str(), nullptr));
    WriteWholeFile(Texture("red.gif"), kRedGif5x3);
    WriteWholeFile(Texture("grey.jpg"), GreyJpeg24x16());
    WriteWholeFile(Texture("framed.bmp"), FramedSquare());
    WriteWholeFile(Texture("notes.txt"), "not a picture");

    MessageBoxRecorder boxes;
    CTexturePickerParams params;
    TextureRun run(params, "GREY.JPG", 0);
    HWND dialog = run.WaitForFilledDialog(4);
    ASSERT_NE(dialog, nullptr);
    HWND list = run.List();
    // "  NoImage", then the bitmaps, the JPEGs and the GIFs, the current one selected.
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"  NoImage", "framed.bmp", "grey.jpg", "red.gif"}));
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 85);
    EXPECT_EQ(CellOf(list, 1).top, 85);
    EXPECT_EQ(CellOf(list, 3).top, 3 * 85);
    EXPECT_EQ(TipsOf(dialog), CellTips(list));
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_TEXTURE_TILE), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_TEXTURE_STRETCH), BST_UNCHECKED);
    ASSERT_TRUE(SaveScreenshotOf(dialog, "texture-picker-tiled"));
    // The pointer resting on a cell shows the picture's name in a tip.
    POINT onCell = {CellOf(list, 1).left + 40, CellOf(list, 1).top + 40};
    ClientToScreen(list, &onCell);
    EXPECT_EQ(TipAfterRestAt(GetCurrentProcessId(), onCell, "framed.bmp"), "framed.bmp");
    EXPECT_TRUE(SaveScreenshot("texture-picker-cell-tip"));
    SetCursorPos(0, 0);

    // Tiled, the picture starts again 20 pixels in: its frame shows there;
    // stretched over the cell, its inside does.
    const RECT cell = CellOf(list, 1);
    const int x = cell.left + 5 + 20, y = cell.top + 5 + 20;
    EXPECT_TRUE(Near(ShownAt(list, x, y), kFrame)) << std::hex << ShownAt(list, x, y);
    EXPECT_TRUE(Near(ShownAt(list, x + 1, y + 1), kInside)) << std::hex << ShownAt(list, x + 1, y + 1);
    PostMessageA(GetDlgItem(dialog, IDC_TEXTURE_STRETCH), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return Near(ShownAt(list, x, y), kInside); })) << std::hex << ShownAt(list, x, y);
    ASSERT_TRUE(SaveScreenshotOf(dialog, "texture-picker-stretched"));

    // OK takes the selected picture and the stretch choice.
    ASSERT_TRUE(SendWithTimeout(list, LB_SETCURSEL, 3, 0));
    PostMessageA(dialog, WM_COMMAND, IDC_PICTURE_OK, 0);
    EXPECT_EQ(run.Result(), 1);
    EXPECT_STREQ(params.fileName, "red.gif");
    EXPECT_EQ(params.stretch, 1);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(TexturePicker, ChoosingATextureNeedsTheFolderAndTurnsNoImageIntoNoName)
{
    MessageBoxRecorder boxes;
    CTextureChoice current;
    lstrcpyA(current.fileName, "framed.bmp");
    current.stretch = true;
    CTextureChoice chosen;
    lstrcpyA(chosen.fileName, "untouched");

    // Without the folder the user is told how to make one.
    EXPECT_FALSE(ChooseTexture(nullptr, current, chosen));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.LastText(), "Sorry, the folder '" + m_folder.Path() +
                                    "\\TEXTURES'is missing.\r\n\r\nPlease create this folder, copy into it some nice "
                                    "images and then try again.");
    EXPECT_EQ(boxes.Boxes()[0].caption, "Quillnet+");
    EXPECT_STREQ(chosen.fileName, "untouched");

    // "  NoImage" chosen is no picture; the stretch choice comes back as it was.
    ASSERT_TRUE(CreateDirectoryA(File("TEXTURES").c_str(), nullptr));
    WriteWholeFile(Texture("framed.bmp"), FramedSquare());
    {
        bool taken = false;
        PickerRun run(kCaption, kPictureOpenTitle, [&] {
            taken = ChooseTexture(nullptr, current, chosen);
            return INT_PTR(1);
        });
        HWND dialog = run.WaitForFilledDialog(2);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(SendMessageA(run.List(), LB_GETCURSEL, 0, 0), 1);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_TEXTURE_STRETCH), BST_CHECKED);
        ASSERT_TRUE(SendWithTimeout(run.List(), LB_SETCURSEL, 0, 0));
        PostMessageA(dialog, WM_COMMAND, IDC_PICTURE_OK, 0);
        EXPECT_EQ(run.Result(), 1);
        EXPECT_TRUE(taken);
        EXPECT_STREQ(chosen.fileName, "");
        EXPECT_TRUE(chosen.stretch);
    }

    // Cancel keeps the choice as it was.
    lstrcpyA(chosen.fileName, "untouched");
    bool taken = true;
    PickerRun run(kCaption, kPictureOpenTitle, [&] {
        taken = ChooseTexture(nullptr, CTextureChoice{}, chosen);
        return INT_PTR(0);
    });
    HWND dialog = run.WaitForFilledDialog(2);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SendMessageA(run.List(), LB_GETCURSEL, 0, 0), 0) << "no picture selects \"  NoImage\"";
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(run.Result(), 0);
    EXPECT_FALSE(taken);
    EXPECT_STREQ(chosen.fileName, "untouched");
    EXPECT_EQ(boxes.Count(), 1u);
}
