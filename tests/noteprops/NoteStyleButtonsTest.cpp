// The Appearance page's nine style buttons in the real program: a style saved
// from the page lands in its settings row and text file, Undo puts both back
// (an empty slot empty again), Reset is offered only where it changes
// something, a note too long for a style is refused with its size, and the
// styles keep what was done when the sheet is cancelled.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "note/NoteController.h"
#include "globals/NoteStyle.h"
#include "noteprops/NoteSheetDriving.h"
#include "resources/ids/NoteSettingsIds.h"
#include "resources/ids/StyleTextIds.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "store/FieldAccess.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "store/SettingsTable.h"
#include "support/CurrentFolder.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/TempFolder.h"
#include "store/StyleStorage.h"

namespace {
const int kStyleButtons[9] = {IDC_APPEARANCE_STYLE_1, IDC_APPEARANCE_STYLE_2, IDC_APPEARANCE_STYLE_3,
                              IDC_APPEARANCE_STYLE_4, IDC_APPEARANCE_STYLE_5, IDC_APPEARANCE_STYLE_6,
                              IDC_APPEARANCE_STYLE_7, IDC_APPEARANCE_STYLE_8, IDC_APPEARANCE_STYLE_9};

void StoreStyledNote(const char* title, const std::string& text, LONG left)
{
    CNoteController note;
    note.m_userId = 1;
    note.m_left = left;
    note.m_top = 60;
    note.m_width = 260;
    note.m_height = 170;
    note.m_bodyColor = RGB(255, 255, 190);
    lstrcpynA(note.m_title, title, sizeof note.m_title);
    const std::string rtf = "{\\rtf1\\ansi " + text + "}";
    note.SetRichText(rtf.data(), rtf.size());
    SaveNote(note);
}

// The user's nine style rows: the first three with looks of their own, the
// second with a text, the others empty (the program keeps them empty when it
// starts and writes its settings back).
void SeedStyles()
{
    for (int i = 0; i < 9; ++i) {
        CNoteStyle& style = UserSettings().styles[i];
        style = CNoteStyle();
        style.undefined = i < 3 ? 0 : 1;
        style.backgroundColor = RGB(10 * i, 200, 30);
        style.titleBackgroundColor = RGB(90, 10 * i, 160);
        style.hasBorder = 1;
        style.SetName(i == 1 ? "Seeded two" : "");
        if (i == 1)
            style.SetText("{\\rtf1\\ansi Seeded text}");
        SaveV6Style(i);
    }
}

long RowNumber(int styleIndex, const char* field)
{
    CSettingsTable table;
    table.Open("READ");
    table.GoTo(8 + static_cast<DWORD>(styleIndex));
    const long value = ReadNumber(table, field);
    table.Close();
    return value;
}

void StyleCommand(HWND page, int styleIndex, UINT command)
{
    SendWithTimeout(GetDlgItem(page, kStyleButtons[styleIndex]), WM_COMMAND, command, 0);
}

bool MarkShown(HWND page, int styleIndex)
{
    return IsWindowVisible(GetDlgItem(page, IDC_APPEARANCE_MARK_1 - styleIndex)) != 0;
}

// The style text dialog of the style, opened from its button's menu command.
HWND OpenStyleText(HWND page, int styleIndex, DWORD process, const char* caption)
{
    PostMessageA(GetDlgItem(page, kStyleButtons[styleIndex]), WM_COMMAND, ID_STYLE_EDIT_TEXT, 0);
    HWND dialog = nullptr;
    WaitUntil([&] {
        dialog = FindTopWindowTitled("#32770", caption, process);
        return dialog != nullptr && IsWindowVisible(dialog);
    });
    return dialog;
}

bool SaveStyleText(HWND dialog)
{
    PostMessageA(GetDlgItem(dialog, IDC_STYLE_TEXT_SAVE), BM_CLICK, 0, 0);
    return WaitUntil([&] { return !IsWindow(dialog); });
}

HWND OpenStyleMenu(HWND page, int styleIndex, DWORD process)
{
    HWND button = GetDlgItem(page, kStyleButtons[styleIndex]);
    PostMessageA(button, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(8, 8));
    return WaitForOpenMenus(process, 1);
}
}

TEST(NoteStyleButtons, SaveUndoResetAndCancelReachTheStoredStyles)
{
    ProgramInstall install("stylebuttons");
    install.AddInstalledDataFiles();
    const std::string config = install.File("config.QPD");
    const std::string secondText = install.File("style2.rtf");
    const std::string ninthText = install.File("style9.rtf");
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        SeedStyles();
        StoreStyledNote("Style source", "Short words", 40);
        StoreStyledNote("Long note", std::string(5000, 'x'), 360);
    }
    {
        RunningProgram program(install, "");
        const DWORD process = program.ProcessId();
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        HWND source = WaitForNoteWithText(process, "Short words");
        ASSERT_NE(source, nullptr);
        NoteSheet open = OpenNoteSheet(source, process, IDC_APPEARANCE_STYLE_1);
        ASSERT_NE(open.page, nullptr);
        HWND page = open.page;
        EXPECT_TRUE(MarkShown(page, 1));
        EXPECT_FALSE(MarkShown(page, 8));

        // The ninth slot, never saved into, is still empty after the start.
        // Saved with the note's text, then undone: empty again with its
        // colours, and no text file.
        const std::string configAtStart = ReadWholeFile(config);
        {
            CurrentFolder data(install.Path());
            EXPECT_EQ(RowNumber(8, "WLANGUAGE"), 0);
        }
        StyleCommand(page, 8, ID_STYLE_SAVE_WITH_TEXT);
        {
            CurrentFolder data(install.Path());
            EXPECT_EQ(RowNumber(8, "WLANGUAGE"), 1);
        }
        const std::string saved = ReadWholeFile(ninthText);
        EXPECT_NE(saved.find("Short words"), std::string::npos) << saved;
        EXPECT_TRUE(MarkShown(page, 8));
        EXPECT_NE(ReadWholeFile(config), configAtStart);
        StyleCommand(page, 8, ID_STYLE_UNDO);
        {
            CurrentFolder data(install.Path());
            EXPECT_EQ(RowNumber(8, "WLANGUAGE"), 0);
            EXPECT_EQ(RowNumber(8, "BYBKRED"), 80);
            EXPECT_EQ(RowNumber(8, "TIBKGREEN"), 80);
        }
        EXPECT_EQ(GetFileAttributesA(ninthText.c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_FALSE(MarkShown(page, 8));

        // Saved over the second style without text, then undone: the row and
        // the text file come back byte for byte.
        const std::string configBefore = ReadWholeFile(config);
        const std::string textBefore = ReadWholeFile(secondText);
        ASSERT_NE(textBefore.find("Seeded text"), std::string::npos);
        StyleCommand(page, 1, ID_STYLE_SAVE);
        EXPECT_NE(ReadWholeFile(config), configBefore);
        EXPECT_EQ(ReadWholeFile(secondText), textBefore);
        StyleCommand(page, 1, ID_STYLE_UNDO);
        EXPECT_EQ(ReadWholeFile(config), configBefore);
        EXPECT_EQ(ReadWholeFile(secondText), textBefore);

        // The second style's text edited: two placeholders inserted and saved,
        // then the change undone.
        const char textCaption[] = "Text of Style 2 - 'Seeded two'";
        HWND dialog = OpenStyleText(page, 1, process, textCaption);
        ASSERT_NE(dialog, nullptr);
        HWND edit = GetDlgItem(dialog, IDC_STYLE_TEXT_EDIT);
        EXPECT_EQ(ReadWindowText(edit), "Seeded text");
        PostMessageA(GetDlgItem(dialog, IDC_STYLE_TEXT_DATE), BM_CLICK, 0, 0);
        PostMessageA(GetDlgItem(dialog, IDC_STYLE_TEXT_CURSOR), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return ReadWindowText(edit) == " %D %CSeeded text"; })) << ReadWindowText(edit);
        EXPECT_TRUE(SaveScreenshotOf(dialog, "style-text-dialog"));
        ASSERT_TRUE(SaveStyleText(dialog));
        // The page stores the text once the dialog has gone.
        EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(secondText).find("%D %CSeeded text") != std::string::npos; }))
            << ReadWholeFile(secondText);
        StyleCommand(page, 1, ID_STYLE_UNDO);
        EXPECT_EQ(ReadWholeFile(secondText), textBefore);

        // A text too long for a style is refused and the one before kept; an
        // empty one removes the text and the style's mark, until undone.
        dialog = OpenStyleText(page, 1, process, textCaption);
        ASSERT_NE(dialog, nullptr);
        const std::string longText(4000, 'y');
        SendWithTimeout(GetDlgItem(dialog, IDC_STYLE_TEXT_EDIT), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(longText.c_str()));
        PostMessageA(GetDlgItem(dialog, IDC_STYLE_TEXT_SAVE), BM_CLICK, 0, 0);
        const std::string refused = AcknowledgeProgramBox(process);
        EXPECT_EQ(refused.rfind("Sorry, the text of the style is too large (", 0), 0u) << refused;
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        EXPECT_EQ(ReadWholeFile(secondText), textBefore);
        dialog = OpenStyleText(page, 1, process, textCaption);
        ASSERT_NE(dialog, nullptr);
        SendWithTimeout(GetDlgItem(dialog, IDC_STYLE_TEXT_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        ASSERT_TRUE(SaveStyleText(dialog));
        EXPECT_TRUE(WaitUntil([&] { return GetFileAttributesA(secondText.c_str()) == INVALID_FILE_ATTRIBUTES; }));
        EXPECT_TRUE(WaitUntil([&] { return !MarkShown(page, 1); }));
        StyleCommand(page, 1, ID_STYLE_UNDO);
        EXPECT_EQ(ReadWholeFile(secondText), textBefore);
        EXPECT_TRUE(MarkShown(page, 1));

        // Reset of the third style, then the sheet cancelled.
        StyleCommand(page, 2, ID_STYLE_RESET);
        EXPECT_TRUE(SaveScreenshotOf(open.sheet, "note-settings-style-buttons"));
        ASSERT_TRUE(PressSheetButton(open.sheet, PSBTN_CANCEL));

        // A new sheet on the long note: the reset style offers no Reset and,
        // with nothing to undo and no text, neither Undo nor its text (the
        // picture counts items only, not separators).
        HWND longNote = WaitForNoteWithText(process, std::string(5000, 'x'));
        ASSERT_NE(longNote, nullptr);
        open = OpenNoteSheet(longNote, process, IDC_APPEARANCE_STYLE_1);
        ASSERT_NE(open.page, nullptr);
        HWND menu = OpenStyleMenu(open.page, 2, process);
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(MenuShows(menu, "iii-i-i", {true, true, false, false, false}));
        EXPECT_TRUE(SaveScreenshotOf(menu, "note-settings-style-menu"));
        ASSERT_TRUE(CloseMenus(process));
        // The second style has text and a seeded look: everything but Undo.
        menu = OpenStyleMenu(open.page, 1, process);
        ASSERT_NE(menu, nullptr);
        // Items 0 and 1 as the first menu showed them; 2 and 4 now enabled.
        EXPECT_TRUE(MenuShows(menu, "iii-i-i", {true, true, true, false, true}));
        ASSERT_TRUE(CloseMenus(process));

        // The long note's text does not fit a style: saved without it, its
        // size told in KBytes.
        PostMessageA(GetDlgItem(open.page, kStyleButtons[3]), WM_COMMAND, ID_STYLE_SAVE_WITH_TEXT, 0);
        const std::string told = AcknowledgeProgramBox(process);
        const std::string lead = "Sorry, the text of the note is too large (";
        ASSERT_EQ(told.rfind(lead, 0), 0u) << told;
        const double kilobytes = std::atof(told.c_str() + lead.size());
        EXPECT_GT(kilobytes, 4.8);
        EXPECT_LT(kilobytes, 5.3);
        EXPECT_EQ(told.find(" KBytes).\r\nThe style is allowed to have maximum 4 KBytes of text."), lead.size() + 3)
            << told;
        EXPECT_FALSE(MarkShown(open.page, 3));
        ASSERT_TRUE(PressSheetButton(open.sheet, PSBTN_CANCEL));
        CloseProgram(install, program);
    }
    CurrentFolder data(install.Path());
    // What the cancelled sheets did stays: the third style is no longer the
    // seeded one, the fourth was saved without a text or a name.
    for (CNoteStyle& style : UserSettings().styles)
        style = CNoteStyle();
    LoadV6Style(2);
    LoadV6Style(3);
    EXPECT_NE(UserSettings().styles[2].backgroundColor, RGB(20, 200, 30));
    EXPECT_EQ(UserSettings().styles[3].undefined, 0u);
    EXPECT_FALSE(UserSettings().styles[3].HasText());
    EXPECT_STREQ(UserSettings().styles[3].name, "");
}

namespace {
// Each style button's menu offers "Reset style to standard " only on the
// style given (-1: on none); the picture of that style's menu is saved under
// the name given.
void ExpectResetOfferedOnlyOn(HWND page, DWORD process, int offered, const char* picture = nullptr)
{
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(testing::Message() << "style " << i + 1);
        HWND menu = OpenStyleMenu(page, i, process);
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(MenuShows(menu, "iii-i-i", {true, true, i == offered}));
        if (i == offered && picture) {
            EXPECT_TRUE(SaveScreenshotOf(menu, picture));
        }
        ASSERT_TRUE(CloseMenus(process));
    }
}

// The sheet of the program's first note (the welcome note of a new user),
// on its Appearance page.
NoteSheet OpenFirstNoteSheet(const RunningProgram& program)
{
    const DWORD process = program.ProcessId();
    std::vector<HWND> notes;
    if (!WaitForMainWindow(program) || !WaitUntil([&] { return !(notes = NoteWindows(process)).empty(); }))
        return NoteSheet();
    return OpenNoteSheet(notes[0], process, IDC_APPEARANCE_STYLE_1);
}

// A click on the preview's body opens the colour choice; red 30, green 90,
// blue 150 typed into it.
void ChooseBackgroundColour(HWND page, DWORD process)
{
    const RECT preview = RectOf(GetDlgItem(page, IDC_APPEARANCE_PREVIEW));
    POINT body = {preview.left + 6, preview.bottom - 4};
    ScreenToClient(page, &body);
    PostMessageA(page, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(body.x, body.y));
    ASSERT_TRUE(AnswerColourDialog(process, "Select note background colour...", RGB(30, 90, 150)));
}
}

TEST(NoteStyleButtons, ResetIsOfferedOnlyOnAStyleSavedOverItsStandardOne)
{
    ProgramInstall install("stylereset");
    install.AddInstalledDataFiles();
    // At the first start and at the next one, every style is the standard one.
    for (int start = 0; start < 2; ++start) {
        SCOPED_TRACE(testing::Message() << "start " << start + 1);
        RunningProgram program(install, "");
        NoteSheet open = OpenFirstNoteSheet(program);
        ASSERT_NE(open.page, nullptr);
        ExpectResetOfferedOnlyOn(open.page, program.ProcessId(), -1);
        ASSERT_TRUE(PressSheetButton(open.sheet, PSBTN_CANCEL));
        CloseProgram(install, program);
    }
    // A note's new background colour saved as the second style: Reset is
    // offered there, and there only, also after a restart.
    {
        RunningProgram program(install, "");
        NoteSheet open = OpenFirstNoteSheet(program);
        ASSERT_NE(open.page, nullptr);
        ChooseBackgroundColour(open.page, program.ProcessId());
        StyleCommand(open.page, 1, ID_STYLE_SAVE);
        ExpectResetOfferedOnlyOn(open.page, program.ProcessId(), 1, "note-settings-style-menu-reset-offered");
        ASSERT_TRUE(PressSheetButton(open.sheet, PSBTN_CANCEL));
        CloseProgram(install, program);
    }
    RunningProgram program(install, "");
    NoteSheet open = OpenFirstNoteSheet(program);
    ASSERT_NE(open.page, nullptr);
    ExpectResetOfferedOnlyOn(open.page, program.ProcessId(), 1);
    ASSERT_TRUE(PressSheetButton(open.sheet, PSBTN_CANCEL));
    CloseProgram(install, program);
    CurrentFolder data(install.Path());
    EXPECT_EQ(RowNumber(1, "WLANGUAGE"), 1);
    EXPECT_EQ(RowNumber(1, "BYBKRED"), 30);
    EXPECT_EQ(RowNumber(1, "BYBKBLUE"), 150);
}
