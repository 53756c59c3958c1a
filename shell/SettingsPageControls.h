#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "foundation/win/HelpFile.h"

// What the settings sheet's pages share.

// The keys of the settings pages' edits: Tab, Shift+Tab and Enter move
// through the page, Escape closes the sheet as Cancel, and an edit that takes
// only digits (and, for the ports, commas) beeps at anything else. In a
// one-digit edit a digit typed while nothing is selected replaces the value.
// The subclass goes with the edit.
// With a check, it runs once the edit has given the focus to another control
// of the sheet (not to its Cancel button, another window or program), and is
// told which control took it.
enum class PageEditChars { kAny, kDigits, kDigitsAndComma, kOneDigit };
using PageEditCheck = void (*)(HWND edit, HWND gaining);
void SubclassPageEdit(HWND edit, PageEditChars allowed, PageEditCheck onLeaving = nullptr);
// Whether the window is the sheet's row of tabs: a click there leaves the
// page, whose own check on leaving then speaks.
bool IsSheetTabs(HWND page, HWND window);

// A control's text with the blanks on both sides removed, at most maxChars
// characters of it read.
std::string TrimmedItemText(HWND page, int id, int maxChars);

// A page's answer to the sheet's notification.
INT_PTR AnswerSheet(HWND page, LONG_PTR result);

// The sheet's notifications to a page, whatever the state of the OK button:
// leaving the page and OK both take the page's values (takeValues answers
// false, after telling the user, to keep the user on the page); OK then
// marks the object applied, Cancel clears the mark, Help opens the page's
// topic. FALSE for other notifications.
template <class TakeValues>
INT_PTR AnswerPageNotify(HWND page, UINT code, DWORD& applied, DWORD helpTopic, TakeValues takeValues)
{
    switch (code) {
    case PSN_KILLACTIVE:
        return AnswerSheet(page, takeValues() ? FALSE : TRUE);
    case PSN_APPLY:
        if (!takeValues())
            return AnswerSheet(page, PSNRET_INVALID_NOCHANGEPAGE);
        applied = 1;
        return AnswerSheet(page, PSNRET_NOERROR);
    case PSN_RESET:
        applied = 0;
        return TRUE;
    case PSN_HELP:
        ShowHelpTopic(page, helpTopic);
        return TRUE;
    default:
        return FALSE;
    }
}

// The object a page was created with.
template <class Data>
Data* PageCreationData(LPARAM initDialogParam)
{
    return reinterpret_cast<Data*>(reinterpret_cast<PROPSHEETPAGEA*>(initDialogParam)->lParam);
}
// Whether a check box is checked, and setting one from a flag.
DWORD ItemChecked(HWND page, int id);
void CheckItem(HWND page, int id, DWORD on);
