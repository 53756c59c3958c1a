// The "Select chat icon" dialog on a CHAT folder made by the test, run on a
// thread of its own and driven from the test's thread as a user would drive
// it: lines read, keys and clicks posted, the Open dialog typed into, boxes
// answered.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/bytes/MessageBoxes.h"
#include "noteprops/AvatarPicker.h"
#include "resources/ids/AvatarPickerIds.h"
#include "support/InFolder.h"
#include "support/PickerDriving.h"
#include "support/PictureFiles.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
const char kOpenTitle[] = "Select an image file as avatar (maximum 24x24 pixels, please)";

// A picture of one colour with a frame of another, as 8-bit BMP bytes.
std::string FramedBmp(int width, int height, uint32_t inside, uint32_t frame)
{
    std::vector<uint8_t> indexes;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            indexes.push_back(x == 0 || y == 0 || x == width - 1 || y == height - 1 ? 1 : 0);
    return MakeBmp8(width, height, {inside, frame}, indexes);
}

// The avatar picker as the chat note runs it, on the parameters.
class AvatarRun : public PickerRun {
public:
    AvatarRun(CAvatarPickerParams& params, const char* current)
        : PickerRun("Select chat icon", kOpenTitle, [&params, current] {
              std::snprintf(params.fileName, sizeof params.fileName, "%s", current);
              return RunAvatarPicker(nullptr, params);
          })
    {
    }
};

void Select(HWND list, int line)
{
    ASSERT_TRUE(SendWithTimeout(list, LB_SETCURSEL, line, 0));
}

// The Delete key as the dialog's message loop gets it from the keyboard; the
// result is awaited by what it shows.
void PressDelete(HWND list)
{
    PostMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
    PostMessageA(list, WM_KEYUP, VK_DELETE, 0xC0000001);
}

// "Select other image...", the path typed into the Open dialog and Open pressed.
void AddThroughOpenDialog(HWND dialog, const std::string& typed)
{
    PostMessageA(dialog, WM_COMMAND, IDC_PICTURE_OTHER_IMAGE, 0);
    HWND open = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (open = FindTopWindowTitled("#32770", kOpenTitle, GetCurrentProcessId())); }));
    HWND name = GetDlgItem(open, 0x47C) ? GetDlgItem(open, 0x47C) : GetDlgItem(open, 0x480);
    ASSERT_TRUE(SendWithTimeout(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str())));
    PostMessageA(open, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(open); }));
}

class AvatarPicker : public InFolder {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateDirectoryA(File("CHAT").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(File("incoming").c_str(), nullptr));
    }
    std::string Chat(const std::string& name) const { return File("CHAT\\" + name); }
};
}

TEST_F(AvatarPicker, ListsChoosesAddsAndDeletesThePicturesOfTheChatFolder)
{
    // A small avatar whose frame is the transparent colour, one too large for
    // its cell, a JPEG and a GIF; the rest are not pictures.
    WriteWholeFile(Chat("small.bmp"), FramedBmp(20, 20, 0x00C000, 0x4080FF));
    WriteWholeFile(Chat("wide.bmp"), FramedBmp(48, 30, 0xFF0000, 0x000000));
    WriteWholeFile(Chat("kept.bmp"), FramedBmp(16, 16, 0x00FFFF, 0x4080FF));
    WriteWholeFile(Chat("grey.jpg"), GreyJpeg24x16());
    WriteWholeFile(Chat("red.GIF"), kRedGif5x3);
    WriteWholeFile(Chat("readme.txt"), "not a picture");
    ASSERT_TRUE(CreateDirectoryA(Chat("folder.bmp").c_str(), nullptr));
    const std::string otherSmall = FramedBmp(8, 8, 0x0000FF, 0x4080FF);
    WriteWholeFile(File("incoming\\small.bmp"), otherSmall);
    const std::string green = FramedBmp(22, 22, 0x00FF00, 0x4080FF);
    WriteWholeFile(File("incoming\\green.bmp"), green);

    MessageBoxRecorder boxes;
    CAvatarPickerParams params;
    AvatarRun run(params, "GREY.JPG");
    HWND dialog = run.WaitForFilledDialog(6);
    ASSERT_NE(dialog, nullptr);
    HWND list = run.List();

    // "  NoImage" first, then the bitmaps, the JPEG and the GIF; the current
    // avatar selected whatever its case.
    std::vector<std::string> lines = Lines(list);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "  NoImage");
    EXPECT_EQ(std::set<std::string>(lines.begin() + 1, lines.begin() + 4),
              (std::set<std::string>{"small.bmp", "wide.bmp", "kept.bmp"}));
    EXPECT_EQ(lines[4], "grey.jpg");
    EXPECT_EQ(lines[5], "red.GIF");
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 4);
    // Cells of 34 pixels run down four rows, then on to the next column.
    EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 34);
    const RECT fourth = CellOf(list, 3);
    const RECT fifth = CellOf(list, 4);
    EXPECT_EQ(fourth.left, 0);
    EXPECT_EQ(fourth.top, 3 * 34);
    EXPECT_EQ(fifth.left, 34);
    EXPECT_EQ(fifth.top, 0);
    EXPECT_EQ(fifth.right - fifth.left, 34);
    RECT listRect = {};
    GetClientRect(list, &listRect);
    EXPECT_GE(listRect.bottom, 4 * 34) << "four whole rows show";
    EXPECT_EQ(TipsOf(dialog), CellTips(list));
    EXPECT_TRUE(SaveScreenshotOf(dialog, "avatar-picker"));

    // Delete on "  NoImage" only beeps.
    Select(list, 0);
    ASSERT_TRUE(SendWithTimeout(list, WM_KEYDOWN, VK_DELETE, 0));
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(Lines(list).size(), 6u);

    // Deleting asks first, No the default; No keeps the picture.
    const int wide = LineOf(list, "wide.bmp");
    Select(list, wide);
    boxes.QueueAnswer(kIdNo);
    PressDelete(list);
    ASSERT_TRUE(WaitUntil([&] { return boxes.Count() == 1u; }));
    EXPECT_EQ(boxes.LastText(), "Are you sure you want to delete '" + Chat("wide.bmp") + "' ?");
    EXPECT_EQ(boxes.Boxes()[0].flags, static_cast<unsigned>(kMbYesNo | kMbIconQuestion | kMbDefButton2));
    EXPECT_NE(GetFileAttributesA(Chat("wide.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Lines(list).size(), 6u);
    // Yes deletes the file, read-only or not, and selects the line before.
    ASSERT_TRUE(SetFileAttributesA(Chat("wide.bmp").c_str(), FILE_ATTRIBUTE_READONLY));
    boxes.QueueAnswer(kIdYes);
    PressDelete(list);
    ASSERT_TRUE(WaitUntil([&] { return Lines(list).size() == 5u; }));
    EXPECT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(GetFileAttributesA(Chat("wide.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(LineOf(list, "wide.bmp"), -1);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), wide - 1);
    EXPECT_EQ(TipsOf(dialog), CellTips(list));

    // A picture in use elsewhere cannot go: the user is told why, and it stays listed.
    HANDLE held = CreateFileA(Chat("kept.bmp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Select(list, LineOf(list, "kept.bmp"));
    boxes.QueueAnswer(kIdYes);
    PressDelete(list);
    ASSERT_TRUE(WaitUntil([&] { return boxes.Count() == 4u; }));
    CloseHandle(held);
    EXPECT_EQ(boxes.LastText().rfind("Error deleting file \"" + Chat("kept.bmp") + "\"\r\n , Error number: 32, Details: ",
                                     0),
              0u)
        << boxes.LastText();
    EXPECT_NE(LineOf(list, "kept.bmp"), -1);
    EXPECT_NE(GetFileAttributesA(Chat("kept.bmp").c_str()), INVALID_FILE_ATTRIBUTES);

    // A file of a name the folder has is not copied.
    const std::string ownSmall = ReadWholeFile(Chat("small.bmp"));
    AddThroughOpenDialog(dialog, File("incoming\\small.bmp"));
    ASSERT_TRUE(WaitUntil([&] { return boxes.Count() == 5u; }));
    EXPECT_EQ(boxes.LastText(), "Sorry, the file 'small.bmp' already exists in the '" + File("CHAT") +
                                    "' folder.\r\n\r\nPlease choose another file.");
    EXPECT_EQ(ReadWholeFile(Chat("small.bmp")), ownSmall);
    EXPECT_EQ(Lines(list).size(), 5u);

    // Another file is copied in, listed last and selected; the Open dialog
    // starts where the last file was chosen, so a bare name is found there.
    AddThroughOpenDialog(dialog, "green.bmp");
    ASSERT_TRUE(WaitUntil([&] { return Lines(list).size() == 6u; }));
    EXPECT_EQ(Lines(list).back(), "green.bmp");
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 5);
    EXPECT_EQ(ReadWholeFile(Chat("green.bmp")), green);
    EXPECT_EQ(CurrentFolder::Path(), m_folder.Path()) << "the program's folder stays current";
    EXPECT_EQ(TipsOf(dialog), CellTips(list));
    EXPECT_TRUE(SaveScreenshotOf(dialog, "avatar-picker-added"));

    // No help file comes with the tests: Help says so.
    PostMessageA(dialog, WM_COMMAND, IDC_PICTURE_HELP, 0);
    ASSERT_TRUE(WaitUntil([&] { return boxes.Count() == 6u; }));
    EXPECT_EQ(boxes.LastText(), "Unable to activate help");

    // OK takes the selected picture and tells that a picture was deleted.
    PostMessageA(dialog, WM_COMMAND, IDC_PICTURE_OK, 0);
    EXPECT_EQ(run.Result(), 1);
    EXPECT_STREQ(params.fileName, "green.bmp");
    EXPECT_EQ(params.fileDeleted, 1u);
    EXPECT_EQ(boxes.Count(), 6u);
}

TEST_F(AvatarPicker, OpensInViewOfAPictureFarDownAndTakesADoubleClickedOne)
{
    // 44 bitmaps, a JPEG that is no picture, then the GIF at index 46.
    for (int n = 0; n < 44; ++n)
        WriteWholeFile(Chat("face" + std::to_string(n) + ".bmp"), FramedBmp(6, 6, 0x808080 + n, 0x4080FF));
    WriteWholeFile(Chat("broken.jpg"), GreyJpeg24x16().substr(0, 20));
    WriteWholeFile(Chat("last.gif"), kRedGif5x3);

    MessageBoxRecorder boxes;
    CAvatarPickerParams params;
    {
        AvatarRun run(params, "last.gif");
        HWND dialog = run.WaitForFilledDialog(47);
        ASSERT_NE(dialog, nullptr);
        HWND list = run.List();
        EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 46);
        // The damaged picture is reported and listed with an empty cell.
        EXPECT_EQ(Lines(list)[45], "broken.jpg");
        ASSERT_EQ(boxes.Count(), 2u);
        EXPECT_EQ(boxes.Boxes()[1].text, "Loading the image from disk has failed");
        EXPECT_EQ(boxes.Boxes()[1].caption, Chat("broken.jpg"));
        // The list opens scrolled so that the selected picture is in view.
        const RECT cell = CellOf(list, 46);
        RECT client = {};
        GetClientRect(list, &client);
        EXPECT_GE(cell.left, 0);
        EXPECT_LE(cell.right, client.right);
        EXPECT_GT(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);
        EXPECT_LT(CellOf(list, 0).left, 0);
        EXPECT_EQ(TipsOf(dialog), CellTips(list));
        EXPECT_TRUE(SaveScreenshotOf(dialog, "avatar-picker-scrolled"));
        // Scrolled back a column, the tips move with the cells.
        ASSERT_TRUE(SendWithTimeout(list, WM_HSCROLL, SB_LINELEFT, 0));
        EXPECT_EQ(CellOf(list, 46).left, cell.left + 34);
        EXPECT_EQ(TipsOf(dialog), CellTips(list));

        // Cancel leaves the choice as it was.
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(run.Result(), 0);
        EXPECT_STREQ(params.fileName, "last.gif");
        EXPECT_EQ(params.fileDeleted, 0u);
    }

    AvatarRun run(params, "none.bmp");
    ASSERT_NE(run.WaitForFilledDialog(47), nullptr);
    HWND list = run.List();
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR) << "a missing avatar selects nothing";
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);
    // A double click on the second column's first picture chooses it.
    const RECT cell = CellOf(list, 4);
    const LPARAM point = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    const std::string chosen = Lines(list)[4];
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(list, WM_LBUTTONUP, 0, point);
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    PostMessageA(list, WM_LBUTTONUP, 0, point);
    EXPECT_EQ(run.Result(), 1);
    EXPECT_EQ(std::string(params.fileName), chosen);
    EXPECT_EQ(boxes.Count(), 4u);
}
