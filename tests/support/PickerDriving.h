#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

// Driving a picture picker dialog of the program's code as a user would: the
// dialog runs on a thread of its own, as the program's main thread runs it,
// and the test reads its lines and cells and posts keys and clicks.

class PickerRun {
public:
    // Starts the run; the dialog is found by its caption, the Open dialog of
    // "Select other image..." by its title.
    PickerRun(std::string caption, std::string openTitle, std::function<INT_PTR()> run);
    // Whatever the test did, the thread is ended before the object goes.
    ~PickerRun();
    PickerRun(const PickerRun&) = delete;
    PickerRun& operator=(const PickerRun&) = delete;

    HWND Dialog() const;
    // The dialog once it shows that many lines; null when it did not.
    HWND WaitForFilledDialog(int lines);
    HWND List() const;
    // The dialog's answer once it has closed; -2 when it did not.
    INT_PTR Result();

private:
    static DWORD WINAPI Run(void* parameter);

    std::string m_caption;
    std::string m_openTitle;
    std::function<INT_PTR()> m_run;
    INT_PTR m_result = -2;
    HANDLE m_thread = nullptr;
    HWND m_dialog = nullptr;
};

std::vector<std::string> Lines(HWND list);
// The line of that text; -1 when there is none.
int LineOf(HWND list, const std::string& name);
RECT CellOf(HWND list, int line);
// The tools of the picker's tooltip control, each as its text and rectangle.
std::multiset<std::string> TipsOf(HWND dialog);
// What the tips must be: each line's name over its cell where the list shows it now.
std::multiset<std::string> CellTips(HWND list);
