#include "note/NotePrinting.h"

#include <windows.h>

#include <commdlg.h>
#include <richedit.h>

#include "foundation/DiagnosticLog.h"
#include "globals/ProgramGlobals.h"
#include "note/NoteController.h"

namespace {
const int kTwipsPerInch = 1440;
const int kMarginTwips = 1440 * 3 / 4;

// A device context of the printer chosen last; null when none was chosen.
HDC ChosenPrinterDc()
{
    CPrintSetup& setup = PrintSetup();
    if (!setup.deviceNames)
        return nullptr;
    auto* names = static_cast<DEVNAMES*>(GlobalLock(setup.deviceNames));
    if (!names)
        return nullptr;
    const char* base = reinterpret_cast<const char*>(names);
    auto* mode = setup.deviceMode ? static_cast<DEVMODEA*>(GlobalLock(setup.deviceMode)) : nullptr;
    HDC dc = CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
    if (mode)
        GlobalUnlock(setup.deviceMode);
    GlobalUnlock(setup.deviceNames);
    return dc;
}

HDC AskForPrinter(HWND owner)
{
    CPrintSetup& setup = PrintSetup();
    PRINTDLGA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hDevMode = setup.deviceMode;
    dialog.hDevNames = setup.deviceNames;
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
    if (!PrintDlgA(&dialog))
        return nullptr;
    setup.deviceMode = dialog.hDevMode;
    setup.deviceNames = dialog.hDevNames;
    return dialog.hDC;
}

int Twips(int pixels, int pixelsPerInch)
{
    return pixelsPerInch > 0 ? MulDiv(pixels, kTwipsPerInch, pixelsPerInch) : 0;
}

// The pages of the body through the rich edit's own page formatting; false
// when the printer refused.
bool PrintPages(HDC printer, HWND body, const char* title)
{
    DOCINFOA document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = title[0] ? title : "Note";
    if (StartDocA(printer, &document) <= 0)
        return false;
    FORMATRANGE range = {};
    range.hdc = printer;
    range.hdcTarget = printer;
    const int width = Twips(GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, LOGPIXELSX));
    const int height = Twips(GetDeviceCaps(printer, VERTRES), GetDeviceCaps(printer, LOGPIXELSY));
    range.rcPage = {0, 0, width, height};
    range.rc = {kMarginTwips, kMarginTwips, width - kMarginTwips, height - kMarginTwips};
    GETTEXTLENGTHEX length = {GTL_NUMCHARS, CP_ACP};
    const LONG total = static_cast<LONG>(SendMessageA(body, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
    range.chrg.cpMin = 0;
    range.chrg.cpMax = -1;
    bool ok = true;
    // Every page takes at least one character, so the pages end.
    for (LONG page = 0; ok && range.chrg.cpMin < total && page <= total; ++page) {
        ok = StartPage(printer) > 0;
        const LONG next = ok ? static_cast<LONG>(SendMessageA(body, EM_FORMATRANGE, TRUE,
                                                              reinterpret_cast<LPARAM>(&range)))
                             : total;
        ok = ok && EndPage(printer) > 0;
        if (next <= range.chrg.cpMin)
            break;
        range.chrg.cpMin = next;
    }
    SendMessageA(body, EM_FORMATRANGE, FALSE, 0);
    if (ok)
        EndDoc(printer);
    else
        AbortDoc(printer);
    return ok;
}
}

int PrintNote(CNoteController& note, bool askPrinter)
{
    if (!note.m_bodyEdit)
        return 0;
    HDC printer = askPrinter ? AskForPrinter(note.m_window) : ChosenPrinterDc();
    if (!printer)
        return 0;
    const bool printed = PrintPages(printer, note.m_bodyEdit, note.m_title);
    if (!printed)
        WriteLastErrorLog("PrintNote: the printer refused the note");
    DeleteDC(printer);
    return printed ? 1 : 0;
}
