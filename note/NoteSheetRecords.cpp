#include "note/NoteSheetRecords.h"

#include <richedit.h>

#include "foundation/bytes/BoundedCopy.h"
#include "foundation/win/FontConversion.h"
#include "foundation/win/RichTextStream.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "note/NoteBodyLines.h"
#include "note/NoteController.h"
#include "note/NoteTitleFonts.h"
#include "store/SettingsTable.h"
#include "store/UsersTable.h"

namespace {
const int kNoteSheetRecordsTextureKind = 4;

// The body's font as the note shows it: its own, else its edit's default one,
// else (no window yet) the user's default for new notes.
LOGFONTA ShownBodyFont(const CNoteController& note)
{
    if (HasOwnFont(note.m_bodyFont))
        return note.m_bodyFont;
    if (!note.m_bodyEdit)
        return UserSettings().note.bodyFont;
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    SendMessageA(note.m_bodyEdit, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    LOGFONTA font{};
    CharFormatToLogFont(&font, format);
    return font;
}

// The caption's font as the note shows it: its own, else the regular caption font.
LOGFONTA ShownTitleFont(const CNoteController& note)
{
    return HasOwnFont(note.m_titleFont) ? note.m_titleFont : CNoteTitleFonts::RegularLogFont();
}
}

CAlarmSettings AlarmSettingsOf(const CNoteController& note, DWORD* centred, bool openWithAlarmSet,
                               const CDateTime* proposedTime)
{
    return CAlarmSettings(note.m_alarmSet, note.m_alarm, note.m_ringing, note.m_alarmRecurring, note.m_alarmValue,
                          note.m_alarmUnit, note.m_stopAfterMinutes, centred, openWithAlarmSet, proposedTime);
}

void ApplyAlarmSettings(CNoteController& note, const CAlarmSettings& settings)
{
    note.m_alarmSet = settings.alarmSet != 0;
    note.m_alarm = settings.alarmTime;
    note.m_alarmRecurring = settings.recurring != 0;
    note.m_alarmValue = settings.value ? settings.value : 1;
    note.m_alarmUnit = settings.unit ? settings.unit : kUnitDays;
    note.m_stopAfterMinutes = settings.stopAfterMinutes;
    note.m_alarmRung = false;
    note.m_snooze = LayOutSnoozeChoices(SnoozeMenuKind::kNote, note.m_alarmUnit, note.m_alarmValue).table;
    note.m_modified = true;
    note.UpdateAlarmTooltip();
}

// The notes table keeps these with the background kind: digit A the ruled
// lines, digit B the margin kind, digit D the plain-text flag.
DWORD NoteHorizontalLines(const CNoteController& note)
{
    return note.m_packed.digitA == 1 ? 1 : 0;
}

DWORD NoteLeftMarginKind(const CNoteController& note)
{
    const int kind = note.m_packed.digitB;
    return kind >= 0 && kind <= 4 ? static_cast<DWORD>(kind) : 0;
}

DWORD NotePlainText(const CNoteController& note)
{
    return note.m_packed.digitD == 1 ? 1 : 0;
}

void SetNoteLineKinds(CNoteController& note, DWORD horizontalLines, DWORD leftMarginKind, DWORD plainText)
{
    note.m_packed.digitA = horizontalLines ? 1 : 0;
    note.m_packed.digitB = leftMarginKind <= 4 ? static_cast<int>(leftMarginKind) : 0;
    note.m_packed.digitD = plainText ? 1 : 0;
    note.m_packed.digitsKnown = true;
    ApplyNoteMargin(note);
}

void FillAppearanceSettings(CAppearanceSettings& settings, CNoteController& note, DWORD useForNewNotes,
                            DWORD* centred)
{
    settings.plainText = NotePlainText(note);
    settings.isProtected = note.m_protected ? 1 : 0;
    settings.horizontalLines = NoteHorizontalLines(note);
    settings.backgroundKind = note.m_backgroundKind >= 0 && note.m_backgroundKind <= 5 ? note.m_backgroundKind : 0;
    settings.leftMarginKind = NoteLeftMarginKind(note);
    settings.stayOnTop = note.m_stayOnTop;
    settings.hasBorder = note.m_border;
    settings.showDate = note.m_showDate;
    settings.rollUp = note.m_rollUpOnLeave;
    settings.useForNewNotes = useForNewNotes;
    settings.stylesInRotation = ConfigSettings().stylesInRotation;
    CopyBounded(settings.title, note.m_title);
    // The page shows and edits the fonts the user sees on the note.
    settings.bodyFont = ShownBodyFont(note);
    settings.textColor = note.m_textColor;
    settings.backgroundColor = note.m_bodyColor;
    settings.titleFont = ShownTitleFont(note);
    settings.titleTextColor = note.m_titleTextColor;
    settings.titleBackgroundColor = note.m_titleColor;
    settings.created = note.m_created;
    settings.applied = 0;
    for (int i = 0; i < 9; ++i)
        settings.styles[i] = UserSettings().styles[i];
    settings.transparency = note.Transparency();
    settings.textureId = static_cast<WORD>(note.m_textureId);
    settings.textureStretch = note.m_textureStretch ? 1 : 0;
    settings.centred = centred;
    settings.textureFile[0] = '\0';
    settings.note = &note;
    // A style saved with text takes the note's text and size as they are now.
    settings.noteRichText = note.m_bodyEdit ? GetRTFText(note.m_bodyEdit) : note.RichText();
    settings.noteSize = SIZE{note.m_width, note.m_height};
    settings.currentStyle = -1;
}

void ApplyAppearanceSettings(CNoteController& note, const CAppearanceSettings& settings)
{
    note.m_stayOnTop = settings.stayOnTop != 0;
    note.m_border = settings.hasBorder != 0;
    note.m_showDate = settings.showDate != 0;
    note.m_rollUpOnLeave = settings.rollUp != 0;
    note.m_bodyColor = settings.backgroundColor;
    note.m_textColor = settings.textColor;
    note.m_titleColor = settings.titleBackgroundColor;
    note.m_titleTextColor = settings.titleTextColor;
    note.m_bodyFont = settings.bodyFont;
    note.m_titleFont = settings.titleFont;
    CopyBounded(note.m_title, settings.title);
    const WORD texture = TextureIdOfFile(settings.textureFile);
    int kind = static_cast<int>(settings.backgroundKind);
    if (kind == kNoteSheetRecordsTextureKind && texture == 0)
        kind = 0;
    note.SetBackground(kind, kind == kNoteSheetRecordsTextureKind ? texture : 0, settings.textureStretch != 0);
    note.m_packed.level = settings.transparency;
    SetNoteLineKinds(note, settings.horizontalLines, settings.leftMarginKind, settings.plainText);
    note.ApplyLooksToWindow();
    note.SetModified();

    if (settings.useForNewNotes) {
        CUserSettings& user = UserSettings();
        user.note.horizontalLines = NoteHorizontalLines(note);
        user.note.plainText = NotePlainText(note);
        user.note.leftMarginKind = NoteLeftMarginKind(note);
        user.note.backgroundKind = static_cast<DWORD>(note.m_backgroundKind);
        user.note.textureId = static_cast<WORD>(note.m_textureId);
        user.note.textureStretch = note.m_textureStretch ? 1 : 0;
        user.note.transparency = note.Transparency();
        user.note.noteColor = settings.backgroundColor;
        user.note.textColor = settings.textColor;
        user.note.titleColor = settings.titleBackgroundColor;
        user.note.titleTextColor = settings.titleTextColor;
        user.note.rollUp = settings.rollUp;
        user.note.showDate = settings.showDate;
        user.note.stayOnTop = settings.stayOnTop;
        user.note.hasBorder = settings.hasBorder;
        user.note.bodyFont = settings.bodyFont;
        user.note.titleFont = settings.titleFont;
        CopyBounded(user.title, settings.title);
        SaveUserNoteDefaults();
    }
    if (ConfigSettings().stylesInRotation != settings.stylesInRotation) {
        ConfigSettings().stylesInRotation = settings.stylesInRotation;
        SaveStyleRotation();
    }
    // A protected style loaded on the page protects the note as the lock
    // command does; an unprotected one never takes protection away.
    if (settings.isProtected && !note.m_protected)
        note.MakeProtected();
}
