#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/win/CoolMenu.h"
#include "foundation/win/DlgComboBoxes.h"
#include "foundation/win/InPlaceEdit.h"
#include "globals/NoteManagerOptions.h"
#include "notemanager/bytes/NoteListLogic.h"

class CDateTime;
class CNoteController;
class CWindowController;

// What the Note Manager window is opened with. The requested day travels by
// value (yyyymmdd, 0 for none): the window keeps its own copy.
struct CNoteManagerStartParams {
    CWindowController* application = nullptr;
    DWORD requestedDay = 0;
};

// The filters, the sort and the first seven columns, kept while a request
// from the calendar has changed them.
struct SavedNoteManagerFilters {
    BYTE filters[6] = {};
    char containingText[kNoteManagerTextSize] = "";
    BYTE sortColumn = 1;
    BYTE sortOrder = 0;
    CNoteManagerColumn columns[kNoteManagerColumnCount - 1] = {};
};

// Counts of the selected notes, gathered before a command.
struct CSelectionStats {
    DWORD associated = 0;
    DWORD sameAssociations = 1;
    DWORD onTop = 0;
    DWORD closedProtectedLocked = 0;
    DWORD locked = 0;
    DWORD selected = 0;
    DWORD visible = 0;
    DWORD parked = 0;
    DWORD textLength = 0;
};

// A note a command was given, with the window it had then: a note made
// later at the same address has another window.
struct ChosenNote {
    CNoteController* note;
    HWND window;
};

// The notes a command was given, and the notes' generation when it took
// them (globals/NotesGeneration.h); stopped once the command was stopped.
struct ChosenNotes {
    std::vector<ChosenNote> notes;
    unsigned generation = 0;
    bool stopped = false;
};

// A radio group of the filters: its first and last button.
struct RadioGroup {
    int first;
    int last;
};

// The Note Manager window's object: one per open window, kept in DWLP_USER.
// Its handlers are split by concern: the window (NoteManagerWindow.cpp), the
// rows and filters (NoteManagerList.cpp, NoteManagerTexts.cpp), the columns
// (NoteManagerColumns.cpp), drawing, sorting and status (NoteManagerDraw.cpp,
// NoteManagerStatus.cpp), the style and group combos (NoteManagerGroups.cpp),
// the list menu and keys (NoteManagerCommands.cpp), the commands themselves
// (NoteManagerActions.cpp) and the settings dialog (NoteManagerSettings.cpp).
class CNoteManagerController {
public:
    CNoteManagerController(HWND dialog, const CNoteManagerStartParams& params);
    ~CNoteManagerController();
    CNoteManagerController(const CNoteManagerController&) = delete;
    CNoteManagerController& operator=(const CNoteManagerController&) = delete;

    // Held by the window's procedures while they run the object's code. The
    // window destroyed meanwhile (the program ending while a command waits in
    // a box or a send) frees the object only when the last of them returns.
    class Call {
    public:
        explicit Call(CNoteManagerController& controller) : m_controller(controller) { ++controller.m_calls; }
        ~Call();
        Call(const Call&) = delete;
        Call& operator=(const Call&) = delete;

    private:
        CNoteManagerController& m_controller;
    };
    // WM_DESTROY: the object goes as the last call returns.
    void MarkDestroyed() { m_destroyed = true; }

    // The dialog's messages; false when the dialog's own handling applies.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    void OnInitDialog();
    void OnDestroy();
    // Dispatched by the list's subclass too.
    bool OnCommand(UINT id, UINT code);
    bool OnMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    HWND Dialog() const { return m_dialog; }
    HWND List() const { return m_list; }
    WNDPROC ListProcedure() const { return m_listPrevious; }
    WNDPROC HeaderProcedure() const { return m_headerPrevious; }
    bool IsHeaderCursorOverridden() const { return m_headerCursorOverridden; }
    void SetHeaderCursorOverridden(bool on) { m_headerCursorOverridden = on; }

    // Window (NoteManagerWindow.cpp).
    void OnReopen(DWORD requestedDay);
    void KeepOnTop(bool onTop);
    void Layout(int width, int height);
    void StorePlacement();
    void OnGetMinMaxInfo(MINMAXINFO& info);
    void Close();
    void RestoreSubclasses();

    // Rows and filters (NoteManagerList.cpp).
    void FillList();
    bool PassesFilters(CNoteController& note);
    void InsertRow(CNoteController* note);
    void OnGroupSelected();
    void RefillQuietly();
    void AddNoteRow(CNoteController* note);
    void OnNoteDeleted(CNoteController* note);
    // The note's row appended, then the status line told.
    void AppendRow(CNoteController* note);
    bool OnFilterCommand(UINT id, UINT code);
    void ShowFilters();
    void EnableRadioGroups(bool enable);
    bool IsDeletedView() const;
    // The note of the row, or of a row's parameter, while it is still one of
    // the program's notes; null otherwise.
    CNoteController* NoteAt(int row) const;
    CNoteController* LiveNoteOf(LPARAM rowParam) const;
    void CloseBeforeNotesGo();
    int RowOf(const CNoteController* note) const;
    int RowCount() const;

    // Cell texts (NoteManagerTexts.cpp).
    std::string CellText(CNoteController& note, int column, int row);
    std::string DateCellText(const CDateTime& date, int column, int row);
    int ChooseLevel(const std::string (&texts)[9], int column);
    void OnGetDispInfo(NMLVDISPINFOA& info);
    DWORD SizeOf(const CNoteController& note) const;

    // Columns (NoteManagerColumns.cpp).
    void InsertColumns();
    void ApplyColumnOrder();
    bool OnColumnCommand(UINT id);
    void ToggleColumn(int id);
    void TrackColumnsMenu();
    void ResetColumns();
    void SaveFilters();
    void RestoreFilters();
    void ResetFilters(bool apply);
    void OnHeaderNotify(NMHDR& header);
    void SubclassHeader();
    void SubclassList();

    // Drawing, sorting and status (NoteManagerDraw.cpp, NoteManagerStatus.cpp).
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw);
    void DrawIconsCell(NMLVCUSTOMDRAW& draw, const CNoteController& note);
    COLORREF RowShade(const CNoteController& note) const;
    void OnColumnClick(int column, bool keepOrder);
    void SetHeaderArrow(int column, int image);
    NoteSortFacts SortFactsOf(CNoteController& note);
    void UpdateStatus();
    void DescribeCurrentSelection(int changedRow);
    void OnItemChanged(const NMLISTVIEW& change);
    void DescribeSelectedNote(CNoteController& note);
    void DescribeSelection(int count);
    void SetStatus(const std::string& text);
    void SetButtons(const char* showText, bool showEnabled, const char* hideText, bool hideEnabled);

    // Style and group combos (NoteManagerGroups.cpp).
    void FillCombos();
    int FindGroupComboIndex(DWORD id);
    bool OnComboMenuCommand(UINT id);
    void BeginComboEdit(int comboId, bool withText, bool renaming, bool style);
    bool RefuseDuplicateName(HWND combo, int index, const char* name, bool groups);
    void RenameStyle(int index);
    void RenameGroup(int index);
    void AddGroup();
    void OnDeleteGroup();
    void BuildGroupSubmenu(HMENU menu);
    void AssignSelectedToGroup(int comboIndex);

    // Commands on the selection (NoteManagerCommands*.cpp).
    void CollectSelectionStats(CSelectionStats& stats);
    // The notes of the selected rows.
    std::vector<CNoteController*> SelectedNotes() const;
    // The same with their windows and the notes' generation, taken when a
    // command starts.
    ChosenNotes TakeSelection() const;
    // Asked after each box, dialog, password prompt or send's wait of a
    // command: false when it must stop, as the notes were restored or
    // reloaded meanwhile (told to the user once) or the window is destroyed.
    bool GoesOn(ChosenNotes& chosen);
    void TrackListMenu();
    void OnListKey(WORD key);
    bool OnSelectionCommand(UINT id);
    void OnSettings();
    void PointAtSelectedRow(int offset);
    void EnableListMenu(HMENU menu, const CSelectionStats& stats);
    bool IsLive(CNoteController* note) const;
    bool IsLive(const ChosenNote& chosen) const;
    void RedrawRow(CNoteController* note);
    bool OpenClosedProtected(CNoteController& note);
    bool OpenChosenProtected(ChosenNotes& chosen, const ChosenNote& each);
    void SelectAll();
    void ShowSelectedNotes();
    void HideSelectedNotes();
    void LockSelectedNotes();
    bool ToggleLocks(ChosenNotes& chosen, bool unlocking);
    void PrintSelectedNotes();
    void DeleteSelectedNotes(bool confirmOne);
    void UndeleteSelectedNotes();
    void DuplicateSelectedNotes();
    bool WaitWhileSending(const ChosenNotes& chosen, const ChosenNote& sending);
    void SendSelectedNotes();
    void ToggleStayOnTop(bool rollUp);
    void AssociateSelectedNotes();
    void OpenNoteSettings();

private:
    HWND m_dialog;
    CNoteManagerStartParams m_params;
    HWND m_list = nullptr;
    HWND m_header = nullptr;
    HWND m_status = nullptr;
    std::unique_ptr<CDlgComboBoxStyle> m_styleCombo;
    std::unique_ptr<CDlgComboBoxGroup> m_groupCombo;
    CInPlaceEditOwner m_edit;
    HIMAGELIST m_rowImages = nullptr;
    HIMAGELIST m_arrowImages = nullptr;
    CCoolMenu m_columnsMenu;
    CCoolMenu m_listMenu;
    CCoolMenu m_groupMenu;
    HFONT m_normalFont = nullptr;
    HFONT m_boldFont = nullptr;
    int m_measuring = 0;
    bool m_groupSubmenuBuilt = false;
    bool m_requestApplied = false;
    bool m_filtersSaved = false;
    SavedNoteManagerFilters m_savedFilters;
    bool m_headerDragEnded = false;
    int m_createdLevel = 0;
    int m_alarmLevel = 0;
    CSelectionStats m_lastStats;
    WNDPROC m_listPrevious = nullptr;
    WNDPROC m_headerPrevious = nullptr;
    bool m_headerCursorOverridden = false;
    // True while a send pumps messages: commands, filters and Close wait.
    bool m_busySending = false;
    // The procedures' calls under way, and whether the window has gone.
    int m_calls = 0;
    bool m_destroyed = false;
    // The window was told to close (a restore closes it under a command).
    bool m_closing = false;
    // The calendar's search text was set at the last fill: group names count.
    bool m_calendarSearch = false;
    // The program itself is putting text into the edit: no refill.
    bool m_settingText = false;
    // Opened maximised: the window is maximised once it is first shown.
    bool m_maximizeWhenShown = false;
};

// A measure request that reaches the window before its object exists: the
// style combo's items, which are made with the window; true when answered.
bool MeasureBeforeController(HWND dialog, MEASUREITEMSTRUCT& measure);

// The window of the open Note Manager, found by its title; null when none.
HWND FindNoteManagerWindow();
extern const char kNoteManagerTitle[];
