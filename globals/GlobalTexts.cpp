#include "globals/GlobalTexts.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/StartupValues.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/BackgroundPainting.h"
#include "foundation/win/SystemProbes.h"
#include "resources/ids/GlobalsIds.h"
#include "globals/ProgramGlobals.h"

namespace {
CGlobalTexts g_texts;
CSnoozeChoices g_choices;
CProgramCursors g_cursors;

template <size_t N>
void Load(HINSTANCE instance, UINT id, char (&buffer)[N])
{
    buffer[0] = '\0';
    LoadStringA(instance, id, buffer, static_cast<int>(N));
}

template <size_t Rows, size_t N>
void LoadTable(HINSTANCE instance, const UINT (&ids)[Rows], char (&table)[Rows][N])
{
    for (size_t i = 0; i < Rows; ++i)
        Load(instance, ids[i], table[i]);
}

// A unit table: a single blank, then the six unit words.
template <size_t N>
void LoadUnits(HINSTANCE instance, const UINT (&ids)[6], char (&table)[7][N])
{
    std::snprintf(table[0], N, " ");
    for (int i = 0; i < 6; ++i)
        Load(instance, ids[i], table[i + 1]);
}

HINSTANCE ProgramInstance()
{
    HINSTANCE instance = GetStartupValues().instance;
    return instance ? instance : GetModuleHandleA(nullptr);
}

// The system's text of the last error.
std::string LastErrorText()
{
    char text[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, GetLastError(), 0, text,
                   sizeof text, nullptr);
    return text;
}

HCURSOR LoadProgramCursor(HINSTANCE instance, UINT id, const char* failureText)
{
    HCURSOR cursor = LoadCursorA(instance, MAKEINTRESOURCEA(id));
    if (!cursor && failureText)
        ShowErrorMessage(nullptr, failureText, ProgramTitle);
    return cursor;
}

struct CloseButton {
    UINT id;
    const char* failureText;
};

CloseButton ChooseCloseButton()
{
    const WindowsVersionInfo& windows = GetStartupValues().windows;
    const bool colourScheme = GetXpColorScheme() != 0;
    if (windows.isVistaOrLater && colourScheme)
        return {IDB_CLOSEVISTASMALL, "Loading IDB_CLOSEVISTASMALL failed"};
    if (windows.isWindowsXp && colourScheme)
        return {IDB_CLOSEXP, "Loading IDB_CLOSEXP failed"};
    bool olderThanXp = !windows.isWindowsXp && !windows.isVistaOrLater;
    return {IDB_CLOSE98, olderThanXp ? "Loading IDB_CLOSE98" : "Loading IDB_CLOSE98 failed"};
}
}

const CGlobalTexts& GlobalTexts()
{
    return g_texts;
}

void InitGlobalStrings()
{
    HINSTANCE instance = ProgramInstance();
    Load(instance, IDS_ALARM_NOTE_TIP, g_texts.alarmNoteTip);
    Load(instance, IDS_CONTEXT_MENU_TIP, g_texts.contextMenuTip);
    Load(instance, IDS_LOCKED_NOTE_TIP, g_texts.lockedNoteTip);
    Load(instance, IDS_DELETE_NOTE, g_texts.deleteNote);
    Load(instance, IDS_END_CHAT, g_texts.endChat);
}

const CSnoozeChoices& SnoozeChoices()
{
    return g_choices;
}

void LoadSnoozeChoices(HINSTANCE instance)
{
    static const UINT kPeriods[12] = {
        IDS_SNOOZE_5_MINUTES, IDS_SNOOZE_15_MINUTES, IDS_SNOOZE_30_MINUTES, IDS_SNOOZE_1_HOUR,
        IDS_SNOOZE_3_HOURS,   IDS_SNOOZE_7_HOURS,    IDS_SNOOZE_12_HOURS,   IDS_SNOOZE_1_DAY,
        IDS_SNOOZE_3_DAYS,    IDS_SNOOZE_1_WEEKDAY,  IDS_SNOOZE_1_WEEK,     IDS_SNOOZE_1_MONTH};
    static const UINT kSingular[6] = {IDS_UNIT_MINUTE, IDS_UNIT_HOUR, IDS_UNIT_DAY,
                                      IDS_UNIT_WEEK,   IDS_UNIT_MONTH, IDS_UNIT_WEEKDAY};
    static const UINT kPlural[6] = {IDS_UNIT_MINUTES, IDS_UNIT_HOURS, IDS_UNIT_DAYS,
                                    IDS_UNIT_WEEKS,   IDS_UNIT_MONTHS, IDS_UNIT_WEEKDAYS};
    static const UINT kList[6] = {IDS_UNIT_MINUTE_S, IDS_UNIT_HOUR_S, IDS_UNIT_DAY_S,
                                  IDS_UNIT_WEEK_S,   IDS_UNIT_MONTH_S, IDS_UNIT_WEEKDAY_S};
    static const UINT kMargins[5] = {IDS_MARGIN_NONE, IDS_MARGIN_SINGLE_DOTTED, IDS_MARGIN_SINGLE,
                                     IDS_MARGIN_DOUBLE_DOTTED, IDS_MARGIN_DOUBLE};
    static const UINT kBackgrounds[6] = {IDS_BACKGROUND_PLAIN,    IDS_BACKGROUND_HORIZONTAL, IDS_BACKGROUND_VERTICAL,
                                         IDS_BACKGROUND_DIAGONAL, IDS_BACKGROUND_IMAGE,      IDS_BACKGROUND_TRANSPARENT};
    LoadTable(instance, kPeriods, g_choices.periods);
    LoadUnits(instance, kSingular, g_choices.singularUnits);
    LoadUnits(instance, kPlural, g_choices.pluralUnits);
    LoadUnits(instance, kList, g_choices.listUnits);
    LoadTable(instance, kMargins, g_choices.marginKinds);
    LoadTable(instance, kBackgrounds, g_choices.backgroundKinds);
    if (!GetGradientFillFunction()) {
        for (int kind = 1; kind <= 3; ++kind) {
            char* text = g_choices.backgroundKinds[kind];
            size_t length = std::strlen(text);
            std::snprintf(text + length, sizeof g_choices.backgroundKinds[kind] - length, " (disabled)");
        }
    }
}

void CreateMenuFonts()
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    LOGFONTA font = {};
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        font = metrics.lfMenuFont;
    font.lfCharSet = DEFAULT_CHARSET;
    MenuFont().ChangeLogFont(font);
    font.lfWeight = FW_BOLD;
    BoldMenuFont().ChangeLogFont(font);
}

const CProgramCursors& ProgramCursors()
{
    return g_cursors;
}

void LoadCursorsAndBitmaps(HINSTANCE instance)
{
    g_cursors.arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    g_cursors.ibeam = LoadCursorA(nullptr, MAKEINTRESOURCEA(32513));  // IDC_IBEAM
    g_cursors.wait = LoadCursorA(nullptr, MAKEINTRESOURCEA(32514));   // IDC_WAIT
    g_cursors.note = LoadProgramCursor(instance, IDC_CURSOR_NOTE, nullptr);
    g_cursors.http = LoadProgramCursor(instance, IDC_CURSOR_HTTP, "Loading IDC_CURSOR_HTTP failed");
    g_cursors.mail = LoadProgramCursor(instance, IDC_CURSOR_MAIL, "Loading IDC_CURSOR_MAIL failed");
    g_cursors.pointer = LoadProgramCursor(instance, IDC_CURSOR2, "Loading IDC_CURSOR2 failed ");
    g_cursors.gradient = LoadProgramCursor(instance, IDC_CURSOR_GRADIENT, "Loading IDC_CURSOR_GRADIENT failed");
    g_cursors.vertical = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_CURSOR_VERTICAL));
    if (!g_cursors.vertical) {
        std::string text = LastErrorText() + "\r\nLoading IDC_CURSOR_VERTICAL";
        ShowErrorMessage(nullptr, text.c_str(), ProgramTitle);
    }
    g_cursors.reset = LoadProgramCursor(instance, IDC_CURSOR_RESET, "Loading IDC_CURSOR_RESET failed");

    const CloseButton close = ChooseCloseButton();
    g_cursors.closeButton = LoadBitmapA(instance, MAKEINTRESOURCEA(close.id));
    BITMAP header = {};
    if (!g_cursors.closeButton || !GetObjectA(g_cursors.closeButton, sizeof header, &header)) {
        ShowErrorMessage(nullptr, close.failureText, ProgramTitle);
        return;
    }
    g_cursors.closeButtonWidth = header.bmWidth;
    g_cursors.closeButtonHeight = header.bmHeight;
}

void ReleaseCursorsAndBitmaps()
{
    for (HCURSOR* cursor : {&g_cursors.http, &g_cursors.mail, &g_cursors.pointer}) {
        if (*cursor)
            DestroyCursor(*cursor);
        *cursor = nullptr;
    }
    if (g_cursors.closeButton)
        DeleteObject(g_cursors.closeButton);
    g_cursors.closeButton = nullptr;
}

char* GetSoundFileNameBuffer(int kind)
{
    CSoundSlot* sounds = ConfigSettings().sounds;
    switch (kind) {
    case kSoundIncomingNote: return sounds[1].path;
    case kSoundChatStarted: return sounds[2].path;
    case kSoundChatLine: return sounds[3].path;
    default: return sounds[0].path;
    }
}
