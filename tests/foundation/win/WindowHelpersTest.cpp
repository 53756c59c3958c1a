#include <winsock.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "support/PictureFiles.h"
#include "foundation/CallbackGuard.h"
#include "foundation/win/DialogControls.h"
#include "foundation/win/FontConversion.h"
#include "foundation/win/FontSizeAndPixels.h"
#include "foundation/win/SystemLibraries.h"
#include "foundation/win/WindowHelpers.h"
#include "foundation/bytes/MessageBoxes.h"
#include "support/ChildTest.h"
#include "support/ProgramDriver.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
const char kForeignDone[] = "QnTestForeignWindowDone";

// Popups stay hidden unless a test needs them shown: without a window manager,
// Wine takes seconds to move the focus away from a visible window that goes.
HWND MakePopup(const char* title, int x, int y, int width, int height, DWORD style = WS_POPUP)
{
    return CreateWindowExA(0, "STATIC", title, style, x, y, width, height, nullptr, nullptr, nullptr, nullptr);
}

HWND MakeChild(HWND parent, const char* className, DWORD style, int id, int x = 0, int y = 0)
{
    return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, x, y, 80, 20, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// Where CenterWindowOverWindow puts a 300 x 200 window over the given one.
RECT CentredOver(int x, int y, int width, int height)
{
    HWND over = MakePopup("", x, y, width, height);
    HWND window = MakePopup("", 0, 0, 300, 200);
    EXPECT_NE(over, nullptr);
    EXPECT_NE(window, nullptr);
    CenterWindowOverWindow(window, over);
    RECT placed = {};
    EXPECT_TRUE(GetWindowRect(window, &placed));
    DestroyWindow(window);
    DestroyWindow(over);
    return placed;
}
}

TEST(WindowGeometry, RectanglesInParentAndOtherWindows)
{
    HWND parent = MakePopup("", 100, 100, 300, 200);
    ASSERT_NE(parent, nullptr);
    HWND child = MakeChild(parent, "STATIC", 0, 1, 10, 20);
    ASSERT_NE(child, nullptr);
    RECT rect = {};
    GetRectInParent(child, parent, &rect);
    EXPECT_EQ(Text(rect), "10,20,90,40");
    GetClientRectInWindow(child, parent, &rect);
    EXPECT_EQ(Text(rect), "10,20,90,40");
    GetClientRectInWindow(parent, nullptr, &rect);
    EXPECT_EQ(Text(rect), "100,100,400,300");
    DestroyWindow(parent);
}

TEST(WindowGeometry, CentringStaysInsideTheWorkArea)
{
    RECT area;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(Text(CentredOver(200, 100, 500, 300)), "300,150,600,350");
    EXPECT_EQ(Text(CentredOver(area.left, 300, 100, 100)),
              Text(RECT{area.left, 250, area.left + 300, 450}));
    EXPECT_EQ(CentredOver(200, area.bottom - 50, 100, 100).bottom, area.bottom);
}

TEST(WindowGeometry, MenuItemsAreRenamedOrTheFailureShown)
{
    MessageBoxRecorder boxes;
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 5, "Old");
    SetMenuItemText(menu, 5, "&New name");
    char text[32];
    GetMenuStringA(menu, 5, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&New name");
    EXPECT_EQ(boxes.Count(), 0u);

    SetMenuItemText(menu, 99, "Nothing");
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "SetMenuItemInfo failed");
    DestroyMenu(menu);
}

namespace {
// Dialogs looked for in this order; the last two come back when minimised, and
// the very last is looked for only when asked.
int ActivateTestDialog(bool withLast)
{
    static const OwnWindowTitle kDialogs[] = {
        {"Find....", false}, {"Edit...", false}, {"Note Manager settings", true}, {"Quillnet+ Note Manager", true}};
    return ActivateFirstOwnWindow(kDialogs, withLast ? 4 : 3);
}
}

TEST(ActivateFirstOwnWindow, BringsForwardTheFirstOpenWindowByTitle)
{
    EXPECT_EQ(ActivateTestDialog(true), 0);

    HWND edit = MakePopup("Edit...", 10, 10, 100, 60, WS_POPUP);
    HWND find = MakePopup("Find....", 20, 20, 100, 60, WS_POPUP);
    PumpMessages();
    EXPECT_EQ(ActivateTestDialog(false), 1);
    EXPECT_EQ(GetForegroundWindow(), find);
    DestroyWindow(find);
    EXPECT_EQ(ActivateTestDialog(false), 1);
    EXPECT_EQ(GetForegroundWindow(), edit);
    DestroyWindow(edit);

    HWND settings = MakePopup("Note Manager settings", 10, 10, 100, 60, WS_POPUP | WS_MINIMIZE);
    PumpMessages();
    ASSERT_TRUE(IsIconic(settings));
    EXPECT_EQ(ActivateTestDialog(false), 1);
    EXPECT_FALSE(IsIconic(settings));
    DestroyWindow(settings);

    HWND manager = MakePopup("Quillnet+ Note Manager", 10, 10, 100, 60);
    EXPECT_EQ(ActivateTestDialog(false), 0);
    EXPECT_EQ(ActivateTestDialog(true), 1);
    DestroyWindow(manager);
}

// Run by the next test in a second process: holds a window titled like the
// program's Find dialog until told to stop (at most two of the driver's
// waits, as long as the test may take for its steps).
TEST(ForeignWindow, DISABLED_HoldsAFindDialogOpen)
{
    HWND window = MakePopup("Find....", 30, 30, 100, 60);
    HANDLE done = OpenEventA(SYNCHRONIZE, FALSE, kForeignDone);
    ASSERT_NE(done, nullptr);
    WaitUntil([&] { return WaitForSingleObject(done, 0) != WAIT_TIMEOUT; }, 2 * kDriverWaitMs);
    CloseHandle(done);
    DestroyWindow(window);
}

// Another program's window is neither activated as ours nor made the owner of
// our boxes (which would freeze that program until the box is answered).
TEST(ActivateFirstOwnWindow, AnotherProgramsWindowOfTheSameTitleIsNotOurs)
{
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, kForeignDone);
    ChildTest process("ForeignWindow.DISABLED_HoldsAFindDialogOpen");
    ASSERT_TRUE(process.Started());
    HWND foreign = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (foreign = FindWindowA(nullptr, "Find....")) != nullptr; }));
    EXPECT_EQ(ActivateTestDialog(false), 0);

    // The foreign window in front: a box of ours gets no owner.
    ShowWindow(foreign, SW_SHOW);
    SetForegroundWindow(foreign);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == foreign; }));
    MessageBoxRecorder boxes;
    GuardCallback([] { throw CGenericException("reported while another program is in front"); });
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].owner, nullptr);
    HWND own = MakePopup("Own", 10, 10, 100, 60, WS_POPUP | WS_VISIBLE);
    SetForegroundWindow(own);
    PumpMessages();
    EXPECT_EQ(ForegroundOwner(), own);
    DestroyWindow(own);

    SetEvent(done);
    EXPECT_TRUE(process.Passed());
    CloseHandle(done);
}

TEST(DialogControls, ACheckTakesOnlyOneAndARadioGroupCountsFromOne)
{
    HWND dialog = MakePopup("", 0, 0, 400, 300);
    CButtonCtl box(MakeChild(dialog, "BUTTON", BS_AUTOCHECKBOX, 102));
    box.SetCheck(2);
    EXPECT_FALSE(box.IsChecked());
    box.SetCheck(1);
    EXPECT_TRUE(box.IsChecked());
    for (int id = 110; id <= 112; ++id)
        MakeChild(dialog, "BUTTON", BS_AUTORADIOBUTTON, id);
    CRadioGroup(dialog, 110, 112).Check(3);
    EXPECT_FALSE(IsDlgButtonChecked(dialog, 110));
    EXPECT_TRUE(IsDlgButtonChecked(dialog, 112));
    DestroyWindow(dialog);
}

TEST(SystemLibraries, VersionsAndWinsock)
{
    DWORD major = 0;
    DWORD minor = 0;
    EXPECT_FALSE(GetDllVersion("no-such-library.dll", &major, &minor));
    EXPECT_FALSE(GetDllVersion("kernel32.dll", &major, &minor));

    ASSERT_TRUE(InitWinsock());
    char description[200];
    GetWinsockDescription(description, sizeof description);
    EXPECT_LE(std::strlen(description), 99u);
    EXPECT_NE(std::string(description).find(" - "), std::string::npos) << description;
    GetWinsockDescription(description, 8);
    EXPECT_EQ(std::strlen(description), 7u);
    WSACleanup();
}

TEST(FontSizes, StepsOfOnePointWithinTheirLimits)
{
    auto height = [](int points) { return static_cast<LONG>(-MulDiv(points, ScreenPixelsPerInch(), 72)); };
    // Up only from 6 points, down only from 7: 1 when the size stays.
    struct {
        int from;
        bool up;
        int to;
        int unchanged;
    } steps[] = {{5, true, 5, 1}, {6, true, 7, 0}, {7, false, 6, 0}, {6, false, 6, 1}};
    for (const auto& step : steps) {
        LONG h = height(step.from);
        EXPECT_EQ(StepFontPointSize(&h, step.up), step.unchanged) << step.from << (step.up ? " up" : " down");
        EXPECT_EQ(h, height(step.to)) << step.from << (step.up ? " up" : " down");
    }

    CGdiFont tahoma(0, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
    CGdiFont font;
    SetFontPointSize(font, tahoma.GetHFONT(), 9);
    EXPECT_EQ(font.GetLogFont().lfHeight, height(9));
    EXPECT_STREQ(font.GetLogFont().lfFaceName, "Tahoma");
}

TEST(PixelDrawing, ColoursAreReplacedOnlyInsideTheArea)
{
    Canvas canvas(10, 10);
    SetPixel(canvas.Dc(), 1, 1, RGB(255, 0, 0));
    SetPixel(canvas.Dc(), 3, 3, RGB(255, 0, 0));
    ReplacePixelColor(canvas.Dc(), 3, 3, RGB(255, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(1, 1), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(3, 3), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 255, 255));
}
