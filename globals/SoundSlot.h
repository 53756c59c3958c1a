#pragma once

#include <windows.h>

// One of the four sounds the program plays: for an alarm, an incoming note, a
// new chat and a received chat line.
enum SoundKind : BYTE {
    kSoundAlarm = 1,
    kSoundIncomingNote = 2,
    kSoundChatStarted = 3,
    kSoundChatLine = 4,
};

// How a slot sounds: 1 not at all, 2 a beep, 3 its standard file, 4 a file the
// user chose.
enum SoundType : BYTE {
    kSoundNone = 1,
    kSoundBeep = 2,
    kSoundStandardFile = 3,
    kSoundCustomFile = 4,
};

struct CSoundSlot {
    enum { kPathSize = 101 };
    BYTE id = 0;    // SoundKind
    BYTE type = 0;  // SoundType
    char path[kPathSize] = "";
    DWORD enabled = 0;  // 1 unless the type is "none"
    WORD replay = 0;    // the alarm's repeat interval
};
