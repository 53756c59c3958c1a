// "Use these settings for new notes" on the note settings sheet: a note made
// afterwards takes every look of the note the sheet was OK'd on, its ruled
// lines, margin line, plain-text setting, gradient and transparency too, and
// the Appearance page's "Reset to standard values" gives them back.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "note/NoteController.h"
#include "note/NoteSheetRecords.h"
#include "noteprops/NoteSheetDriving.h"
#include "resources/ids/NoteSettingsIds.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/StoredNotes.h"

namespace {
void Pick(HWND page, int comboId, int item)
{
    HWND combo = GetDlgItem(page, comboId);
    SendWithTimeout(combo, CB_SETCURSEL, item, 0);
    SendWithTimeout(page, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
}

LRESULT Picked(HWND page, int comboId)
{
    LRESULT item = -1;
    SendWithTimeout(GetDlgItem(page, comboId), CB_GETCURSEL, 0, 0, &item);
    return item;
}

void Tick(HWND page, int boxId)
{
    HWND box = GetDlgItem(page, boxId);
    SendWithTimeout(box, BM_SETCHECK, BST_CHECKED, 0);
    SendWithTimeout(page, WM_COMMAND, MAKEWPARAM(boxId, BN_CLICKED), reinterpret_cast<LPARAM>(box));
}

LRESULT SliderPosition(HWND page)
{
    LRESULT position = -1;
    SendWithTimeout(GetDlgItem(page, IDC_APPEARANCE_TRANSPARENCY), TBM_GETPOS, 0, 0, &position);
    return position;
}

const CNoteController* StoredWithText(const StoredNoteList& notes, const char* text)
{
    for (const auto& note : notes)
        if (note->RichText().find(text) != std::string::npos)
            return note.get();
    return nullptr;
}
}

TEST(NoteDefaults, UseTheseSettingsForNewNotesCarriesEveryLookToTheNextNewNote)
{
    ProgramInstall install("notedefaults");
    install.AddInstalledDataFiles();
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        CNoteController model;
        FillTestNote(model, "Model note", 60, 100);
        SaveNote(model);
    }
    {
        RunningProgram program(install, "");
        const DWORD process = program.ProcessId();
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        HWND note = WaitForNoteWithText(process, "Model note");
        ASSERT_NE(note, nullptr);
        NoteSheet open = OpenNoteSheet(note, process, IDC_APPEARANCE_TRANSPARENCY);
        ASSERT_NE(open.page, nullptr);
        Pick(open.page, IDC_APPEARANCE_BACKGROUND, 2);
        Pick(open.page, IDC_APPEARANCE_MARGIN, 3);
        Tick(open.page, IDC_APPEARANCE_LINES);
        Tick(open.page, IDC_APPEARANCE_PLAIN_TEXT);
        HWND slider = GetDlgItem(open.page, IDC_APPEARANCE_TRANSPARENCY);
        SendWithTimeout(slider, TBM_SETPOS, TRUE, 30);
        SendWithTimeout(open.page, WM_HSCROLL, TB_THUMBPOSITION, reinterpret_cast<LPARAM>(slider));
        Tick(open.page, IDC_APPEARANCE_FOR_NEW_NOTES);
        ASSERT_TRUE(PressSheetButton(open.sheet, PSBTN_OK));

        HWND fresh = NewNoteFromCommandLine(install, process, "Fresh note");
        ASSERT_NE(fresh, nullptr);
        EXPECT_TRUE(GetWindowLongA(fresh, GWL_EXSTYLE) & WS_EX_LAYERED) << "made see-through";

        // The page's reset takes the defaults back, on a plain note too.
        NoteSheet again = OpenNoteSheet(fresh, process, IDC_APPEARANCE_TRANSPARENCY);
        ASSERT_NE(again.page, nullptr);
        Pick(again.page, IDC_APPEARANCE_BACKGROUND, 0);
        Pick(again.page, IDC_APPEARANCE_MARGIN, 0);
        SendWithTimeout(again.page, WM_COMMAND, MAKEWPARAM(IDC_APPEARANCE_RESET, BN_CLICKED),
                        reinterpret_cast<LPARAM>(GetDlgItem(again.page, IDC_APPEARANCE_RESET)));
        EXPECT_EQ(Picked(again.page, IDC_APPEARANCE_BACKGROUND), 2);
        EXPECT_EQ(Picked(again.page, IDC_APPEARANCE_MARGIN), 3);
        EXPECT_EQ(IsDlgButtonChecked(again.page, IDC_APPEARANCE_LINES), BST_CHECKED);
        EXPECT_EQ(SliderPosition(again.page), 30);
        ASSERT_TRUE(PressSheetButton(again.sheet, PSBTN_CANCEL));
        CloseProgram(install, program);
    }
    CurrentFolder data(install.Path());
    const StoredNoteList stored = LoadEveryNote(install.Path());
    const CNoteController* fresh = StoredWithText(stored, "Fresh note");
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->m_backgroundKind, 2);
    EXPECT_EQ(NoteLeftMarginKind(*fresh), 3u);
    EXPECT_EQ(NoteHorizontalLines(*fresh), 1u);
    EXPECT_EQ(NotePlainText(*fresh), 1u);
    EXPECT_EQ(fresh->Transparency(), 30);
}
