#pragma once

#include <windows.h>

// The dialog procedures of the General settings sheet's six pages.
INT_PTR CALLBACK NotePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SecurityPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK HotkeysPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SoundPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NetworkPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK EmailPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
