// The note settings sheet of the real program, opened from a note's
// Properties command: its frame, the Appearance page's transparency, title
// and preview clicks, and the Alarm page's time edit, arrows and values; what
// OK applies is in the notes table afterwards, and the margin line and ruled
// lines of the preview are on the note where the preview draws them.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/bytes/NoteColors.h"
#include "note/NoteController.h"
#include "note/NoteMessages.h"
#include "note/NoteSheetRecords.h"
#include "noteprops/AppearanceSettings.h"
#include "noteprops/AlarmPage.h"
#include "noteprops/NoteSheetDriving.h"
#include "resources/ids/NoteSettingsIds.h"
#include "resources/ids/TexturePickerIds.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/ExtraTries.h"
#include "support/NoteDriving.h"
#include "support/PictureFiles.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"

namespace {
void StoreSheetNote(const char* text)
{
    CNoteController note;
    note.m_userId = 1;
    note.m_left = 40;
    note.m_top = 60;
    note.m_width = 260;
    note.m_height = 170;
    note.m_bodyColor = RGB(255, 255, 190);
    note.m_titleColor = RGB(60, 110, 200);
    note.m_titleTextColor = RGB(255, 255, 255);
    lstrcpynA(note.m_title, text, sizeof note.m_title);
    const std::string rtf = std::string("{\\rtf1\\ansi ") + text + "}";
    note.SetRichText(rtf.data(), rtf.size());
    SaveNote(note);
}

void Click(HWND control)
{
    PostMessageA(control, BM_CLICK, 0, 0);
}

std::string TextOf(HWND window)
{
    return ReadWindowText(window);
}

// A click on the upper or lower arrow of an up-down control.
void ClickArrow(HWND arrows, bool up)
{
    RECT box = RectOf(arrows);
    const LPARAM at = MAKELPARAM((box.right - box.left) / 2, up ? 2 : (box.bottom - box.top) - 3);
    PostMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(arrows, WM_LBUTTONUP, 0, at);
}

// The lines of the margin and the ruled lines in a picture of the screen:
// where they start below the top of the body they are drawn on.
struct DrawnLines {
    int marginTop = -1;    // the first line pixel of the margin column
    int firstRuled = -1;   // the first row drawn across from `textLeft`
    int firstText = -1;    // the left-most dark pixel above the first ruled line: the text or the caret
};

DrawnLines FindLines(HWND window, int textLeft)
{
    RECT area{};
    GetClientRect(window, &area);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    const int width = area.right - area.left, height = area.bottom - area.top;
    const std::vector<COLORREF> pixels = ScreenPixels(area);
    const COLORREF tint = static_cast<COLORREF>(GetBackgroundTint(RGB(0, 0, 0)));
    auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; };
    DrawnLines lines;
    for (int y = 0; y < height && lines.marginTop < 0; ++y)
        if (CloseColour(at(25, y), tint))
            lines.marginTop = y;
    for (int y = 0; y < height && lines.firstRuled < 0; ++y) {
        int drawn = 0;
        for (int x = textLeft; x < width - 20; ++x)
            drawn += CloseColour(at(x, y), tint) ? 1 : 0;
        if (drawn * 10 >= (width - 20 - textLeft) * 9)
            lines.firstRuled = y;
    }
    for (int x = 0; x < width && lines.firstText < 0; ++x)
        for (int y = 0; y < lines.firstRuled; ++y)
            if (IsDarkPixel(at(x, y)))
                lines.firstText = x;
    return lines;
}

std::string TimeAfterMinutes(int minutes)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    const int total = (now.wHour * 60 + now.wMinute + minutes) % (24 * 60);
    char text[8];
    wsprintfA(text, "%02d:%02d", total / 60, total % 60);
    return text;
}
}

TEST(NoteSettingsSheet, BothPagesEditTheNoteAndOkAppliesThem)
{
    ProgramInstall install("notesettings");
    install.AddInstalledDataFiles();
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        StoreSheetNote("Settings note");
    }
    {
        RunningProgram program(install, "");
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        HWND note = WaitForNoteWithText(program.ProcessId(), "Settings note");
        ASSERT_NE(note, nullptr);
        const NoteSheet open = OpenNoteSheet(note, program.ProcessId(), IDC_APPEARANCE_TRANSPARENCY);
        ASSERT_NE(open.page, nullptr);
        HWND sheet = open.sheet;
        HWND appearance = open.page;
        EXPECT_EQ(GetWindowLongA(sheet, GWL_STYLE) & WS_SYSMENU, 0);
        HWND apply = GetDlgItem(sheet, 0x3021);
        EXPECT_TRUE(apply == nullptr || !IsWindowVisible(apply));
        EXPECT_EQ(TextOf(appearance), "  Appearance  ");

        // The slider keeps the rounded value the label shows.
        HWND slider = GetDlgItem(appearance, IDC_APPEARANCE_TRANSPARENCY);
        HWND label = GetDlgItem(appearance, IDC_APPEARANCE_TRANSPARENCY_LABEL);
        // Start-up found layered windows on this system.
        EXPECT_TRUE(IsWindowEnabled(slider));
        EXPECT_TRUE(IsWindowEnabled(label));
        const struct {
            int position;
            int shown;
        } steps[] = {{37, 40}, {33, 30}, {35, 35}, {3, 0}, {37, 40}};
        for (const auto& step : steps) {
            ASSERT_TRUE(SendWithTimeout(slider, TBM_SETPOS, TRUE, step.position));
            ASSERT_TRUE(SendWithTimeout(appearance, WM_HSCROLL, TB_THUMBPOSITION, reinterpret_cast<LPARAM>(slider)));
            const std::string expected = "(" + std::to_string(step.shown) + "%)";
            EXPECT_NE(TextOf(label).find(expected), std::string::npos) << step.position << ": " << TextOf(label);
            LRESULT position = 0;
            SendWithTimeout(slider, TBM_GETPOS, 0, 0, &position);
            EXPECT_EQ(position, step.shown);
        }
        // "Transparent" turns the slider off.
        HWND background = GetDlgItem(appearance, IDC_APPEARANCE_BACKGROUND);
        SendWithTimeout(background, CB_SETCURSEL, 5, 0);
        SendWithTimeout(appearance, WM_COMMAND, MAKEWPARAM(IDC_APPEARANCE_BACKGROUND, CBN_SELENDOK),
                        reinterpret_cast<LPARAM>(background));
        EXPECT_FALSE(IsWindowEnabled(slider));
        EXPECT_FALSE(IsWindowEnabled(label));
        SendWithTimeout(background, CB_SETCURSEL, 0, 0);
        SendWithTimeout(appearance, WM_COMMAND, MAKEWPARAM(IDC_APPEARANCE_BACKGROUND, CBN_SELENDOK),
                        reinterpret_cast<LPARAM>(background));
        EXPECT_TRUE(IsWindowEnabled(slider));
        EXPECT_TRUE(IsWindowEnabled(label));

        // Ctrl+click on the preview cycles the gradients, Shift+click the margin line.
        HWND preview = GetDlgItem(appearance, IDC_APPEARANCE_PREVIEW);
        RECT box = RectOf(preview);
        POINT inside = {(box.left + box.right) / 2, box.bottom - 4};
        ScreenToClient(appearance, &inside);
        const LPARAM at = MAKELPARAM(inside.x, inside.y);
        for (int expected : {1, 2, 3, 0}) {
            SendWithTimeout(appearance, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, at);
            LRESULT kind = -1;
            SendWithTimeout(background, CB_GETCURSEL, 0, 0, &kind);
            EXPECT_EQ(kind, expected);
        }
        HWND margin = GetDlgItem(appearance, IDC_APPEARANCE_MARGIN);
        for (int i = 0; i < 5; ++i)
            SendWithTimeout(appearance, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, at);
        LRESULT marginKind = -1;
        SendWithTimeout(margin, CB_GETCURSEL, 0, 0, &marginKind);
        EXPECT_EQ(marginKind, 0);
        SendWithTimeout(appearance, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, at);
        SendWithTimeout(appearance, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, at);
        // A solid margin line and the ruled lines in the preview, the first
        // ruled line a line of the body's font under the top of its body.
        Click(GetDlgItem(appearance, IDC_APPEARANCE_LINES));
        DrawnLines previewLines;
        EXPECT_TRUE(WaitUntil([&] {
            previewLines = FindLines(preview, 32);
            return previewLines.marginTop > 0 && previewLines.firstRuled > previewLines.marginTop;
        }));

        // The title takes 40 characters and no more.
        HWND title = GetDlgItem(appearance, IDC_APPEARANCE_TITLE);
        SendWithTimeout(title, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Settings note"));
        SendWithTimeout(title, EM_SETSEL, 13, 13);
        for (int i = 0; i < 28; ++i)
            SendWithTimeout(title, WM_CHAR, 'x', 0);
        EXPECT_EQ(TextOf(title).size(), 40u);
        EXPECT_TRUE(SaveScreenshotOf(sheet, "note-settings-appearance"));

        // The Alarm page: ticking the box proposes now plus five minutes.
        PostMessageA(sheet, PSM_SETCURSEL, 1, 0);
        HWND alarm = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            alarm = PageWith(sheet, IDC_ALARM_SET);
            return alarm != nullptr && IsWindowVisible(alarm);
        }));
        EXPECT_EQ(TextOf(alarm), " Alarm ");
        HWND time = GetDlgItem(alarm, IDC_ALARM_TIME);
        EXPECT_FALSE(IsWindowEnabled(time));
        const std::string before = TimeAfterMinutes(5);
        Click(GetDlgItem(alarm, IDC_ALARM_SET));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(time) != 0; }));
        const std::string proposed = TextOf(time);
        EXPECT_TRUE(proposed == before || proposed == TimeAfterMinutes(5)) << proposed;

        // The hour's digits: "3" first is refused, so is "4" after "2".
        SendWithTimeout(time, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("13:30"));
        SendWithTimeout(time, EM_SETSEL, 0, 0);
        SendWithTimeout(time, WM_CHAR, '3', 0);
        EXPECT_EQ(TextOf(time), "13:30");
        SendWithTimeout(time, WM_CHAR, '2', 0);
        SendWithTimeout(time, WM_CHAR, '4', 0);
        EXPECT_EQ(TextOf(time), "23:30");
        SendWithTimeout(time, WM_CHAR, '1', 0);
        SendWithTimeout(time, WM_CHAR, '4', 0);
        EXPECT_EQ(TextOf(time), "21:40");
        // Not in the time edit's focus, the arrows step the minute and wrap.
        SendWithTimeout(time, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("23:59"));
        ClickArrow(GetDlgItem(alarm, IDC_ALARM_TIME_SPIN), true);
        EXPECT_TRUE(WaitUntil([&] { return TextOf(time) == "23:00"; })) << TextOf(time);

        // The recurrence: off leaves no text; on, the value edit takes two digits.
        HWND next = GetDlgItem(alarm, IDC_ALARM_NEXT_TEXT);
        EXPECT_EQ(TextOf(next), "");
        Click(GetDlgItem(alarm, IDC_ALARM_RECURRING));
        ASSERT_TRUE(WaitUntil([&] { return TextOf(next).find("following alarm") != std::string::npos; }));
        EXPECT_EQ(TextOf(next).find("on ,"), std::string::npos) << TextOf(next);
        HWND value = GetDlgItem(alarm, IDC_ALARM_VALUE);
        EXPECT_EQ(TextOf(value), "01");
        LRESULT unit = -1;
        SendWithTimeout(GetDlgItem(alarm, IDC_ALARM_UNIT), CB_GETCURSEL, 0, 0, &unit);
        EXPECT_EQ(unit, 2);
        SendWithTimeout(value, EM_SETSEL, 0, -1);
        for (char c : std::string("300"))
            SendWithTimeout(value, WM_CHAR, c, 0);
        EXPECT_EQ(TextOf(value), "30");
        EXPECT_TRUE(SaveScreenshotOf(sheet, "note-settings-alarm"));

        // A zero value is refused when the edit is left.
        SendWithTimeout(value, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("0"));
        PostMessageA(alarm, kMsgCheckAlarmValue, IDC_ALARM_VALUE, 0);
        EXPECT_EQ(AcknowledgeProgramBox(program.ProcessId()), "Please enter a value greater than zero");
        SendWithTimeout(value, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("02"));
        HWND stop = GetDlgItem(alarm, IDC_ALARM_STOP_MINUTES);
        Click(GetDlgItem(alarm, IDC_ALARM_STOP_RINGING));
        ASSERT_TRUE(WaitUntil([&] { return TextOf(stop) == "10"; }));
        SendWithTimeout(stop, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("11"));
        PostMessageA(alarm, kMsgCheckAlarmValue, IDC_ALARM_STOP_MINUTES, 0);
        EXPECT_EQ(AcknowledgeProgramBox(program.ProcessId()), "Please enter a value less or equal than 10");
        SendWithTimeout(stop, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("07"));

        ASSERT_TRUE(PressSheetButton(sheet, PSBTN_OK));
        // The note is see-through by the slider's 40 %.
        EXPECT_TRUE(WaitUntil([&] { return (GetWindowLongA(note, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }));
        // Its body has the lines where the preview's body has them, and its
        // text starts right of the margin line.
        SetWindowPos(note, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        DrawnLines noteLines;
        EXPECT_TRUE(WaitUntil([&] {
            noteLines = FindLines(BodyOf(note), 30);
            return noteLines.marginTop == 4 &&
                   noteLines.firstRuled - noteLines.marginTop == previewLines.firstRuled - previewLines.marginTop &&
                   noteLines.firstText >= 30 && noteLines.firstText < 36;
        })) << noteLines.marginTop << " " << noteLines.firstRuled << " " << noteLines.firstText << " "
            << previewLines.marginTop << " " << previewLines.firstRuled;
        EXPECT_TRUE(SaveScreenshotOf(note, "note-settings-lines-applied"));
        CloseProgram(install, program);
    }
    CurrentFolder data(install.Path());
    const StoredNoteList notes = LoadEveryNote(install.Path());
    const CNoteController* found = nullptr;
    for (const auto& each : notes) {
        if (std::string(each->m_title).rfind("Settings note", 0) == 0)
            found = each.get();
    }
    ASSERT_NE(found, nullptr);
    const CNoteController& stored = *found;
    EXPECT_TRUE(stored.m_alarmSet);
    EXPECT_EQ(stored.m_alarm.m_hour, 23);
    EXPECT_EQ(stored.m_alarm.m_minute, 0);
    EXPECT_TRUE(stored.m_alarmRecurring);
    EXPECT_EQ(stored.m_alarmValue, 2);
    EXPECT_EQ(stored.m_alarmUnit, 3);
    EXPECT_EQ(stored.m_stopAfterMinutes, 7);
    EXPECT_EQ(stored.Transparency(), 40);
    EXPECT_EQ(std::string(stored.m_title).size(), 40u);
    EXPECT_EQ(NoteLeftMarginKind(stored), 2u);
    EXPECT_EQ(NoteHorizontalLines(stored), 1u);
    // Stored without fonts, the note took the ones the page showed: its
    // body's and its caption's, never an empty font of no size.
    EXPECT_STRNE(stored.m_bodyFont.lfFaceName, "");
    EXPECT_LT(stored.m_bodyFont.lfHeight, 0);
    EXPECT_STREQ(stored.m_titleFont.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(stored.m_titleFont.lfHeight, -11);
    EXPECT_EQ(stored.m_titleFont.lfWeight, FW_NORMAL);
}

namespace {
// The background combo set to a kind as the user picks it; posted, because
// the picture kind opens the texture picker at once.
void PickBackground(HWND appearance, int kind)
{
    HWND background = GetDlgItem(appearance, IDC_APPEARANCE_BACKGROUND);
    SendWithTimeout(background, CB_SETCURSEL, kind, 0);
    PostMessageA(appearance, WM_COMMAND, MAKEWPARAM(IDC_APPEARANCE_BACKGROUND, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(background));
}

LRESULT BackgroundKindShown(HWND appearance)
{
    LRESULT kind = -1;
    SendWithTimeout(GetDlgItem(appearance, IDC_APPEARANCE_BACKGROUND), CB_GETCURSEL, 0, 0, &kind);
    return kind;
}

// The text of the program's tip on show; empty while none shows.
std::string ShownTip(DWORD process)
{
    for (HWND tip : TopWindowsOf(process, TOOLTIPS_CLASSA))
        if (IsWindowVisible(tip))
            return ReadWindowText(tip);
    return "";
}

// The mouse brought to a point of the page's preview (in the preview's
// client area) and resting there with the keys held; the tip shown there,
// once it reads as expected (else the last one seen). Keys pressed with
// SendInput were seen not to stay held here (the system's next move of the
// mouse told none), so the keys are told in a move the test sends once the
// pointer rests; every move the system makes itself tells no keys held. The
// pointer moves only when it is not at the point already, so that no move of
// the system's follows the test's. One that still came after it (the tip
// shows the text of no keys held once the test's move was handled) is the
// one thing that makes the move again, at most twice; the tip itself is
// waited for as long as the driver waits for anything.
std::string TipOverPreview(DWORD process, HWND appearance, POINT point, WPARAM keys, const std::string& expected,
                           const std::string& withoutKeys)
{
    HWND preview = GetDlgItem(appearance, IDC_APPEARANCE_PREVIEW);
    POINT onScreen = point;
    ClientToScreen(preview, &onScreen);
    POINT rests{};
    if (!GetCursorPos(&rests) || rests.x != onScreen.x || rests.y != onScreen.y)
        SetCursorPos(onScreen.x, onScreen.y);
    POINT onPage = point;
    MapWindowPoints(preview, appearance, &onPage, 1);
    std::string shown;
    for (int round = 1;; ++round) {
        SendWithTimeout(appearance, WM_MOUSEMOVE, keys, MAKELPARAM(onPage.x, onPage.y));
        WaitUntil([&] {
            shown = ShownTip(process);
            return shown == expected || (keys != 0 && shown == withoutKeys);
        });
        if (shown == expected || keys == 0 || shown != withoutKeys || round == 3)
            return shown;
        ReportExtraTry("the keys told again in a move over the preview", round + 1,
                       "the tip showed the text of no keys held, \"" + shown +
                           "\", after the test's move was handled: a move of the system's own came after it");
    }
}

// The line of a list box of the program that reads so; -1 when none does.
LRESULT ListLineOf(HWND list, const char* text)
{
    LRESULT line = LB_ERR;
    SendWithTimeout(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text), &line);
    return line;
}
}

TEST(NoteSettingsSheet, TheImageBackgroundIsChosenInTheTexturePickerAndKeptAfterARestart)
{
    ProgramInstall install("notetexture");
    install.AddInstalledDataFiles();
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        StoreSheetNote("Texture note");
    }
    const std::string textures = install.Path() + "\\TEXTURES";
    {
        RunningProgram program(install, "");
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        HWND note = WaitForNoteWithText(program.ProcessId(), "Texture note");
        ASSERT_NE(note, nullptr);
        NoteSheet open = OpenNoteSheet(note, program.ProcessId(), IDC_APPEARANCE_TRANSPARENCY);
        ASSERT_NE(open.page, nullptr);

        // Without a TEXTURES folder the user is told to make one.
        PickBackground(open.page, 4);
        EXPECT_EQ(AcknowledgeProgramBox(program.ProcessId()),
                  "Sorry, the folder '" + install.Path() +
                      "\\TEXTURES'is missing.\r\n\r\nPlease create this folder, copy into it some nice images and "
                      "then try again.");

        // With it, the picker lists its pictures; the one chosen, stretched,
        // becomes the note's background.
        ASSERT_TRUE(CreateDirectoryA(textures.c_str(), nullptr));
        WriteWholeFile(textures + "\\wood.bmp", SquareBitmap(24, RGB(170, 120, 60)));
        WriteWholeFile(textures + "\\sky.jpg", GreyJpeg24x16());
        PickBackground(open.page, 4);
        HWND picker = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            picker = FindTopWindowTitled("#32770", "Select an image for the note background", program.ProcessId());
            return picker && SendMessageA(GetDlgItem(picker, IDC_PICTURE_LIST), LB_GETCOUNT, 0, 0) == 3;
        }));
        HWND list = GetDlgItem(picker, IDC_PICTURE_LIST);
        EXPECT_EQ(ListLineOf(list, "  NoImage"), 0);
        EXPECT_EQ(ListLineOf(list, "wood.bmp"), 1);
        EXPECT_EQ(ListLineOf(list, "sky.jpg"), 2);
        ASSERT_TRUE(SendWithTimeout(list, LB_SETCURSEL, 1, 0));
        PostMessageA(GetDlgItem(picker, IDC_TEXTURE_STRETCH), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return IsDlgButtonChecked(picker, IDC_TEXTURE_STRETCH) == BST_CHECKED; }));
        EXPECT_TRUE(SaveScreenshotOf(picker, "note-texture-picker"));
        PostMessageA(picker, WM_COMMAND, IDC_PICTURE_OK, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(picker); }));
        EXPECT_EQ(BackgroundKindShown(open.page), 4);
        EXPECT_TRUE(SaveScreenshotOf(open.sheet, "note-settings-texture"));
        ASSERT_TRUE(PressSheetButton(open.sheet, PSBTN_OK));
        CloseProgram(install, program);
    }
    {
        CurrentFolder data(install.Path());
        const StoredNoteList notes = LoadEveryNote(install.Path());
        const CNoteController* stored = StoredNoteTitled(notes, "Texture note");
        ASSERT_NE(stored, nullptr);
        EXPECT_EQ(stored->m_backgroundKind, 4);
        EXPECT_EQ(stored->m_textureId, TextureIdOfFile("wood.bmp"));
        EXPECT_TRUE(stored->m_textureStretch);
    }
    // Started again, the note finds its picture by the stored id.
    RunningProgram program(install, "");
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    HWND note = WaitForNoteWithText(program.ProcessId(), "Texture note");
    ASSERT_NE(note, nullptr);
    NoteSheet open = OpenNoteSheet(note, program.ProcessId(), IDC_APPEARANCE_TRANSPARENCY);
    ASSERT_NE(open.page, nullptr);
    EXPECT_EQ(BackgroundKindShown(open.page), 4);

    // Over a picture a Ctrl+click is a plain click: it opens the picker, on
    // the note's picture.
    RECT previewBox = RectOf(GetDlgItem(open.page, IDC_APPEARANCE_PREVIEW));
    POINT bodyPoint = {(previewBox.left + previewBox.right) / 2, previewBox.bottom - 4};
    ScreenToClient(open.page, &bodyPoint);
    PostMessageA(open.page, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(bodyPoint.x, bodyPoint.y));
    HWND picker = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        picker = FindTopWindowTitled("#32770", "Select an image for the note background", program.ProcessId());
        return picker && SendMessageA(GetDlgItem(picker, IDC_PICTURE_LIST), LB_GETCOUNT, 0, 0) == 3;
    }));
    LRESULT selected = LB_ERR;
    SendWithTimeout(GetDlgItem(picker, IDC_PICTURE_LIST), LB_GETCURSEL, 0, 0, &selected);
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(IsDlgButtonChecked(picker, IDC_TEXTURE_STRETCH), BST_CHECKED);
    PostMessageA(picker, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(picker); }));
    EXPECT_EQ(BackgroundKindShown(open.page), 4);

    // With a margin line as well, Ctrl+Shift+click resets both: plain
    // colour, no margin line.
    const LPARAM atBody = MAKELPARAM(bodyPoint.x, bodyPoint.y);
    SendWithTimeout(open.page, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, atBody);
    LRESULT marginKind = -1;
    SendWithTimeout(GetDlgItem(open.page, IDC_APPEARANCE_MARGIN), CB_GETCURSEL, 0, 0, &marginKind);
    EXPECT_EQ(marginKind, 1);
    SendWithTimeout(open.page, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT | MK_CONTROL, atBody);
    SendWithTimeout(GetDlgItem(open.page, IDC_APPEARANCE_MARGIN), CB_GETCURSEL, 0, 0, &marginKind);
    EXPECT_EQ(marginKind, 0);
    EXPECT_EQ(BackgroundKindShown(open.page), 0);
    PickBackground(open.page, 4);
    picker = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        picker = FindTopWindowTitled("#32770", "Select an image for the note background", program.ProcessId());
        return picker && SendMessageA(GetDlgItem(picker, IDC_PICTURE_LIST), LB_GETCOUNT, 0, 0) == 3;
    }));
    SendWithTimeout(GetDlgItem(picker, IDC_PICTURE_LIST), LB_SETCURSEL, 1, 0);
    PostMessageA(picker, WM_COMMAND, IDC_PICTURE_OK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(picker); }));
    EXPECT_EQ(BackgroundKindShown(open.page), 4);

    // Over the preview the tips tell what a click does, Shift or Ctrl held or
    // not; Ctrl changes nothing over a picture.
    RECT preview{};
    GetClientRect(GetDlgItem(open.page, IDC_APPEARANCE_PREVIEW), &preview);
    const DWORD process = program.ProcessId();
    // Each tip with the keys after the one the point shows without them.
    std::string withoutKeys;
    auto expectTip = [&](POINT point, WPARAM keys, const std::string& text) {
        if (!keys)
            withoutKeys = text;
        EXPECT_EQ(TipOverPreview(process, open.page, point, keys, text, withoutKeys), text)
            << point.x << "," << point.y;
    };
    expectTip({preview.right / 4, 3}, 0, "Click to change the title text colour/font");
    expectTip({preview.right * 3 / 4, 3}, 0, "Click to change the title background colour");
    const POINT body = {preview.right / 2, preview.bottom - 3};
    expectTip(body, 0, "Click to select an image for the note background");
    expectTip(body, MK_CONTROL, "Click to select an image for the note background");
    expectTip(body, MK_SHIFT, "Click to toggle left margin line setting");
    expectTip(body, MK_SHIFT | MK_CONTROL, "Click to reset left margin line and gradient settings");
    EXPECT_TRUE(SaveScreenshotOf(open.sheet, "note-settings-preview-tip"));
    PickBackground(open.page, 0);
    expectTip(body, 0, "Click to change the note background colour");
    expectTip(body, MK_CONTROL, "Click to toggle gradient setting");
    ASSERT_TRUE(PressSheetButton(open.sheet, PSBTN_CANCEL));
    CloseProgram(install, program);
}

namespace {
const WPARAM kHotkeyNewAlarmNote = 23;

// A deleted note's window stays, hidden, on the list of deleted notes.
size_t ShownNotes(DWORD process)
{
    size_t shown = 0;
    for (HWND note : NoteWindows(process))
        shown += IsWindowVisible(note) ? 1 : 0;
    return shown;
}

}

TEST(NoteSettingsSheet, TheHourWrapsOnItsDayAndCancelDeletesOnlyANewAlarmNoteLeftBlank)
{
    ProgramInstall install("notealarmcancel");
    install.AddInstalledDataFiles();
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        StoreSheetNote("ab");
    }
    SYSTEMTIME proposed{};
    {
        RunningProgram program(install, "");
        const DWORD process = program.ProcessId();
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        HWND shortNote = WaitForNoteWithText(process, "ab");
        ASSERT_NE(shortNote, nullptr);

        // With the caret in the hour, the up arrow turns 23 into 00 of the
        // same day.
        PostMessageA(shortNote, WM_COMMAND, kNoteCmdEditAlarm, 0);
        HWND sheet = nullptr;
        HWND alarm = OpenAlarmPage(process, sheet);
        ASSERT_NE(alarm, nullptr);
        HWND time = GetDlgItem(alarm, IDC_ALARM_TIME);
        Click(GetDlgItem(alarm, IDC_ALARM_SET));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(time) != 0; }));
        GetLocalTime(&proposed);
        SendWithTimeout(time, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("23:45"));
        const RECT edit = RectOf(time);
        const LPARAM hourDigit = MAKELPARAM(3, (edit.bottom - edit.top) / 2);
        PostMessageA(time, WM_LBUTTONDOWN, MK_LBUTTON, hourDigit);
        PostMessageA(time, WM_LBUTTONUP, 0, hourDigit);
        ClickArrow(GetDlgItem(alarm, IDC_ALARM_TIME_SPIN), true);
        EXPECT_TRUE(WaitUntil([&] { return TextOf(time) == "00:45"; })) << TextOf(time);
        PressSheetButton(sheet, PSBTN_OK);

        // Cancelled, the sheet leaves an existing short note alone...
        PostMessageA(shortNote, WM_COMMAND, kNoteCmdEditAlarm, 0);
        ASSERT_NE(OpenAlarmPage(process, sheet), nullptr);
        PressSheetButton(sheet, PSBTN_CANCEL);

        // ...but a note made by the new-alarm-note key and left blank goes.
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            CloseClipboard();
        }
        const size_t notes = ShownNotes(process);
        PostMessageA(main, WM_HOTKEY, kHotkeyNewAlarmNote, 0);
        alarm = OpenAlarmPage(process, sheet);
        ASSERT_NE(alarm, nullptr);
        EXPECT_EQ(IsDlgButtonChecked(alarm, IDC_ALARM_SET), BST_CHECKED);
        EXPECT_EQ(ShownNotes(process), notes + 1);
        PressSheetButton(sheet, PSBTN_CANCEL);
        EXPECT_TRUE(WaitUntil([&] {
            const ShownMessageBox box = WaitForMessageBox(process, 50);
            if (box.window)
                AnswerMessageBox(box, IDYES);
            return ShownNotes(process) == notes;
        }));
        EXPECT_TRUE(IsWindowVisible(shortNote));
        CloseProgram(install, program);
    }
    CurrentFolder data(install.Path());
    const StoredNoteList stored = LoadEveryNote(install.Path());
    const CNoteController* kept = StoredNoteTitled(stored, "ab");
    ASSERT_NE(kept, nullptr);
    EXPECT_TRUE(kept->m_alarmSet);
    EXPECT_EQ(kept->m_alarm.m_hour, 0);
    EXPECT_EQ(kept->m_alarm.m_minute, 45);
    // The day the page proposed, five minutes on from when the box was ticked.
    FILETIME asFileTime{};
    SystemTimeToFileTime(&proposed, &asFileTime);
    ULARGE_INTEGER ticks{{asFileTime.dwLowDateTime, asFileTime.dwHighDateTime}};
    ticks.QuadPart += 5ULL * 60 * 10000000;
    asFileTime = {ticks.LowPart, ticks.HighPart};
    SYSTEMTIME day{};
    FileTimeToSystemTime(&asFileTime, &day);
    EXPECT_EQ(kept->m_alarm.m_day, day.wDay);
    EXPECT_EQ(kept->m_alarm.m_month, day.wMonth);
}

TEST(NoteSettingsSheet, TheFollowingMonthlyAlarmOfALastDayFallsOnTheLastDayOfTheNextMonth)
{
    ProgramInstall install("notealarmlastday");
    install.AddInstalledDataFiles();
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        CNoteController note;
        FillTestNote(note, "Rent note", 60, 100);
        note.m_alarmSet = true;
        note.m_alarm = CDateTime(30, 4, 2031, 9, 15, 0);
        note.m_alarmRecurring = true;
        note.m_alarmUnit = 5;
        note.m_alarmValue = 1;
        SaveNote(note);
    }
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    HWND note = WaitForNoteWithText(process, "Rent note");
    ASSERT_NE(note, nullptr);
    PostMessageA(note, WM_COMMAND, kNoteCmdEditAlarm, 0);
    HWND sheet = nullptr;
    HWND alarm = OpenAlarmPage(process, sheet);
    ASSERT_NE(alarm, nullptr);
    HWND next = GetDlgItem(alarm, IDC_ALARM_NEXT_TEXT);
    std::string shown;
    EXPECT_TRUE(WaitUntil([&] { return (shown = TextOf(next)).find("following alarm") != std::string::npos; }));
    // The date in the system's short form (the install sets no format of its own).
    EXPECT_NE(shown.find(" 5/31/2031, "), std::string::npos) << shown;
    PressSheetButton(sheet, PSBTN_CANCEL);
    CloseProgram(install, program);
}
