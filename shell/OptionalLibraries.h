#pragma once

#include <windows.h>

// The system libraries that start-up loads, and the entry points that older
// systems lack; a missing one leaves its pointer empty and its users do without.

// Visual styles, composition, GradientFill, session notifications, layered
// windows. Returns nothing: every piece is optional.
void LoadOptionalLibraries();
// The rich-text control's library; false (after a box with the system's
// text) when it cannot be loaded, which stops the start.
bool LoadRichEditLibrary();
// Frees every library loaded above.
void FreeOptionalLibraries();

// Session notifications for the main window, when the system offers them.
void RegisterSessionNotification(HWND window);
void UnregisterSessionNotification(HWND window);
