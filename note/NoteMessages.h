#pragma once

#include <windows.h>

// The private messages a note window answers, with small senders, so that a
// search for the name finds both the sender and the handler.
enum NoteWindowMessage : UINT {
    kNoteMsgSave = 0x8067,              // write the note to the notes table
    kNoteMsgReapplySettings = 0x806A,   // take the settings again and repaint
    kNoteMsgAlarmDue = 0x8078,          // non-zero, and come up, when the alarm is due
    kNoteMsgTransmitting = 0x807D,      // non-zero while the note is being sent
    kNoteMsgSearchRequest = 0x8087,     // lParam: another note's NoteSearchRequest
    kNoteMsgSearchProtected = 0x808A,   // the same, to an open protected note
    kNoteMsgSendToDestination = 0x808E,  // wParam 1: at the next resend tick; lParam: destination text

    kNoteMsgSearchProtectedNext = 0x8094,
    kNoteMsgPrint = 0x8099,             // lParam 1: ask for the printer; 0 when not printed  // the search went past; wParam 1: opened for it
    kNoteMsgRaiseOnce = 0x80AD,         // lParam 0: without activation
    kNoteMsgNewChat = 0x80B5,           // lParam: chat operation 2 or 9
    kNoteMsgReadChatSettings = 0x80B9,
};
// The timer of a ringing note: it flashes the frame and replays the sound.
const UINT_PTR kNoteAlarmTimerId = 10;
const UINT kNoteAlarmTickMs = 100;

// Sent to a note's body rich edit.
const UINT kEditMsgRewriteAttachmentLine = 0x8090;

// Commands of a note window (WM_COMMAND).
enum NoteWindowCommand : UINT {
    kNoteCmdHide = 4016,
    kNoteCmdPaste = 4020,
    kNoteCmdSnoozeMenu = 4035,      // shows "Remind again every:"
    kNoteCmdFirstSnooze = 4036,     // the snooze menu's items in order
    kNoteCmdLastSnooze = 4048,
    kNoteCmdEditAlarm = 4049,
    kNoteCmdAlarmOff = 4113,
    kNoteCmdToggleLock = 4088,
    kNoteCmdFavourites = 4260,
    kNoteCmdStayOnTop = 4510,
    kNoteCmdDelete = 4511,
    kNoteCmdRollUp = 4512,
    kNoteCmdProperties = 4513,
    kNoteCmdSendTo = 4514,
    kNoteCmdBold = 4515,
    kNoteCmdItalic = 4516,
    kNoteCmdUnderline = 4517,
    kNoteCmdSave = 4518,
    kNoteCmdFind = 4519,
    kNoteCmdAssociate = 4359,
};

inline void SaveNoteWindow(HWND note)
{
    SendMessageA(note, kNoteMsgSave, 0, 0);
}
inline void ReapplyNoteSettings(HWND note)
{
    SendMessageA(note, kNoteMsgReapplySettings, 0, 0);
}
inline LRESULT AskNoteAlarmDue(HWND note)
{
    return SendMessageA(note, kNoteMsgAlarmDue, 0, 0);
}
inline LRESULT PrintNoteWindow(HWND note, bool askPrinter)
{
    return SendMessageA(note, kNoteMsgPrint, 0, askPrinter ? 1 : 0);
}
inline void RaiseNoteOnce(HWND note, bool activate)
{
    SendMessageA(note, kNoteMsgRaiseOnce, 0, activate ? 1 : 0);
}
inline void SetUpNewChatNote(HWND note, BYTE operation)
{
    SendMessageA(note, kNoteMsgNewChat, 0, operation);
}
inline void ReadNoteChatSettings(HWND note)
{
    SendMessageA(note, kNoteMsgReadChatSettings, 0, 0);
}
