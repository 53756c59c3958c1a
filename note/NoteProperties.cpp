// The note's settings sheet and its styles: the sheet's records built from
// the note and taken back, and one of the user's nine styles put on the note
// with its text, whose date and time placeholders are filled in.
#include <windows.h>

#include <richedit.h>

#include <cstring>
#include <string>

#include "foundation/Clock.h"
#include "foundation/GenericString.h"
#include "foundation/TextFormatting.h"
#include "foundation/bytes/BoundedCopy.h"
#include "note/NoteController.h"
#include "note/NoteKeeper.h"
#include "note/NoteMessages.h"
#include "note/NoteRichEdit.h"
#include "noteprops/AlarmSettings.h"
#include "noteprops/AppearanceSettings.h"
#include "note/NoteSheetRecords.h"
#include "noteprops/NoteSettingsSheet.h"
#include "noteprops/bytes/StylePlaceholders.h"
#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "store/StyleStorage.h"

namespace {
const char kPropertiesNoteManagerTitle[] = "Quillnet+ Note Manager";
const int kNotePropertiesTextureKind = 4;

bool IsBlankPropertyText(const char* text)
{
    for (; *text; ++text) {
        if (*text != ' ' && *text != '\t')
            return false;
    }
    return true;
}

std::string DateFormatted(const SYSTEMTIME& now, const char* picture)
{
    char text[64] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, 0, &now, picture, text, sizeof text);
    return text;
}

StylePlaceholderValues PlaceholderValuesAt(const SYSTEMTIME& now)
{
    StylePlaceholderValues values;
    FillNumericPlaceholders(values, now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute);
    CDateTime date;
    date = now;
    values.values[0] = date.GetTimeText();
    values.values[1] = DateFormatted(now, "dddd");
    values.values[3] = DateFormatted(now, "MMMM");
    values.values[4] = DateFormatted(now, "MMM");
    values.values[10] = UserSettings().userName;
    CGenericString dateText;
    FormatDateText(date, true, dateText, false, false);
    values.values[13] = dateText.GetString();
    return values;
}

// The text at the caret, then a line break; the first "%C" of the note is
// where the caret goes.
void InsertStyleText(HWND edit, const std::string& text)
{
    CNoteRichEdit::StreamInAtSelection(edit, text.data(), text.size());
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\r\n"));
    FINDTEXTEXA find{};
    find.chrg.cpMin = 0;
    find.chrg.cpMax = -1;
    find.lpstrText = "%C";
    if (SendMessageA(edit, EM_FINDTEXTEX, FR_DOWN | FR_MATCHCASE, reinterpret_cast<LPARAM>(&find)) < 0)
        return;
    SendMessageA(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&find.chrgText));
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(""));
}

// The rich text at the caret between two line breaks. The breaks go in on
// their own: rich text that does not start with its header is read as plain
// text, and the note would show its control words.
void InsertOnLinesOfItsOwn(HWND edit, const char* richText)
{
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\r\n"));
    CNoteRichEdit::StreamInAtSelection(edit, richText, std::strlen(richText));
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\r\n"));
}

// Characters of the note's text, whether or not it has a window.
LONG TextLength(const CNoteController& note)
{
    if (!note.m_bodyEdit)
        return static_cast<LONG>(note.RichText().size());
    GETTEXTLENGTHEX length{GTL_NUMCHARS, CP_ACP};
    return static_cast<LONG>(
        SendMessageA(note.m_bodyEdit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
}
}

int CNoteController::ShowProperties(int startPage, bool openWithAlarmSet, bool noteManagerOwner,
                                    const CDateTime* proposedTime)
{
    DWORD centred = 0;
    CAppearanceSettings appearance;
    FillAppearanceSettings(appearance, *this, 0, &centred);
    CAlarmSettings alarm = AlarmSettingsOf(*this, &centred, openWithAlarmSet, proposedTime);
    HWND owner = m_window;
    if (noteManagerOwner) {
        HWND manager = FindWindowA(nullptr, kPropertiesNoteManagerTitle);
        if (manager && !IsIconic(manager))
            owner = manager;
    }
    // The sheet's loop lets a restore in, which closes every note: this one
    // is known again by its window before anything of it is touched.
    HWND window = m_window;
    RunNoteSettingsSheet(owner, startPage, appearance, alarm);
    if (!IsLiveNote(this, window))
        return 0;
    if (appearance.applied || alarm.applied) {
        // The style's text first: taking the looks back may protect the
        // note, which saves it at once.
        const int style = appearance.currentStyle;
        if (style >= 0 && style <= 8 && UserSettings().styles[style].HasText() && m_bodyEdit)
            InsertOnLinesOfItsOwn(m_bodyEdit, UserSettings().styles[style].GetText());
        ApplyAlarmSettings(*this, alarm);
        ApplyAppearanceSettings(*this, appearance);
        TellCalendarAlarmsChanged(GetMainWindow());
        SetModified();
        return 1;
    }
    // A note made only to carry an alarm goes when its alarm is cancelled,
    // unless the user has written something in it meanwhile.
    if (openWithAlarmSet && m_noteId == 9999 && TextLength(*this) < 5 && m_window)
        PostMessageA(m_window, WM_COMMAND, kNoteCmdDelete, 0);
    return 0;
}

void CNoteController::ApplyStyle(int styleIndex, bool insertText)
{
    if (styleIndex < 0 || styleIndex > 8)
        return;
    const CNoteStyle& style = UserSettings().styles[styleIndex];
    m_bodyColor = style.backgroundColor;
    m_textColor = style.textColor;
    m_titleColor = style.titleBackgroundColor;
    m_titleTextColor = style.titleTextColor;
    m_bodyFont = style.bodyFont;
    m_titleFont = style.titleFont;
    m_stayOnTop = style.stayOnTop != 0;
    m_border = style.hasBorder != 0;
    m_showDate = style.showDate != 0;
    m_rollUpOnLeave = style.rollUp != 0;
    // A texture that is no longer in the folder leaves a plain note.
    int kind = static_cast<int>(style.backgroundKind);
    WORD texture = style.textureId;
    char file[MAX_PATH] = "";
    if (kind == kNotePropertiesTextureKind && (texture == 0 || !FindTextureByNameHash(file, sizeof file, texture))) {
        kind = 0;
        texture = 0;
    }
    SetBackground(kind, kind == kNotePropertiesTextureKind ? texture : 0, style.textureStretch != 0);
    m_packed.level = style.transparency;
    SetNoteLineKinds(*this, style.horizontalLines, style.leftMarginKind, style.plainText);
    if (style.name[0] && !m_protected && IsBlankPropertyText(m_title))
        CopyBounded(m_title, style.name);
    ApplyLooksToWindow();
    if (insertText && style.HasText() && m_bodyEdit) {
        if (m_protected)
            MessageBeep(MB_OK);
        else
            InsertStyleText(m_bodyEdit, ExpandStylePlaceholders(style.GetText(), PlaceholderValuesAt(GetLocalNow())));
    }
    if (m_window)
        RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    SetModified();
    // A protected style protects the note, with a text or without one, as
    // the lock command does; an unprotected one never takes protection away.
    // Last, so that the save it makes holds the style's looks and text.
    if (style.isProtected && !m_protected)
        MakeProtected();
}
