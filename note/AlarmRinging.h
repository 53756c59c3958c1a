#pragma once

struct CSoundSlot;

// Stops the alarm sound of a slot: a ".wav" file of PlaySound by a purge, any
// other file with every sound; a beep or no sound has nothing to stop.
void StopAlarmSound(const CSoundSlot& slot);
