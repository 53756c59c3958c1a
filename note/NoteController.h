#pragma once

#include <windows.h>

#include <string>

#include "note/NoteTitleFonts.h"
#include "note/bytes/SnoozeLayout.h"
#include "store/NoteRecord.h"

class INoteKeeper;

// The saved place of a note before an arrangement moved it; all 0 means none.
struct NoteArrangedRect {
    LONG left = 0;
    LONG top = 0;
    LONG width = 0;
    LONG height = 0;
};

// The note object: one per note. It is the note's record (everything the
// notes table stores, store/NoteRecord.h) and what the note window works with.
// The window and its controls come with the note window; until then the
// handles stay empty and the rich text lives here.
class CNoteController : public NoteRecord {
public:
    CNoteController() = default;
    ~CNoteController() override = default;
    static void* operator new(std::size_t size);
    static void operator delete(void* note) noexcept;
    CNoteController(const CNoteController&) = delete;
    CNoteController& operator=(const CNoteController&) = delete;

    // A chat note keeps its participants beside the notes table, and a
    // note joins the group that waits for its record.
    void SaveBesideTable() override;

    // Identity and owner.
    bool m_notShared = false;           // another user's note that this user may not share
    INoteKeeper* m_application = nullptr;  // the keeper of the note's lists

    // Windows.
    HWND m_bodyEdit = nullptr;
    void* m_bodyRichEdit = nullptr;       // the body's rich-edit wrapper, owned by the window
    HWND m_scrollUp = nullptr;
    HWND m_scrollDown = nullptr;

    // Window state.
    bool m_parked = false;
    bool m_rollUpOnLeave = false;
    bool m_raised = false;              // made topmost once by the program
    bool m_programActivation = false;   // received and not yet shown, or activated by the program
    bool m_showing = false;             // shown without activation
    bool m_bodyFocused = false;         // the body has the keyboard's focus and the caret
    HWND m_focusOnReturn = nullptr;     // its control that had the focus when the note was left
    bool m_temporarilyOnTop = false;
    bool m_restoredMark = false;        // added by a restore: a green frame until edited (not stored)
    bool m_trackedByMainWindow = false;
    NoteArrangedRect m_arrangedRect;

    // Looks.
    int m_backgroundKind = 0;       // 0 plain, 1-3 gradients, 4 texture, 5 transparent
    DWORD m_textureId = 0;          // the TEXTURES picture by its name's hash; 0 none
    bool m_textureStretch = false;  // stretched over the body, else tiled
    HBITMAP m_backgroundPicture = nullptr;  // the body's texture or gradient, prepared at its size
    bool m_textMarginSet = false;   // the body's text moved right of the margin line
    POINT m_paintedScroll{};        // the text's scroll position the body's picture was last painted at
    int m_paintedTextEnd = -1;      // where the text ended at the last paint that showed its end
    CNoteTitleFonts m_titleFonts;

    // Alarm.
    bool m_ringing = false;
    LONG m_msSinceSound = 0;        // counts up while ringing; 0 when the sound plays again
    LONG m_msRinging = 0;           // counts up from the start of ringing
    SnoozeTable m_snooze;           // the snooze menu's choices and the current one
    bool m_playingAlarmSound = false;  // inside the sound, which may handle messages
    char m_alarmTip[128]{};         // "Next alarm at ...", empty without an alarm
    HWND m_alarmTooltip = nullptr;  // the caption's tooltip control, made with the first tip

    // Sending and receiving.
    int m_sendState = 0;            // 0 none, 1 last send succeeded, 2 it failed
    bool m_sendAtAlarmTime = false;
    char m_receivedFromUser[26]{};
    char m_attachedFile[MAX_PATH]{};

    // Chat.
    bool m_chatNote = false;
    DWORD m_chatId = 0;
    DWORD m_chatState = 0;

    // Protection. A protected note is masked (its body shows the placeholder,
    // the enciphered body is kept) until its password opens it.
    std::string m_passwordText;      // the password text that opened or locked it
    DWORD m_storedProtectedSize = 0;
    DWORD m_storedContentSize = 0;
    bool m_storedContentSizeKnown = false;

    // The group picked while the note could not be stored: a membership
    // names its note by the record, so the note joins the group once it is
    // stored (note/NoteGroupWaiting.h); -1 when none waits.
    int m_waitingGroup = -1;

    // Where the Note Manager found a search text (text and title), -1 for none.
    int m_textMatch = -1;
    int m_titleMatch = -1;

    // The window side (note/NoteControllerWindow.cpp).
    // The text and the place of the window, copied into the record.
    void SyncFromWindow();
    // The window holds a text the record does not have yet (the note or its
    // edit changed since the last save); else the record's text is the window's.
    bool WindowTextIsNewer() const;
    // Marks the note changed, tells the main window and repaints the frame.
    void SetModified();
    // The Hide command: saves, hides the window and tells the main window.
    void HideNote();
    // Parks the note without touching the others.
    void HideQuietly();
    // Hiding a ringing note ends its ringing and moves its alarm to the next time.
    void EndRingingForHide();
    // Shows the scroll arrows while the text is longer than the window.
    void UpdateScrollArrows(bool repaint);
    void ForceRepaintBySize();
    void RelayoutRichEdits();
    // Colours, fonts, flags and transparency of one of the nine program styles.
    void ApplyStyle(int styleIndex, bool insertText);
    // Colours, fonts, topmost and transparency of the record put on the window.
    void ApplyLooksToWindow();
    // The same for a window just made, which has its final style and place
    // among the windows already and is painted whole when first shown.
    void ApplyLooksToNewWindow();
    // The background kind, texture and stretch, kept also where the record stores them.
    void SetBackground(int kind, DWORD textureId, bool stretch);
    // The colour of the body's background at a point near its top left
    // corner: of its prepared picture, or, while it has none (or too small a
    // one), of a small picture its background is painted into.
    COLORREF BackgroundColourAt(int x, int y) const;
    void ToggleStayOnTop();
    void RollUp();
    void Unroll();
    // Delete: refused for a locked note, asked when the user wants to be asked;
    // the record leaves the notes table and the note goes to the deleted list.
    void DeleteNote();
    // Ties the note to other programs' windows: with the dialog (askDialog 1)
    // the user picks them; then apps.QPD is written and the tracking told.
    // 1 when done, 0 when cancelled or the note could not be saved first.
    int AssociateWith(int ownerChoice, int askDialog);
    // An association names the note by its record: a note never saved is
    // stored first, with the text on the screen. False when it could not
    // be, and one box has said why, naming the files another program holds
    // (and, with othersLeft, that the notes after it are not associated).
    bool StoredForAssociation(bool othersLeft);
    // Entry points of the dialogs that come with the note's settings and
    // send: each answers whether something changed or was sent.
    // The note settings sheet on its Appearance (0) or Alarm (1) page; with
    // openWithAlarmSet the alarm is switched on at the proposed time (none:
    // now plus five minutes); the sheet belongs to the Note Manager when it
    // is open and asked for. 1 when the note took the sheet's values.
    int ShowProperties(int startPage, bool openWithAlarmSet, bool noteManagerOwner, const CDateTime* proposedTime);
    // Opens the Find box on this note (note/FindDialog.cpp).
    void ShowFindDialog();
    int OnSendTo(bool ask);
    // The group's position among the note's groups, -1 when the note is not
    // in it; with -1, the id of the note's group (-1 when it has none). A
    // group waiting for the note's record is its group already.
    int FindGroupId(int groupNumber) const;
    // The answer to "is your alarm due": comes up, rings and answers true when it is.
    bool BringNoteToFront();

    // Alarm timing (note/AlarmTiming.cpp): the next time by the
    // recurrence, and the due tests, which are strict to the second and
    // refresh the caption's alarm tip.
    void ComputeNextAlarm();
    bool IsAlarmDue();
    bool IsRecurringAlarmAhead();
    void UpdateAlarmTooltip();

    // Ringing (note/AlarmRinging.cpp): timer 10 flashes the frame and
    // replays the user's alarm sound.
    void StartRinging();
    void OnAlarmTick();
    // Ends the ringing without touching the alarm: flag, timer and counters.
    void StopRinging();
    // "&Alarm off": the alarm, its recurrence and the send at alarm time end.
    void SwitchAlarmOff();
    void StopAlarmAndHide();
    // The send icon goes and the note's pending resends are dropped (by the strips, note/NoteStrips.h).
    void ClearSendIcon();

    // The snooze menu in its standard layout, the given item current (note/SnoozeMenus.cpp).
    void SetStandardSnoozeMenu(HMENU menu, int index);

    // Protection (note/ProtectedNotes.cpp).
    // The enciphered body of the rich text kept here, made with the user's
    // password text (or, without one, the text that opened the note); false,
    // with the reason, when it cannot be made.
    bool PrepareContentForSend(std::string* failure = nullptr) override;
    // The password text the body is made with; empty when there is none.
    std::string ProtectionPasswordText() const override;
    // The silent opening of a hidden masked note with the password texts of
    // this run (its body is kept): 2 opened, 1 not, 0 when there is nothing
    // to open or a password prompt is open.
    int OpenProtectedNote();
    // Puts the placeholder back, once the body holds the current text.
    void LockProtectedNote();
    // The lock command: protects the note with the user's password text, or
    // makes an open protected note plain; a masked one is opened first.
    void ToggleLock();
    // The one way a note becomes protected (the lock command, a protected
    // style, the settings sheet): refused with a box while the user has no
    // password; else the notes are saved at once with their memo file
    // rebuilt. True when the note is protected and no plain copy of its text
    // is left on the disk; false when the save failed: the note stays
    // protected, and the user is told that its plain text stays in the memo
    // file until a save works.
    bool MakeProtected();

    BYTE Transparency() const { return static_cast<BYTE>(m_packed.level); }
    bool IsLocked() const { return m_protected && m_masked; }

    WNDPROC m_editProcedure = nullptr;  // the body's own procedure, put back at destruction
    bool m_counted = false;             // counted among the live note windows
    bool m_ownedByWindow = false;       // the window frees the note when it goes

};
