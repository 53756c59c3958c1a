#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Another program's window that notes can be associated with (a window of
// this test process, on its own thread), and the note's "Associate note
// with..." dialog driven from outside.

extern const char kHelperAppTitle[];

// A plain top-level window titled kHelperAppTitle, shown not activated, which
// can be made to stop answering (Freeze) until Thaw. The user may close it;
// it is closed at the latest when the object goes.
class HelperAppWindow {
public:
    HelperAppWindow();
    ~HelperAppWindow();
    HelperAppWindow(const HelperAppWindow&) = delete;
    HelperAppWindow& operator=(const HelperAppWindow&) = delete;

    HWND Window() const { return m_window; }
    void Freeze();
    void Thaw() { SetEvent(m_thaw); }
    // Brought to the front and closed with Alt+F4, as the user closes it;
    // true once it has gone.
    bool CloseWithKeys();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static DWORD WINAPI Run(void* context);

    HANDLE m_ready = nullptr;
    HANDLE m_thaw = nullptr;
    HANDLE m_thread = nullptr;
    HWND m_window = nullptr;
};

// The lines of a list box of another process.
std::vector<std::string> ListBoxLines(HWND list);
// The list of the windows in the association dialog.
HWND AssociateListOf(HWND dialog);
// The note's "Associate note with..." dialog, once it is up; null when it did
// not come.
HWND OpenAssociateDialog(HWND note, DWORD process);
// The helper's line of the dialog once the list is filled; -1 when it never
// comes. No line may name this program.
int HelperLineIn(HWND dialog);
// A click on the line: it selects a line not selected and unselects one that is.
void ClickAssociateLine(HWND dialog, int line);
// The dialog opened from the note, the helper's line clicked to the state
// wanted, and OK; false when a step fails.
bool SetTieThroughDialog(HWND note, DWORD process, bool tied);
// Shown and topmost, as a note is while the window it follows is on the screen.
bool IsShownTopmost(HWND note);
