// The note object's work on its window: saving what the window shows into
// the record, hiding, rolling up, staying on top, looks, styles, deleting.
#include <windows.h>

#include <richedit.h>

#include <new>

#include "foundation/CriticalSectionLock.h"
#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/FontConversion.h"
#include "note/NoteBodyLines.h"
#include "note/NoteController.h"
#include "note/NoteGroupWaiting.h"
#include "note/NoteRichEdit.h"
#include "note/NoteStrips.h"
#include "note/NoteWindowHandlers.h"
#include "note/AlarmRinging.h"
#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "store/Sounds.h"
#include "store/DbfFile.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "store/NotesFiles.h"
#include "store/NotesTableLock.h"

namespace {
CNoteRichEdit* ControllerWindowBody(const CNoteController& note)
{
    return static_cast<CNoteRichEdit*>(note.m_bodyRichEdit);
}

void TellMainWindow(UINT message, LPARAM lParam)
{
    if (HWND main = GetMainWindow())
        SendMessageA(main, message, 0, lParam);
}

void RepaintFrame(HWND window)
{
    if (window)
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

int CaptionOnlyHeight(HWND window)
{
    RECT bounds{}, client{};
    GetWindowRect(window, &bounds);
    GetClientRect(window, &client);
    return (bounds.bottom - bounds.top) - client.bottom;
}

// The record of a deleted note leaves the notes table, and its number
// becomes free for the next new note. A rebuilt pair that waits is installed
// first: deleted from the table it replaces, the record would come back.
void DeleteStoredRecord(DWORD record)
{
    if (record == 0 || record == 9999 || record == 9988)
        return;
    try {
        CCriticalSectionLock hold(NotesTableLock());
        if (!FinishInterruptedRebuild()) {
            WriteErrorLog("DeleteNote():", kRebuildWaitingText);
            return;
        }
        CDbfFile table;
        table.SetTable(DataFilePath(DataName::kNotesTable).c_str(), true);
        table.Open("MAPPINGALL");
        table.DeleteRecord(record);
        table.Close();
        NotesFreeSlots().Add(record);
    } catch (const CGenericException& failure) {
        WriteErrorLog("DeleteNote():", failure.GetErrorText());
    }
}
}

void CNoteController::SyncFromWindow()
{
    if (!m_window)
        return;
    // The text kept is the window's while neither the note nor its edit has
    // changed since: streaming it out again (every note, at every exit save)
    // would only give the same text back.
    if (WindowTextIsNewer()) {
        m_richText = ControllerWindowBody(*this)->GetRTFText();
        SendMessageA(m_bodyEdit, EM_SETMODIFY, FALSE, 0);
    }
    RECT bounds{};
    if (!GetWindowRect(m_window, &bounds))
        return;
    // A note moved or resized by the program (an arrangement) is changed too.
    if (bounds.left != m_left || bounds.top != m_top)
        m_modified = true;
    m_left = bounds.left;
    m_top = bounds.top;
    if (!m_rolledUp) {
        if (bounds.right - bounds.left != m_width || bounds.bottom - bounds.top != m_height)
            m_modified = true;
        m_width = bounds.right - bounds.left;
        m_height = bounds.bottom - bounds.top;
    }
}

bool CNoteController::WindowTextIsNewer() const
{
    return ControllerWindowBody(*this) && (m_modified || SendMessageA(m_bodyEdit, EM_GETMODIFY, 0, 0));
}

void CNoteController::SetModified()
{
    m_modified = true;
    TellMainWindow(kMsgRememberLastNote, reinterpret_cast<LPARAM>(this));
    if (m_noteId == 9988)
        m_noteId = 9999;
    if (m_window)
        SendMessageA(m_window, WM_NCPAINT, 1, 0);
}

// A ringing note that goes out of sight stops ringing and waits for its next time.
void CNoteController::EndRingingForHide()
{
    if (!m_ringing)
        return;
    StopRinging();
    StopAlarmSound(UserSoundSlot(kSoundAlarm));
    ComputeNextAlarm();
    m_modified = true;
}

void CNoteController::HideNote()
{
    EndRingingForHide();
    if (m_window && m_modified) {
        SyncFromWindow();
        SaveNote(*this);
    }
    m_hidden = true;
    if (m_window)
        ShowWindow(m_window, SW_HIDE);
    TellMainWindow(kMsgUpdateTrayTooltip, 0);
}

void CNoteController::HideQuietly()
{
    EndRingingForHide();
    m_parked = true;
    if (m_window)
        ShowWindow(m_window, SW_HIDE);
}

void CNoteController::UpdateScrollArrows(bool repaint)
{
    if (!m_window || !m_bodyEdit)
        return;
    RECT client{};
    GetClientRect(m_bodyEdit, &client);
    GETTEXTLENGTHEX length{GTL_NUMCHARS, CP_ACP};
    LRESULT characters = SendMessageA(m_bodyEdit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    POINTL last{};
    SendMessageA(m_bodyEdit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&last), characters > 0 ? characters - 1 : 0);
    const LRESULT firstVisible = SendMessageA(m_bodyEdit, EM_GETFIRSTVISIBLELINE, 0, 0);
    const bool overflows = firstVisible > 0 || last.y + 16 > client.bottom;
    const bool show = overflows && !m_rolledUp;
    // The arrows are made the first time the text needs them.
    if (!m_scrollUp || !m_scrollDown) {
        if (show)
            MakeScrollArrows(m_window, *this, client.right, client.bottom);
        return;
    }
    ShowWindow(m_scrollUp, show ? SW_SHOWNA : SW_HIDE);
    ShowWindow(m_scrollDown, show ? SW_SHOWNA : SW_HIDE);
    if (repaint && show) {
        InvalidateRect(m_scrollUp, nullptr, TRUE);
        InvalidateRect(m_scrollDown, nullptr, TRUE);
    }
}

void CNoteController::ForceRepaintBySize()
{
    if (m_window)
        RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CNoteController::RelayoutRichEdits()
{
    if (m_window)
        LayOutNoteControls(m_window, *this);
}

void CNoteController::ApplyLooksToWindow()
{
    if (!m_window || !m_bodyEdit)
        return;
    ApplyLooksToNewWindow();
    SetWindowPos(m_window, m_stayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    RepaintFrame(m_window);
}

void CNoteController::ApplyLooksToNewWindow()
{
    if (!m_window || !m_bodyEdit)
        return;
    SendMessageA(m_bodyEdit, EM_SETBKGNDCOLOR, 0, m_bodyColor);
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    if (m_bodyFont.lfFaceName[0]) {
        LogFontToCharFormat(m_bodyEdit, &format, m_bodyFont);
        // Typed text is stored as rich text, in whole half points: typed at
        // that size, it keeps it after the next start.
        format.yHeight = InWholeHalfPoints(format.yHeight);
    }
    format.dwMask |= CFM_COLOR;
    format.dwEffects &= ~CFE_AUTOCOLOR;
    format.crTextColor = m_textColor;
    SendMessageA(m_bodyEdit, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    const bool layered = Transparency() > 0 || m_backgroundKind == 5;
    LONG_PTR extended = GetWindowLongPtrA(m_window, GWL_EXSTYLE);
    if (layered) {
        if (!(extended & WS_EX_LAYERED))
            SetWindowLongPtrA(m_window, GWL_EXSTYLE, extended | WS_EX_LAYERED);
        if (m_backgroundKind == 5)
            SetLayeredWindowAttributes(m_window, m_bodyColor, 0, LWA_COLORKEY);
        else
            SetLayeredWindowAttributes(m_window, 0, static_cast<BYTE>(255 - MulDiv(Transparency(), 255, 100)),
                                       LWA_ALPHA);
    } else if (extended & WS_EX_LAYERED) {
        SetWindowLongPtrA(m_window, GWL_EXSTYLE, extended & ~WS_EX_LAYERED);
    }
    PrepareNoteBackground(*this);
}

void CNoteController::ToggleStayOnTop()
{
    m_stayOnTop = !m_stayOnTop;
    if (m_window)
        SetWindowPos(m_window, m_stayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    SetModified();
}

void CNoteController::RollUp()
{
    if (m_rolledUp || !m_window)
        return;
    RECT bounds{};
    GetWindowRect(m_window, &bounds);
    m_unrolledWidth = bounds.right - bounds.left;
    m_unrolledHeight = bounds.bottom - bounds.top;
    m_rolledUp = true;
    SetWindowPos(m_window, nullptr, 0, 0, m_unrolledWidth, CaptionOnlyHeight(m_window),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateScrollArrows(false);
    SetModified();
}

void CNoteController::Unroll()
{
    if (!m_rolledUp || !m_window)
        return;
    m_rolledUp = false;
    SetWindowPos(m_window, nullptr, 0, 0, m_unrolledWidth, m_unrolledHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateScrollArrows(true);
    SetModified();
}

void CNoteController::DeleteNote()
{
    if (IsLocked()) {
        ShowMessageBox(m_window, "You cannot delete a locked note. \r\n\r\nPlease unlock it first!", ProgramTitle,
                       kMbIconExclamation);
        return;
    }
    // Its delivery records go with it, which a send under way would write again.
    if (NoteStrips().IsTransmitting(*this)) {
        ShowMessageBox(m_window, "This note is being sent right now.\r\n\r\nPlease delete it when that send has ended.",
                       ProgramTitle, kMbIconExclamation);
        return;
    }
    if (UserSettings().confirmDelete &&
        AskYesNo(m_window, "Are you sure you want to delete this note?", ProgramTitle) != IDYES)
        return;
    // A deleted note never rings on.
    if (m_ringing) {
        StopRinging();
        StopAlarmSound(UserSoundSlot(kSoundAlarm));
    }
    SyncFromWindow();
    NoteStrips().NoteDeleted(*this);
    DeleteStoredRecord(m_noteId);
    if (m_noteId != 9999)
        if (HWND main = GetMainWindow())
            ForgetDeletedNoteLinks(main, m_noteId);
    m_noteId = 9999;
    m_waitingGroup = -1;
    m_modified = false;
    if (m_window)
        ShowWindow(m_window, SW_HIDE);
    if (HWND manager = FindWindowA(nullptr, "Quillnet+ Note Manager"))
        SendMessageA(manager, 0x8097, 0, reinterpret_cast<LPARAM>(this));
    TellMainWindow(kMsgRemoveVisibleNote, reinterpret_cast<LPARAM>(this));
    TellMainWindow(kMsgKeepDeletedNote, reinterpret_cast<LPARAM>(this));
    TellMainWindow(kMsgUpdateTrayTooltip, 0);
}

int CNoteController::FindGroupId(int groupNumber) const
{
    if (m_waitingGroup >= 0)
        return groupNumber == -1 ? m_waitingGroup : groupNumber == m_waitingGroup ? 0 : -1;
    if (!IsStoredNoteId(m_noteId))
        return -1;
    int position = 0;
    for (auto* node = GroupsAndNotesList().GetFirst(); node; node = node->next) {
        if (node->record.noteID != m_noteId)
            continue;
        if (groupNumber == -1)
            return static_cast<int>(node->record.groupID);
        if (node->record.groupID == static_cast<DWORD>(groupNumber))
            return position;
        ++position;
    }
    return -1;
}

bool CNoteController::BringNoteToFront()
{
    // A note inside its own sound is ringing already.
    if (m_playingAlarmSound || !IsAlarmDue())
        return false;
    SetModified();
    const bool sendAtAlarm = m_sendAtAlarmTime;
    const bool recurring = m_alarmRecurring;
    // A note that only had to be sent at its time does not ring.
    if (sendAtAlarm && !recurring)
        SwitchAlarmOff();
    else
        StartRinging();
    m_alarmRung = true;
    m_hidden = false;
    m_parked = false;
    if (m_window) {
        ShowWindow(m_window, SW_SHOWNOACTIVATE);
        SetWindowPos(m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        m_raised = true;
    }
    if (sendAtAlarm) {
        OnSendTo(false);
        if (!recurring)
            m_sendAtAlarmTime = false;
    }
    return true;
}

void LayOutNoteControls(HWND window, CNoteController& note)
{
    RECT client{};
    GetClientRect(window, &client);
    // The strips at the note's foot (a chat, a send) take their height.
    client.bottom -= NoteStrips().LayOut(window, client);
    if (note.m_bodyEdit)
        MoveWindow(note.m_bodyEdit, 0, 0, client.right, client.bottom, TRUE);
    PlaceScrollArrows(note, client.right, client.bottom);
    note.UpdateScrollArrows(false);
}

POINT ScrollArrowCorner(bool down, LONG bodyRight, LONG bodyBottom)
{
    const LONG fromFoot = down ? kScrollArrowSize + 1 : 2 * kScrollArrowSize + 2;
    return {bodyRight - kScrollArrowSize - 1, bodyBottom - fromFoot};
}

void PlaceScrollArrows(CNoteController& note, LONG bodyRight, LONG bodyBottom)
{
    for (bool down : {false, true}) {
        HWND arrow = down ? note.m_scrollDown : note.m_scrollUp;
        const POINT corner = ScrollArrowCorner(down, bodyRight, bodyBottom);
        if (arrow)
            MoveWindow(arrow, corner.x, corner.y, kScrollArrowSize, kScrollArrowSize, TRUE);
    }
}

namespace {
// Note objects come from a heap of their own: freed and made again by the
// hundred at a reload, they would otherwise leave the heap the texts come from
// full of freed blocks of a near size, which a first-fit heap (Wine's) walks
// past at every allocation of a text.
HANDLE NoteHeap()
{
    static HANDLE heap = [] {
        HANDLE own = HeapCreate(0, 0, 0);
        return own ? own : GetProcessHeap();
    }();
    return heap;
}
}

void* CNoteController::operator new(std::size_t size)
{
    void* note = HeapAlloc(NoteHeap(), 0, size);
    if (!note)
        throw std::bad_alloc();
    return note;
}

void CNoteController::operator delete(void* note) noexcept
{
    HeapFree(NoteHeap(), 0, note);
}

void CNoteController::SaveBesideTable()
{
    NoteStrips().NoteStored(*this);
    JoinWaitingGroup(*this);
}

int CNoteController::OnSendTo(bool ask)
{
    return NoteStrips().SendTo(*this, ask);
}

void CNoteController::ClearSendIcon()
{
    NoteStrips().ClearSendIcon(*this);
}
