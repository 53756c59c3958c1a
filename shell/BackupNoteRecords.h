#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "xmlfiles/bytes/BackupRecords.h"

class CNoteController;

// What a backup holds of the program's notes and destinations, and the notes'
// fonts between their stored heights and the points a backup keeps them in.

// The fonts' sizes are told in points at the screen's pixels per inch.
BackupNote BackupRecordOf(CNoteController& note, int pixelsPerInch);
std::vector<BackupComputer> BackupComputersOfSentToList();

// The font's size in points on the screen the window is on (-13 pixels at 96
// dots per inch give 10), and back; the width comes from the pattern.
BackupFont BackupFontOf(const LOGFONTA& font, int pixelsPerInch);
LOGFONTA LogFontOf(const BackupFont& font, const LOGFONTA& pattern, int pixelsPerInch);
int PixelsPerInchOf(HWND window);
