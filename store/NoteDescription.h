#pragma once

#include <windows.h>

#include "foundation/DateTime.h"
#include "store/bytes/PackedNoteSettings.h"

// Everything a note can be created with. Callers fill what they know: the
// notes loader every stored field, a new-note command almost nothing. A blank
// description (x, y and body colour all 0) asks for the user's defaults.
struct NoteDescription {
    // Chat.
    DWORD chatId = 0;  // 0: not a chat note
    BYTE chatOperation = 0;

    PackedNoteValues packed;
    int styleMode = 0;  // the background kind; 5: the body colour is the window's colour key
    WORD textureId = 0;
    bool textureStretch = false;
    BYTE transparency = 0;

    // Window.
    bool stayOnTop = false;
    bool border = false;
    bool hidden = false;
    bool rolledUp = false;
    bool showDate = false;
    LONG x = 0;
    LONG y = 0;
    LONG width = 0;   // 0: the user's default size
    LONG height = 0;
    bool noTaskbarAdjustment = false;
    bool forcePlacement = false;
    bool quiet = false;  // no raising and no chat set-up after creation

    // Looks.
    COLORREF bodyColor = 0;
    COLORREF textColor = 0;
    COLORREF titleColor = 0;
    COLORREF titleTextColor = 0;
    const LOGFONTA* bodyFont = nullptr;
    const LOGFONTA* titleFont = nullptr;
    const char* title = nullptr;
    int storedValue = 0;

    // Identity.
    DWORD noteId = 9999;  // 9999: not stored yet; 9988: a new note of the second kind
    DWORD userId = 0;
    bool notShared = false;
    CDateTime created;

    // Text: rich or plain, not necessarily terminated.
    const char* text = nullptr;
    DWORD textLength = 0;

    // Alarm; the recurrence is stored as the record's "delayed send" fields.
    bool alarmSet = false;
    bool alarmRung = false;
    CDateTime alarm;
    bool alarmRecurring = false;
    BYTE alarmValue = 1;
    BYTE alarmUnit = 3;
    BYTE alarmStopMinutes = 0;

    // Sending.
    bool retry = false;
    BYTE retryCount = 0;
    BYTE retryUnit = 0;
    bool sent = false;
    bool sent1 = false;
    bool received = false;
    bool received1 = false;
    DWORD sendResult = 0;
    const char* receivedFrom = nullptr;
    const char* createdBy = nullptr;
    const char* lastSentTo = nullptr;

    bool IsBlank() const { return x == 0 && y == 0 && bodyColor == 0; }
};
