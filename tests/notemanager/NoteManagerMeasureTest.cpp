// The Note Manager's answers to measure requests the running program never
// sends: the style combo's items are measured while the window is made, and
// no other control of the window is measured. Each odd request is named in a
// box and left to the dialog's own handling.
#include <windows.h>

#include <gtest/gtest.h>

#include "notemanager/NoteManagerController.h"
#include "resources/ids/NoteManagerIds.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
MEASUREITEMSTRUCT Request(UINT type, UINT id)
{
    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = type;
    measure.CtlID = id;
    measure.itemHeight = 5;
    return measure;
}
}

TEST(NoteManagerMeasure, OnlyTheStyleCombosItemsAreMeasuredAndAnyOtherRequestIsNamed)
{
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    MessageBoxRecorder boxes;

    // While the window is made: the style combo's items are 16 pixels high.
    MEASUREITEMSTRUCT measure = Request(ODT_COMBOBOX, IDC_NM_STYLE);
    EXPECT_TRUE(MeasureBeforeController(window, measure));
    EXPECT_EQ(measure.itemHeight, 16u);
    EXPECT_EQ(boxes.Count(), 0u);
    measure = Request(ODT_LISTBOX, IDC_NM_STYLE);
    EXPECT_TRUE(MeasureBeforeController(window, measure));
    EXPECT_EQ(boxes.LastText(), "MeasureItem combo but not ODT_COMBOBOX ?");
    measure = Request(ODT_COMBOBOX, IDC_NM_GROUP);
    EXPECT_FALSE(MeasureBeforeController(window, measure));
    EXPECT_EQ(measure.itemHeight, 5u);
    EXPECT_EQ(boxes.LastText(), "MeasureItem something else than combo style");
    EXPECT_EQ(boxes.Count(), 2u);

    // Once the window's object is there, no control's request is answered.
    {
        CNoteManagerController controller(window, CNoteManagerStartParams());
        INT_PTR result = 0;
        measure = Request(ODT_COMBOBOX, IDC_NM_STYLE);
        EXPECT_FALSE(controller.OnMessage(WM_MEASUREITEM, IDC_NM_STYLE, reinterpret_cast<LPARAM>(&measure), result));
        EXPECT_EQ(measure.itemHeight, 5u);
        EXPECT_EQ(boxes.LastText(), "OnMeasureItem IDC_COMBO_STYLE ");
        measure = Request(ODT_LISTBOX, IDC_NM_TEXT);
        EXPECT_FALSE(controller.OnMessage(WM_MEASUREITEM, IDC_NM_TEXT, reinterpret_cast<LPARAM>(&measure), result));
        EXPECT_EQ(boxes.LastText(), "OnMeasureItem other control ");
        EXPECT_EQ(boxes.Count(), 4u);
    }
    for (const RecordedBox& box : boxes.Boxes())
        EXPECT_EQ(box.caption, "Quillnet+");
    DestroyWindow(window);
}
