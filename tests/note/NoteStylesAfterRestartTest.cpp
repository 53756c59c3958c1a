// A note's character styles, made as a user makes them, are the same after
// the tray's Exit and the next start, each where it was given and nowhere
// else: typed words, all of them made bold with Ctrl+A and Ctrl+B, one word
// slanted with Ctrl+I and one underlined with Ctrl+U; then a style's text
// whose first word was made larger and whose second red in the style text
// dialog's font choice, put into the note by loading that style on the
// note's settings sheet. The control reports each format, and the screen
// shows the red word red and the larger word's line taller.
#include <windows.h>

#include <richedit.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "globals/NoteStyle.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "resources/ids/NoteSettingsIds.h"
#include "resources/ids/StyleTextIds.h"
#include "store/StyleStorage.h"
#include "support/CurrentFolder.h"
#include "support/DialogClicks.h"
#include "support/FontDialogDriving.h"
#include "support/KeyPresses.h"
#include "support/ListViewDriving.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/NoticeReading.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
const char kTyped[] = "Bold Slant Lined ";
const char kLastWord[] = "Red";
// The second style's text as the test stores it, before its words are given
// a size and a colour in the program.
const char kStyleWords[] = "Tall Tint";
const int kStyle = 1;
const char kStyleTextCaption[] = "Text of Style 2 - 'Sized'";
const LONG kTallTwips = 20 * 20;
const COLORREF kRed = RGB(255, 0, 0);

// The character format of the body's text from first to last, as the
// running program's control reports it for that selection.
struct ShownFormat {
    bool read = false;
    CHARFORMAT2A format{};
};

ShownFormat FormatOf(DWORD process, HWND body, LONG first, LONG last)
{
    ShownFormat shown;
    RemoteBlock block(process, sizeof shown.format);
    shown.format.cbSize = sizeof shown.format;
    shown.read = SendWithTimeout(body, EM_SETSEL, first, last) && block.Write(&shown.format, sizeof shown.format) &&
                 SendWithTimeout(body, EM_GETCHARFORMAT, SCF_SELECTION, block.Param()) &&
                 block.Read(&shown.format, sizeof shown.format);
    return shown;
}

// Where the word starts among the control's characters, which count a line
// break as one; -1 when the body does not show it.
LONG PositionOf(HWND body, const std::string& word)
{
    std::string text = ReadWindowText(body);
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.erase(at + 1, 1);
    const size_t at = text.find(word);
    return at == std::string::npos ? -1 : static_cast<LONG>(at);
}

// Every style where it was given, and nowhere else.
void ExpectTheStyles(DWORD process, HWND body, const char* when)
{
    SCOPED_TRACE(when);
    const DWORD effects = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE;
    // The style's words go in at the end of the bold text and take its
    // weight, as typing there would.
    const struct {
        const char* word;
        DWORD effect;
        bool tall, red;
    } words[] = {{"Bold", CFE_BOLD, false, false},  {"Slant", CFE_BOLD | CFE_ITALIC, false, false},
                 {"Lined", CFE_BOLD | CFE_UNDERLINE, false, false}, {"Red", CFE_BOLD, false, false},
                 {"Tall", CFE_BOLD, true, false}, {"Tint", CFE_BOLD, false, true}};
    LONG typedHeight = 0;
    for (const auto& word : words) {
        SCOPED_TRACE(word.word);
        const LONG first = PositionOf(body, word.word);
        ASSERT_GE(first, 0) << ReadWindowText(body);
        const ShownFormat shown = FormatOf(process, body, first, first + static_cast<LONG>(std::strlen(word.word)));
        ASSERT_TRUE(shown.read);
        const CHARFORMAT2A& format = shown.format;
        EXPECT_EQ(format.dwEffects & effects, word.effect);
        const bool red = !(format.dwEffects & CFE_AUTOCOLOR) && format.crTextColor == kRed;
        EXPECT_EQ(red, word.red) << std::hex << "colour " << format.crTextColor << ", effects " << format.dwEffects;
        EXPECT_NE(format.dwMask & CFM_SIZE, 0u) << "the word is of one size";
        if (word.tall) {
            EXPECT_EQ(format.yHeight, kTallTwips);
        } else {
            EXPECT_LT(format.yHeight, kTallTwips);
        }
        // The typed words keep the note's one size.
        if (!typedHeight) {
            typedHeight = format.yHeight;
        } else if (!word.tall && !word.red) {
            EXPECT_EQ(format.yHeight, typedHeight);
        }
    }
    // The caret at the end, below the lines the screen is read from.
    SendWithTimeout(body, EM_SETSEL, -1, -1);
}

// The bands of rows of the body on the screen that show anything but its
// background (the colour of its bottom right corner), from the top; a gap of
// a row or two (above an underline) stays within its band.
struct Band {
    int top = 0, height = 0;
    int redPixels = 0;
};
const int kGapBetweenLines = 3;

bool IsRedPixel(COLORREF colour)
{
    return GetRValue(colour) >= 160 && GetGValue(colour) <= 100 && GetBValue(colour) <= 100;
}

std::vector<Band> DrawnBands(HWND body)
{
    RECT area = RectOf(body);
    const int width = area.right - area.left;
    const std::vector<COLORREF> pixels = ScreenPixels(area);
    std::vector<Band> bands;
    if (width <= 0 || pixels.empty())
        return bands;
    const COLORREF background = pixels.back();
    const int rows = static_cast<int>(pixels.size()) / width;
    int lastDrawn = -kGapBetweenLines;
    for (int y = 0; y < rows; ++y) {
        int drawn = 0, red = 0;
        for (int x = 0; x < width; ++x) {
            const COLORREF pixel = pixels[static_cast<size_t>(y * width + x)];
            drawn += CloseColour(pixel, background) ? 0 : 1;
            red += IsRedPixel(pixel) ? 1 : 0;
        }
        if (!drawn)
            continue;
        if (y - lastDrawn >= kGapBetweenLines)
            bands.push_back(Band{y, 0, 0});
        bands.back().height = y - bands.back().top + 1;
        bands.back().redPixels += red;
        lastDrawn = y;
    }
    return bands;
}

// What the screen shows of the note, with the program's other notes hidden:
// the typed line without red, the style's line below it taller and with red
// in it.
void ExpectTheDrawnStyles(HWND main, HWND note, const char* picture)
{
    SCOPED_TRACE(picture);
    DWORD process = 0;
    GetWindowThreadProcessId(note, &process);
    HideNotesBesides(process, main, {note});
    ASSERT_TRUE(SaveScreenshotOf(note, picture));
    const std::vector<Band> bands = DrawnBands(BodyOf(note));
    ASSERT_GE(bands.size(), 2u);
    EXPECT_EQ(bands[0].redPixels, 0);
    EXPECT_GT(bands[1].redPixels, 10);
    EXPECT_GT(bands[1].height * 2, bands[0].height * 3) << "line heights " << bands[0].height << " and "
                                                         << bands[1].height;
}

bool ExitFromTheTray(HWND main, DWORD process, RunningProgram& program)
{
    // Up goes round to the menu's last entry, Exit.
    HWND tray = OpenTrayMenu(main, process);
    if (!tray)
        return false;
    PressMenuKey(tray, VK_UP);
    PressMenuKey(tray, VK_RETURN);
    DWORD exitCode = 1;
    return program.WaitForExit(&exitCode) && exitCode == 0;
}

LOGFONTA NamedFont(const char* face, LONG height, LONG weight)
{
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    return font;
}

// The second style stored with plain words of its own, and the style as the
// test process had it put back afterwards.
class SeededStyle {
public:
    explicit SeededStyle(const ProgramInstall& install) : m_kept(UserSettings().styles[kStyle])
    {
        CurrentFolder data(install.Path());
        CNoteStyle& style = UserSettings().styles[kStyle];
        style = CNoteStyle();
        style.undefined = 0;
        style.backgroundColor = RGB(255, 255, 210);
        style.titleBackgroundColor = RGB(90, 150, 200);
        style.hasBorder = 1;
        style.bodyFont = NamedFont("Tahoma", -13, FW_NORMAL);
        style.titleFont = NamedFont("Tahoma", -11, FW_BOLD);
        style.SetName("Sized");
        style.SetText((std::string("{\\rtf1\\ansi ") + kStyleWords + "}").c_str());
        SaveV6Style(kStyle);
    }
    ~SeededStyle() { UserSettings().styles[kStyle] = m_kept; }
    SeededStyle(const SeededStyle&) = delete;
    SeededStyle& operator=(const SeededStyle&) = delete;

private:
    CNoteStyle m_kept;
};

HWND WaitForTopWindow(DWORD process, const char* title)
{
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindTopWindowTitled("#32770", title, process)) && IsWindowVisible(window); });
    return window;
}

// The page of the settings sheet that holds the style buttons.
HWND StylesPage(HWND sheet)
{
    HWND page = nullptr;
    WaitUntil([&] {
        for (HWND child = GetWindow(sheet, GW_CHILD); child && !page; child = GetWindow(child, GW_HWNDNEXT))
            if (WindowClassOf(child) == "#32770" && GetDlgItem(child, IDC_APPEARANCE_STYLE_2) &&
                IsWindowVisible(child))
                page = child;
        return page != nullptr;
    });
    return page;
}

POINT MiddleOfStyleWindow(HWND window)
{
    const RECT place = RectOf(window);
    return {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
}

// In the style text dialog: the selection given a font through its Font
// button and the font dialog.
void ChooseFontForSelection(HWND dialog, DWORD process, const FontChoice& choice)
{
    ASSERT_TRUE(WindowReadItsNotices(dialog));
    ClickAt(MiddleOfStyleWindow(GetDlgItem(dialog, IDC_STYLE_TEXT_FONT)));
    ASSERT_TRUE(AnswerFontDialog(process, "Font", choice));
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }));
}

// The note's menu, its settings sheet, the second style's button menu and
// its text: the first word made 20 points high, the second red, both of the
// note's face; saved, the
// style loaded with a click on its button and the sheet closed with OK,
// which puts the text at the note's caret.
void GiveSizeAndColourThroughTheStyleText(HWND note, DWORD process)
{
    RightClickAt(MiddleOfStyleWindow(BodyOf(note)));
    HWND menu = WaitForOpenMenus(process, 1);
    ASSERT_NE(menu, nullptr);
    PressMenuKey(menu, 'S');
    HWND sheet = WaitForTopWindow(process, "Note settings...");
    ASSERT_NE(sheet, nullptr);
    HWND page = StylesPage(sheet);
    ASSERT_NE(page, nullptr);

    HWND button = GetDlgItem(page, IDC_APPEARANCE_STYLE_2);
    ASSERT_TRUE(WindowReadItsNotices(sheet));
    RightClickAt(MiddleOfStyleWindow(button));
    HWND styleMenu = WaitForOpenMenus(process, 1);
    ASSERT_NE(styleMenu, nullptr);
    const MenuPicture items(styleMenu, "iii-i-i");
    ASSERT_TRUE(WaitUntil([&] { return MenuPicture(styleMenu, "iii-i-i").HasDarkText(4); }));
    ClickAt(items.ItemMiddle(4));
    HWND dialog = WaitForTopWindow(process, kStyleTextCaption);
    ASSERT_NE(dialog, nullptr);
    HWND edit = GetDlgItem(dialog, IDC_STYLE_TEXT_EDIT);
    ASSERT_EQ(ReadWindowText(edit), kStyleWords);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog && FocusedWindowOf(dialog) == edit; }));

    // The first word with the space after it, then the last word.
    PressKeys({VK_CONTROL, VK_HOME});
    PressKeys({VK_CONTROL, VK_SHIFT, VK_RIGHT});
    ASSERT_NO_FATAL_FAILURE(ChooseFontForSelection(dialog, process, FontChoice{"Tahoma", "20", 0, 0}));
    PressKeys({VK_CONTROL, VK_END});
    PressKeys({VK_CONTROL, VK_SHIFT, VK_LEFT});
    ASSERT_NO_FATAL_FAILURE(ChooseFontForSelection(dialog, process, FontChoice{"Tahoma", "10", 'R', kRed}));
    ASSERT_TRUE(SaveScreenshotOf(dialog, "note-styles-style-text"));
    ASSERT_TRUE(ClickDialogButton(dialog, IDC_STYLE_TEXT_SAVE));

    ASSERT_TRUE(WindowReadItsNotices(sheet));
    ClickAt(MiddleOfStyleWindow(button));
    ASSERT_TRUE(ClickDialogButton(sheet, IDOK));
}
}

TEST(NoteStylesAfterRestart, EffectsSizeAndColourComeBackAfterExit)
{
    ProgramInstall install("styles");
    install.AddInstalledDataFiles();
    SeededStyle seeded(install);
    const std::string typed = std::string(kTyped) + kLastWord;
    HWND note = nullptr;
    std::string shown;
    {
        RunningProgram program(install, "");
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        const DWORD process = program.ProcessId();
        ASSERT_TRUE(WaitForTheStartsFocus(process));
        note = NewNoteFromMainWindow(main, process);
        ASSERT_NE(note, nullptr);
        HWND body = BodyOf(note);
        ASSERT_TRUE(ClickIntoBody(note));
        PressKeys({VK_CONTROL, 'A'});
        PressKeys({VK_DELETE});
        TypeOnTheKeyboard(kTyped);
        TypeOnTheKeyboard(kLastWord);
        ASSERT_TRUE(WaitUntil([&] { return ReadWindowText(body) == typed; })) << ReadWindowText(body);
        // All of it bold, then word by word from the second: selected with
        // Ctrl+Shift+Right, its style given by its keys, then the caret moved
        // past it.
        const LONG end = static_cast<LONG>(typed.size());
        PressKeys({VK_CONTROL, 'A'});
        // All of it, with the paragraph's end that the control selects too.
        ASSERT_TRUE(WaitUntil([&] {
            const EditSelection selection = ReadSelection(body);
            return selection.first == 0 && selection.last >= end;
        }));
        PressKeys({VK_CONTROL, 'B'});
        PressKeys({VK_CONTROL, VK_HOME});
        PressKeys({VK_CONTROL, VK_RIGHT});
        for (BYTE styleKey : {'I', 'U'}) {
            PressKeys({VK_CONTROL, VK_SHIFT, VK_RIGHT});
            PressKeys({VK_CONTROL, styleKey});
            PressKeys({VK_RIGHT});
        }
        // The caret at the end again only once every key above was handled.
        PressKeys({VK_CONTROL, VK_END});
        ASSERT_TRUE(WaitUntil([&] { return ReadSelection(body) == EditSelection{end, end}; }));
        ASSERT_TRUE(FormatOf(process, body, 11, 16).format.dwEffects & CFE_UNDERLINE);
        // The caret back at the end, where the style's text goes.
        PressKeys({VK_CONTROL, VK_END});
        EXPECT_EQ(ReadWindowText(body), typed) << "a style's key typed its character";
        ASSERT_NO_FATAL_FAILURE(GiveSizeAndColourThroughTheStyleText(note, process));
        ASSERT_TRUE(WaitUntil([&] { return PositionOf(body, kStyleWords) > 0; })) << ReadWindowText(body);
        shown = ReadWindowText(body);
        ExpectTheStyles(process, body, "before the Exit");
        ExpectTheDrawnStyles(main, note, "note-styles-before-exit");
        ASSERT_TRUE(ExitFromTheTray(main, process, program));
    }

    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    note = WaitForNoteWithText(process, shown);
    ASSERT_NE(note, nullptr);
    ExpectTheStyles(process, BodyOf(note), "after the start");
    ExpectTheDrawnStyles(main, note, "note-styles-after-start");
    CloseProgram(install, program);
}
