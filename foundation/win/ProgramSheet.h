#pragma once

#include <windows.h>
#include <commctrl.h>

// The program's property sheets: modal, without an Apply button, a system
// menu or a "?" button, Cancel and Help in the program's words, and the tabs
// drawn by the program unless the Vista look draws them.

struct CSheetPage {
    WORD templateId;
    DLGPROC procedure;
    void* data;  // the page's PROPSHEETPAGE lParam
};

// Makes the pages (each with Help) and runs the sheet with the caption and
// the sheet's callback, opening on the start page (the first when it is out
// of range). PropertySheet's answer.
INT_PTR RunProgramSheet(HWND owner, const char* caption, const CSheetPage* pages, int count, int startPage,
                        PFNPROPSHEETCALLBACK callback);

// PSCB_PRECREATE of a sheet's callback, on its dialog template: no system
// menu, no "?" button, the styles given added and the extended styles given
// taken away.
void AdjustSheetTemplate(LPARAM dialogTemplate, DWORD addStyles, DWORD removeExtendedStyles);

// PSCB_INITIALIZED of a sheet's callback: the buttons' texts and the drawn
// tabs; the sheet is subclassed with the procedure, which hands its messages
// to SheetTabMessage.
void StartProgramSheet(HWND sheet, WNDPROC sheetProcedure);
LRESULT SheetTabMessage(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam);
