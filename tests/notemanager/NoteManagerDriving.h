#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/ProgramDriver.h"

// The Note Manager window of the real program as the tests drive it.

extern const char kNoteManagerCaption[];

// A note stored in the install's notes table before the program starts.
struct TestNote {
    TestNote(std::string text_, bool hidden_ = false, DWORD alarmDay_ = 0, WORD alarmHour_ = 9,
             std::string title_ = std::string())
        : text(std::move(text_)), hidden(hidden_), alarmDay(alarmDay_), alarmHour(alarmHour_), title(std::move(title_))
    {
    }
    std::string text;
    bool hidden;
    DWORD alarmDay;  // yyyymmdd, 0: no alarm
    WORD alarmHour;
    std::string title;  // empty: the text
    bool recurring = false;
    bool locked = false;  // protected with the password of "secret"
    int style = 0;        // 1..9: the colours of that standard style
};
// Stores the notes; their ids in order.
std::vector<DWORD> StoreTestNotes(const ProgramInstall& install, const std::vector<TestNote>& notes);

// The install's noteman.QPD: the standard groups, then groups of the ids
// given (named "Group <id>"), and the memberships {group, note}.
void WriteGroupsFile(const ProgramInstall& install, const std::vector<DWORD>& extraGroups,
                     const std::vector<std::pair<DWORD, DWORD>>& memberships);

// The group of each note that noteman.QPD files in one, by the note's record.
std::map<DWORD, DWORD> StoredGroupOfEachNote(const ProgramInstall& install);

// noteman.QPD with the standard groups, the hotkey of the group References
// allowed (Ctrl+Alt+Shift+F7, hotkey id 28 + 5).
const WPARAM kReferencesHotkey = 33;
void AllowReferencesHotkey(const ProgramInstall& install);

// Whether the note is being sent at the moment.
bool NoteIsTransmitting(HWND note);

class NoteManagerWindow {
public:
    explicit NoteManagerWindow(DWORD process) : m_process(process) {}
    // Waits for the window; false when it did not come.
    bool Wait();
    // The program's main window once it is up, the window opened from the
    // tray's command; null when either did not come.
    HWND OpenFromTray(const RunningProgram& program);
    // The same, once the window lists that many rows; null when they did not come.
    HWND OpenFromTrayListing(const RunningProgram& program, int rows);
    // Close pressed; false when the window stayed.
    bool Close() const;
    // The same once the note's send from the window has ended (waited for
    // here): the window beeps at a press until it has seen the end itself (it
    // looks once its queue is empty, at the latest every 50 ms), so a press
    // refused within a second of the end is made again, each told in the log;
    // one refused later fails.
    bool CloseAfterItsSend(HWND sentNote) const;
    HWND Window() const { return m_window; }
    HWND List() const { return GetDlgItem(m_window, 1340); }
    HWND Status() const;
    std::string StatusText() const;
    std::vector<std::string> Column(int column) const;
    std::string Cell(int row, int column) const;
    int Rows() const;
    bool Checked(int id) const;
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(m_window, id)) != FALSE; }
    std::string Text(int id) const { return ReadWindowText(GetDlgItem(m_window, id)); }
    // The command given as a menu of the window gives it, handled in order
    // with what the test sends the window after it; returns at once, so that
    // a command that opens a box does not hold the test.
    void Command(int id) const { SendInOrder(m_window, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    // A radio button or button clicked; its command has run on return.
    void Click(int id) const;
    // A button clicked, its command handled in order like Command's and not
    // awaited: for a button that opens a box or a dialog.
    void Press(int id) const;
    // The keys pressed with Ctrl to the list, given the focus as the user
    // gives it; returns at once, so that a command that opens a box does not
    // hold the test.
    void PressCtrlToList(BYTE key) const;
    // Waits until every command and press given so far has run; false when
    // one had not within the time.
    bool CommandsDone() const { return WaitUntilSentHandled(); }
    // The rows of the titles, selected.
    void SelectTitles(const std::vector<std::string>& titles) const;
    int RowOfTitle(const std::string& title) const;
    // The window brought forward, the row right-clicked where its text
    // shows, and in its menu "Assign to group" and the group at that place
    // of its submenu clicked (None, then the five standard groups); the
    // submenu is kept as a picture of that name. False, with the step that
    // did not come as a failure, otherwise.
    bool FileRowInGroup(int row, size_t groupItem, const char* picture) const;
    // The same for the rows selected, the list's menu opened by the Menu
    // key, as a user opens it when notes kept on top cover the list.
    bool FileSelectionInGroupByMenuKey(size_t groupItem, const char* picture) const;
    // The list's menu opened by the Menu key for the rows selected, and its
    // item at that place clicked (separators not counted: Send, Note
    // settings, Stay on top, Lock, Associate, Assign to group, Show, Hide,
    // Print, Duplicate, Delete, Undelete); the menu is kept as a picture of
    // that name. False, with the step that did not come as a failure,
    // otherwise.
    bool ChooseInListMenuByMenuKey(size_t item, const char* picture) const;
    // The middle of the row's text, where the mouse clicks it; false when
    // another window lies over it.
    bool RowPoint(int row, POINT& at) const;
    // The text of a combo box's item.
    std::string ComboItem(int comboId, int index) const;
    int ComboSelection(int comboId) const;
    // Whether the combo's list is open.
    bool ComboDropped(int comboId) const;
    // The window in front and done with what it was asked before (a list
    // filled again, a box's text changed), so that clicks reach it as the
    // user sees it; false when it did not come so.
    bool ReadyForClicks() const;
    // The combo's item chosen as the user's mouse chooses it: a click on the
    // box's arrow, then one on the item in the list it opens. True once the
    // list has closed with the item chosen.
    bool ChooseComboItem(int comboId, int index) const;
    // A name typed into the in-place edit that the command opens, and Enter.
    bool TypeInPlace(UINT command, const char* name) const;
    // The same into the in-place edit once it shows; false when none came.
    bool TypeInOpeningInPlaceEdit(const char* name) const;
    // Waits until the window has gone.
    bool WaitClosed() const;
    // The notes of the titles sent by the Send command, its dialog given
    // 127.0.0.1 and the port; true once the first note is on its way.
    bool SendTitles(const std::vector<std::string>& titles, unsigned short port) const;

private:
    // "Assign to group" of the list's open menu, then the group at that place
    // of its submenu, kept as a picture of that name; false, with the step
    // that did not come as a failure, otherwise.
    // menuClosed tells a failure where the list's menu closed by itself.
    bool ChooseGroupInListMenu(HWND menu, size_t groupItem, const char* picture, bool& menuClosed) const;
    // The list's menu opened by the Menu key, the list given the focus first;
    // null, with a failure, when it did not open.
    HWND OpenListMenuByMenuKey() const;
    // The window brought forward, the list's menu opened by openMenu (null
    // when it did not open), and the group chosen in it; the menu opened
    // once more when it closed by itself before its submenu opened.
    bool FileInGroupFromMenu(const std::function<HWND()>& openMenu, size_t groupItem, const char* picture) const;
    DWORD m_process;
    HWND m_window = nullptr;
};
