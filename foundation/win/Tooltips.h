#pragma once

#include <windows.h>

// Tooltips of the program's dialogs and windows: each owner makes its own
// tooltip control and registers its tools with it. A tool is a whole child
// window (subclassed by the control, or with the mouse relayed by its owner)
// or a rectangle of the owner; its text is fixed or asked of the owner when it
// is about to show (TTN_NEEDTEXT). Only adding a tool reports failures: in
// "error.txt" and in a box over the owner; the owner then goes on without it.

// A "tooltips_class32" popup owned by the window, always shown; null when it
// cannot be made.
HWND CreateTooltipControl(HWND owner);

// A child control of the owner, subclassed by the tooltip control. 1, or 0 after
// the report.
int AddTooltipSubclass(HWND tooltip, const char* text, HWND owner, HWND control);
// A window whose owner relays its mouse messages (RelayMouseToTooltip).
int AddTooltipWindow(HWND tooltip, const char* text, HWND window);
int AddTooltipWindowCallback(HWND tooltip, HWND window);
// A rectangle of the owner's client area with the owner's id, its tip centred
// under it unless noCentre is set. A null tooltip or owner answers 0 at once.
int AddTooltipRect(HWND tooltip, const char* text, HWND owner, UINT id, const RECT& rect, bool noCentre);
int AddTooltipRectCallback(HWND tooltip, HWND owner, UINT id, const RECT& rect);

void UpdateTooltipSubclassText(HWND tooltip, const char* text, HWND owner, HWND control);
void UpdateTooltipWindowText(HWND tooltip, const char* text, HWND window);
// Also moves the rectangle tool to the new rectangle.
void UpdateTooltipRectText(HWND tooltip, const char* text, UINT id, const RECT& rect, HWND owner);

void RemoveTooltip(HWND tooltip, HWND owner, UINT id);
void RemoveTooltipSubclass(HWND tooltip, HWND owner, HWND control);

// Tells a live tooltip control where the cursor is now, so that a tip follows
// or leaves a window whose mouse messages the control does not see.
void RelayMouseToTooltip(HWND tooltip);
