#include "notemanager/NoteManagerDriving.h"

#include <commctrl.h>

#include "note/NoteController.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/ListViewDriving.h"
#include "support/StoredNotes.h"

const char kNoteManagerCaption[] = "Quillnet+ Note Manager";

std::vector<DWORD> StoreTestNotes(const ProgramInstall& install, const std::vector<TestNote>& notes)
{
    CurrentFolder data(install.Path());
    NotesFreeSlots().Clear();
    std::vector<DWORD> ids;
    LONG left = 40;
    for (const TestNote& given : notes) {
        CNoteController note;
        FillTestNote(note, given.text.c_str(), left, 60);
        left += 30;
        lstrcpynA(note.m_title, (given.title.empty() ? given.text : given.title).c_str(), sizeof note.m_title);
        note.m_hidden = given.hidden;
        if (given.alarmDay) {
            note.m_alarmSet = true;
            note.m_alarmRecurring = given.recurring;
            note.m_alarm = CDateTime(static_cast<BYTE>(given.alarmDay % 100), static_cast<BYTE>(given.alarmDay / 100 % 100),
                                     static_cast<WORD>(given.alarmDay / 10000), given.alarmHour, 0, 0);
        }
        SaveNote(note);
        ids.push_back(note.m_noteId);
    }
    return ids;
}

bool NoteManagerWindow::Wait()
{
    const DWORD process = m_process;
    return WaitUntil([&] {
        m_window = FindTopWindowTitled("#32770", kNoteManagerCaption, process);
        return m_window != nullptr && IsWindowVisible(m_window);
    });
}

HWND NoteManagerWindow::Status() const
{
    return FindWindowExA(m_window, nullptr, STATUSCLASSNAMEA, nullptr);
}

std::string NoteManagerWindow::StatusText() const
{
    return StatusBarText(m_process, Status());
}

std::vector<std::string> NoteManagerWindow::Column(int column) const
{
    return ListColumn(m_process, List(), column);
}

std::string NoteManagerWindow::Cell(int row, int column) const
{
    return ListCell(m_process, List(), row, column);
}

int NoteManagerWindow::Rows() const
{
    return ListRowCount(List());
}

bool NoteManagerWindow::Checked(int id) const
{
    LRESULT state = 0;
    SendWithTimeout(GetDlgItem(m_window, id), BM_GETCHECK, 0, 0, &state);
    return state == BST_CHECKED;
}

void NoteManagerWindow::Click(int id) const
{
    PostMessageA(GetDlgItem(m_window, id), BM_CLICK, 0, 0);
}

int NoteManagerWindow::RowOfTitle(const std::string& title) const
{
    const std::vector<std::string> titles = Column(1);
    for (size_t row = 0; row < titles.size(); ++row) {
        if (titles[row] == title)
            return static_cast<int>(row);
    }
    return -1;
}

void NoteManagerWindow::SelectTitles(const std::vector<std::string>& titles) const
{
    std::vector<int> rows;
    for (const std::string& title : titles)
        rows.push_back(RowOfTitle(title));
    SelectListRows(m_process, List(), rows);
}

bool NoteManagerWindow::WaitClosed() const
{
    HWND window = m_window;
    return WaitUntil([&] { return !IsWindow(window); });
}
