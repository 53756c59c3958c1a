#pragma once

#include "globals/SoundSlot.h"

class CDbfFile;

// The four sounds of the current user (an alarm, an incoming note, a new chat,
// a received chat line), kept per user in "sounds.QPD".

// The user's slot of a kind (1 to 4); any other kind gives the alarm's.
CSoundSlot& UserSoundSlot(int kind);

// Plays the slot: nothing, a row of beeps, or its file (".wav" files through
// PlaySound, any other through MCI). Returns at once for files.
void PlaySoundFile(const CSoundSlot& slot);

// Reads the current user's four slots; kinds the table lacks get a record:
// the alarm from the user's settings, the others from the standard set.
void LoadUserSounds();
// Takes the type, path and replay of each edited slot (kinds 1 to 4 in order)
// and updates its record.
void ApplySoundSettings(const CSoundSlot edited[4]);

// Writes one record: a new one (append), or the user's record of that kind
// (update; a missing record is reported in a box).
void SaveSoundRecord(bool append, unsigned long userId, int soundId, int type, const char* path, int replay);
void AppendSoundRecord(unsigned long userId, int soundId, int type, const char* path, int replay);
// The table's current record into the slot.
void ReadSoundRecord(CDbfFile& table, int soundId, CSoundSlot& slot);
