#pragma once

#include <windows.h>

// One sound file at a time through MCI command strings (MIDI and whatever else
// MCI can open). Failures never reach the caller: they go to "error.txt".
class MIDIOutDevice {
public:
    MIDIOutDevice() = default;
    // Stops what plays and starts the file, without waiting for its end.
    void Play(const char* path);
};

// Stops the MCI sound when one is open, and any sound of PlaySound.
void StopAllSounds();
// Whether an MCI sound is open (started and not yet closed).
bool IsMciSoundOpen();
