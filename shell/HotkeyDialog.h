#pragma once

#include <windows.h>

#include <string>

// What the key-combination dialog edits: one hotkey's modifiers and key.
struct HotkeyDialogRecord {
    DWORD restricted;  // only keys up to code 100 (letters, digits and the named keys)
    char title[100];   // the dialog's caption
    DWORD ctrl, alt, shift;
    DWORD key;
};

// Runs the dialog (template 345) over the owner: 1 when the user chose OK
// with a combination of at least two modifiers, 0 otherwise.
INT_PTR ShowHotkeyDialog(HINSTANCE instance, HWND owner, HotkeyDialogRecord& record);

// The dialog over the owner with the title and the combination; the
// combination changes only on OK.
bool AskForKeys(HWND owner, const std::string& title, DWORD restricted, DWORD& ctrl, DWORD& alt, DWORD& shift,
                DWORD& key);
