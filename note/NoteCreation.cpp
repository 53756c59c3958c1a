#include <winsock2.h>

#include "note/NoteCreation.h"

#include <cstdio>
#include <memory>

#include "foundation/DataFolder.h"
#include "foundation/bytes/BoundedCopy.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/MessageBoxes.h"
#include "note/NoteController.h"
#include "note/NoteKeeper.h"
#include "note/NoteMessages.h"
#include "note/NoteSheetRecords.h"
#include "store/NoteRtfPacking.h"
#include "note/NoteWindow.h"
#include "note/bytes/NotePlacement.h"
#include "note/ProtectedNotes.h"
#include "noteprops/bytes/ProtectedBody.h"
#include "globals/MainWindowMessages.h"
#include "globals/ProgramFlags.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"

namespace {
PlacementCounters g_nextNotePosition;
BYTE g_styleRotationIndex = 0;

bool UsesVirtualScreen()
{
    const WindowsVersionInfo& windows = GetStartupValues().windows;
    return lstrcmpiA(windows.platformName, "Windows 98") == 0 || windows.isWindows2000 || windows.isWindowsXp ||
           windows.isVistaOrLater;
}

int TaskbarEdge()
{
    APPBARDATA bar{};
    bar.cbSize = sizeof bar;
    if (!SHAppBarMessage(ABM_GETTASKBARPOS, &bar))
        return 0;
    return TaskbarEdgeFromRect(bar.rc.left, bar.rc.top, bar.rc.right, bar.rc.bottom);
}

struct ScreenFacts {
    LONG boundRight;
    LONG boundBottom;
    int taskbarEdge;
};
ScreenFacts g_screenFacts;
bool g_screenFactsKept = false;

// Read afresh for a note made on its own; kept for the rest of a load.
const ScreenFacts& CurrentScreenFacts()
{
    const bool loading = GetProgramFlags().loadingNotes;
    if (!g_screenFactsKept || !loading) {
        g_screenFacts.boundRight = (UsesVirtualScreen() ? GetSystemMetrics(SM_CXVIRTUALSCREEN) : ScreenWidth()) - 5;
        g_screenFacts.boundBottom = (UsesVirtualScreen() ? GetSystemMetrics(SM_CYVIRTUALSCREEN) : ScreenHeight()) - 5;
        g_screenFacts.taskbarEdge = TaskbarEdge();
        g_screenFactsKept = loading;
    }
    return g_screenFacts;
}

bool RefusedByLimit()
{
    if (LiveNoteCount() < static_cast<LONG>(kMaxNotes) - 2)
        return false;
    char text[400];
    std::snprintf(text, sizeof text,
                  "You have reached the maximum number of notes that Quillnet+ can support: %d!\r\n\r\n"
                  "Please delete existing notes that you don't need anymore and then restart Quillnet+.\r\n\r\n"
                  "    Thank you.",
                  static_cast<int>(kMaxNotes));
    ShowErrorMessage(GetMainWindow(), text, ProgramTitle);
    return true;
}

bool LastNoteIsVisible()
{
    INoteKeeper* keeper = GetNoteKeeper();
    CNoteController* last = keeper ? keeper->LastNote() : nullptr;
    return last && last->m_window && IsWindowVisible(last->m_window);
}
}

void ForgetScreenFacts()
{
    g_screenFactsKept = false;
}

NoteDescription UserDefaultDescription(const NoteDescription& blank)
{
    const CUserSettings& user = UserSettings();
    NoteDescription d = blank;
    d.bodyColor = user.note.noteColor;
    d.textColor = user.note.textColor;
    d.titleColor = user.note.titleColor;
    d.titleTextColor = user.note.titleTextColor;
    d.bodyFont = &user.note.bodyFont;
    d.titleFont = &user.note.titleFont;
    d.stayOnTop = user.note.stayOnTop != 0;
    d.border = user.note.hasBorder != 0;
    d.showDate = user.note.showDate != 0;
    d.rolledUp = false;
    d.title = user.title;
    // The ruled lines, margin, plain text, background and transparency
    // chosen for new notes, packed as a stored note keeps them.
    d.packed = PackedNoteValues();
    d.packed.digitA = user.note.horizontalLines ? 1 : 0;
    d.packed.digitB = user.note.leftMarginKind <= 4 ? static_cast<int>(user.note.leftMarginKind) : 0;
    d.packed.digitC = user.note.backgroundKind <= 5 ? static_cast<int>(user.note.backgroundKind) : 0;
    d.packed.digitD = user.note.plainText ? 1 : 0;
    d.packed.combined = user.note.textureId;
    d.packed.flagE = user.note.textureStretch ? 1 : 0;
    d.packed.level = user.note.transparency;
    d.packed.digitsKnown = true;
    if (ConfigSettings().stylesInRotation) {
        d.packed = PackedNoteValues();
        const CNoteStyle& style = ConfigSettings().styles[NextRotatedStyle()];
        d.bodyColor = style.backgroundColor;
        d.textColor = style.textColor;
        d.titleColor = style.titleBackgroundColor;
        d.titleTextColor = style.titleTextColor;
        d.bodyFont = &style.bodyFont;
        d.titleFont = &style.titleFont;
        d.styleMode = static_cast<int>(style.backgroundKind);
        d.textureId = style.textureId;
        d.textureStretch = style.textureStretch != 0;
        d.transparency = style.transparency;
    }
    d.noteId = 9999;
    SYSTEMTIME now;
    GetLocalTime(&now);
    d.created = now;
    d.userId = user.userId;
    d.alarmSet = false;
    d.alarmValue = 1;
    d.alarmUnit = 3;
    d.chatId = 0;
    d.chatOperation = 0;
    return d;
}

int NextRotatedStyle()
{
    g_styleRotationIndex = static_cast<BYTE>((g_styleRotationIndex + 1) % 9);
    return g_styleRotationIndex;
}

void FillNoteFromDescription(CNoteController& note, const NoteDescription& d)
{
    note.m_chatId = d.chatId;
    note.m_chatNote = d.chatId != 0;
    note.m_packed = d.packed;
    if (d.transparency)
        note.m_packed.level = d.transparency;
    if (d.packed.digitsKnown)
        note.SetBackground(d.packed.digitC, d.packed.combined, d.packed.flagE == 1);
    else
        note.SetBackground(d.styleMode, d.textureId, d.textureStretch);
    note.m_stayOnTop = d.stayOnTop;
    note.m_border = d.border;
    note.m_hidden = d.hidden;
    note.m_rolledUp = d.rolledUp;
    note.m_showDate = d.showDate;
    note.m_left = d.x;
    note.m_top = d.y;
    note.m_width = d.width;
    note.m_height = d.height;
    note.m_bodyColor = d.bodyColor;
    note.m_textColor = d.textColor;
    note.m_titleColor = d.titleColor;
    note.m_titleTextColor = d.titleTextColor;
    if (d.bodyFont)
        note.m_bodyFont = *d.bodyFont;
    if (d.titleFont)
        note.m_titleFont = *d.titleFont;
    CopyBounded(note.m_title, d.title);
    note.m_storedValue = d.storedValue;
    note.m_noteId = d.noteId;
    note.m_userId = d.userId;
    note.m_notShared = d.notShared;
    note.m_created = d.created;
    std::string text(d.text ? d.text : "", d.text ? d.textLength : 0);
    if (HasProtectedMark(text.data(), text.size())) {
        // A protected body, loaded, received or restored: the note shows the
        // placeholder until its password opens it.
        note.m_protected = true;
        note.m_masked = true;
        note.m_protectedContent.swap(text);
        text = kProtectedPlaceholder;
    } else if (!UnpackStoredNoteText(text)) {
        WriteErrorLog("CreateNote():", "a packed note text could not be unpacked; it is kept as it was stored");
    }
    note.SetRichText(std::move(text));
    note.m_alarmSet = d.alarmSet;
    note.m_alarmRung = d.alarmRung;
    note.m_alarm = d.alarm;
    note.m_alarmRecurring = d.alarmRecurring;
    note.m_alarmValue = d.alarmValue ? d.alarmValue : 1;
    note.m_alarmUnit = d.alarmUnit ? d.alarmUnit : 3;
    note.m_stopAfterMinutes = d.alarmStopMinutes;
    note.m_snooze = LayOutSnoozeChoices(SnoozeMenuKind::kNote, note.m_alarmUnit, note.m_alarmValue).table;
    note.m_retry = d.retry;
    note.m_retryCount = d.retryCount;
    note.m_retryUnit = d.retryUnit;
    note.m_sent = d.sent;
    note.m_sent1 = d.sent1;
    note.m_received = d.received;
    note.m_received1 = d.received1;
    note.m_sendResult = d.sendResult;
    CopyBounded(note.m_receivedFrom, d.receivedFrom);
    CopyBounded(note.m_createdBy, d.createdBy);
    CopyBounded(note.m_lastSentTo, d.lastSentTo);
}

CNoteController* CreateNote(const NoteDescription& description)
{
    std::unique_ptr<CNoteController> note(new CNoteController);
    if (!NoteWindowClassesRegistered()) {
        // A program without note windows keeps the note as a record alone.
        FillNoteFromDescription(*note, description);
        return note.release();
    }
    if (RefusedByLimit())
        return nullptr;

    const CUserSettings& user = UserSettings();
    const LONG width = description.width ? description.width : user.note.newNoteWidth;
    const LONG height = description.height ? description.height : user.note.newNoteHeight;
    PlacementRequest request;
    request.x = description.x;
    request.y = description.y;
    request.blank = description.IsBlank();
    request.forced = description.forcePlacement;
    request.adjustForTaskbar = !description.noTaskbarAdjustment;
    request.screenWidth = ScreenWidth();
    request.screenHeight = ScreenHeight();
    const ScreenFacts& screen = CurrentScreenFacts();
    request.boundRight = screen.boundRight;
    request.boundBottom = screen.boundBottom;
    request.defaultWidth = user.note.newNoteWidth;
    request.defaultHeight = user.note.newNoteHeight;
    request.taskbarEdge = request.adjustForTaskbar ? screen.taskbarEdge : 0;
    const Placement place = PlaceNewNote(request, g_nextNotePosition);

    FillNoteFromDescription(*note, request.blank ? UserDefaultDescription(description) : description);
    note->m_left = place.x;
    note->m_top = place.y;
    note->m_width = width;
    note->m_height = height;
    note->m_application = GetNoteKeeper();

    // Made in its final style and place among the windows: nothing about
    // the frame changes once it is there.
    DWORD extended = WS_EX_TOOLWINDOW;
    if (note->Transparency() || note->m_backgroundKind == 5)
        extended |= WS_EX_LAYERED;
    if (note->m_stayOnTop)
        extended |= WS_EX_TOPMOST;
    CNoteController* created = note.get();
    HWND window = CreateNoteWindow(created, extended, place.x, place.y, width, height);
    note.release();  // the window owns it now
    if (!created->m_hidden && !created->m_parked)
        ShowWindow(window, SW_SHOWNOACTIVATE);

    const bool loading = GetProgramFlags().loadingNotes;
    if (!description.quiet && !description.noTaskbarAdjustment && !loading && LastNoteIsVisible())
        RaiseNoteOnce(window, false);
    if (description.chatId && (description.chatOperation == 2 || description.chatOperation == 9))
        SetUpNewChatNote(window, description.chatOperation);
    if (loading && !description.quiet && !created->m_chatNote && created->m_noteId != 9999 &&
        created->m_noteId != 9988 && GetFileAttributesA(DataFilePath(DataName::kChatNoteSettings).c_str()) != INVALID_FILE_ATTRIBUTES)
        ReadNoteChatSettings(window);
    return created;
}
