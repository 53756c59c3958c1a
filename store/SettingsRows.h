#pragma once

#include <windows.h>

// The rows of the settings table, by record number.
enum SettingsRow : DWORD { kProgramRow = 1, kOptionsRow = 2, kContinuationRow = 3, kBackupRow = 4 };
