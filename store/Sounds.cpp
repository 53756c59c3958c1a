#include "store/Sounds.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/DataFolder.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/MciSound.h"
#include "globals/ProgramGlobals.h"
#include "store/DbfFile.h"
#include "store/FieldAccess.h"
#include "store/TableText.h"

namespace {
const int kKindCount = 4;
const UINT kBeepSeries[] = {0, MB_ICONASTERISK, MB_ICONEXCLAMATION, MB_ICONHAND, MB_ICONQUESTION, 0, 0xFFFFFFFF};

CSoundSlot g_userSlots[kKindCount];

bool IsKnownKind(long kind)
{
    return kind >= kSoundAlarm && kind <= kSoundChatLine;
}

// Beeps while nothing else waits: messages that arrive meanwhile are handled
// first, so the program stays responsive.
void PumpMessagesWithBeeps()
{
    bool windowsNt = lstrcmpiA(GetStartupValues().windows.platformName, "Windows NT") == 0;
    int series = windowsNt ? 1 : 4;
    // Bounded: a flood of messages can delay the beeps but not stop the loop.
    for (int round = 0; round < 10000 && series > 0; ++round) {
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
            continue;
        }
        for (UINT beep : kBeepSeries)
            MessageBeep(beep);
        --series;
    }
}

class CSoundsTable : public CDbfFile {
public:
    CSoundsTable() { SetTable(DataFilePath(DataName::kSoundsTable).c_str(), true); }
};

void WriteSoundFields(CDbfFile& table, DWORD record, unsigned long userId, int soundId, int type, const char* path,
                      int replay)
{
    WriteNumber(table, record, "WUSERID", static_cast<long>(userId));
    WriteNumber(table, record, "WID", soundId);
    WriteNumber(table, record, "WTYPE", type);
    WriteNumber(table, record, "WREPLAY", replay);
    WriteLogical(table, record, "BENABLED", type != kSoundNone);
    WriteText(table, record, "SZPATH", path ? path : "");
}

void SetSlot(CSoundSlot& slot, int kind, int type, const char* path, int replay)
{
    slot.id = static_cast<BYTE>(kind);
    slot.type = static_cast<BYTE>(type);
    std::snprintf(slot.path, sizeof slot.path, "%s", path ? path : "");
    slot.enabled = type != kSoundNone ? 1 : 0;
    slot.replay = static_cast<WORD>(replay);
}
}

CSoundSlot& UserSoundSlot(int kind)
{
    return g_userSlots[IsKnownKind(kind) ? kind - 1 : 0];
}

void PlaySoundFile(const CSoundSlot& slot)
{
    switch (slot.type) {
    case kSoundBeep:
        PumpMessagesWithBeeps();
        break;
    case kSoundStandardFile:
    case kSoundCustomFile:
        if (std::strstr(slot.path, ".wav") || std::strstr(slot.path, ".WAV")) {
            StopAllSounds();
            PlaySoundA(slot.path, nullptr, SND_ASYNC | SND_FILENAME);
        } else {
            MIDIOutDevice device;
            device.Play(slot.path);
        }
        break;
    default:
        break;
    }
}

void ReadSoundRecord(CDbfFile& table, int soundId, CSoundSlot& slot)
{
    int type = static_cast<int>(ReadNumber(table, "WTYPE"));
    std::string path = ReadTrimmedText(table, "SZPATH");
    SetSlot(slot, soundId, type, path.c_str(), static_cast<int>(ReadNumber(table, "WREPLAY")));
}

void LoadUserSounds()
{
    const unsigned long userId = UserSettings().userId;
    bool present[kKindCount] = {};
    {
        CSoundsTable table;
        table.Open("READ");
        DWORD count = table.GetRecordCount();
        table.GoTop();
        for (DWORD i = 0; i < count && !table.IsEOF(); ++i, table.Skip(1)) {
            if (table.IsDeleted(table.GetRecno()))
                continue;
            long kind = ReadNumber(table, "WID");
            if (static_cast<unsigned long>(ReadNumber(table, "WUSERID")) != userId || !IsKnownKind(kind))
                continue;
            ReadSoundRecord(table, static_cast<int>(kind), g_userSlots[kind - 1]);
            present[kind - 1] = true;
        }
        table.Close();
    }
    if (!present[0]) {
        const CUserSettings& user = UserSettings();
        SetSlot(g_userSlots[0], kSoundAlarm, user.alarmSoundType, user.alarmSoundPath, user.alarmReplay);
        AppendSoundRecord(userId, kSoundAlarm, g_userSlots[0].type, g_userSlots[0].path, g_userSlots[0].replay);
    }
    for (int kind = kSoundIncomingNote; kind <= kSoundChatLine; ++kind) {
        if (present[kind - 1])
            continue;
        const CSoundSlot& standard = ConfigSettings().sounds[kind - 1];
        SetSlot(g_userSlots[kind - 1], kind, standard.type, standard.path, standard.replay);
        AppendSoundRecord(userId, kind, standard.type, standard.path, standard.replay);
    }
}

void ApplySoundSettings(const CSoundSlot edited[4])
{
    for (int kind = kSoundAlarm; kind <= kSoundChatLine; ++kind) {
        const CSoundSlot& from = edited[kind - 1];
        SetSlot(g_userSlots[kind - 1], kind, from.type, from.path, from.replay);
        SaveSoundRecord(false, UserSettings().userId, kind, from.type, from.path, from.replay);
    }
}

void SaveSoundRecord(bool append, unsigned long userId, int soundId, int type, const char* path, int replay)
{
    CSoundsTable table;
    if (append) {
        table.Open("MAPPINGAPPEND");
        WriteSoundFields(table, table.GetRecno(), userId, soundId, type, path, replay);
        table.Close();
        return;
    }
    table.Open("MAPPINGALL");
    DWORD count = table.GetRecordCount();
    DWORD found = 0;
    table.GoTop();
    for (DWORD i = 0; i < count && !table.IsEOF() && !found; ++i, table.Skip(1)) {
        if (!table.IsDeleted(table.GetRecno()) && static_cast<unsigned long>(ReadNumber(table, "WUSERID")) == userId &&
            ReadNumber(table, "WID") == soundId)
            found = table.GetRecno();
    }
    if (!found) {
        table.Close();
        char text[300];
        std::snprintf(text, sizeof text,
                      "Error when saving the sound information:\r\nSoundId=%d, SoundType=%d, File name=%s ", soundId,
                      type, path ? path : "");
        ShowErrorMessage(nullptr, text, ProgramTitle);
        return;
    }
    WriteSoundFields(table, found, userId, soundId, type, path, replay);
    table.Close();
}

void AppendSoundRecord(unsigned long userId, int soundId, int type, const char* path, int replay)
{
    SaveSoundRecord(true, userId, soundId, type, path, replay);
}
