// A note whose alarm has come rings: timer 10 repaints its frame every 100 ms,
// which makes the frame flash, and the user's alarm sound plays and is played
// again at the user's interval until the note's stop-after minutes pass.
#include <windows.h>

#include <climits>
#include <cstring>

#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/MciSound.h"
#include "note/NoteController.h"
#include "note/NoteMessages.h"
#include "note/AlarmRinging.h"
#include "globals/MainWindowMessages.h"
#include "store/Sounds.h"

namespace {
void Advance(LONG& counter)
{
    counter = counter <= LONG_MAX - static_cast<LONG>(kNoteAlarmTickMs) ? counter + kNoteAlarmTickMs : LONG_MAX;
}

bool IsWaveFile(const char* path)
{
    return std::strstr(path, ".wav") || std::strstr(path, ".WAV");
}

// The alarm sound once. A beep handles the waiting messages between beeps, so
// a tick or a due scan of this very note may come in the middle: the note is
// marked as inside, which those drop, and "since the sound" starts before the
// sound, so nothing inside counts it as due again. False when the note went
// with its window meanwhile; the note must not be touched then.
bool PlayAlarmSound(CNoteController& note)
{
    HWND window = note.m_window;
    note.m_msSinceSound = 0;
    note.m_playingAlarmSound = true;
    PlaySoundFile(UserSoundSlot(kSoundAlarm));
    if (window && !IsWindow(window))
        return false;
    note.m_playingAlarmSound = false;
    return true;
}
}

void StopAlarmSound(const CSoundSlot& slot)
{
    if (slot.type != kSoundStandardFile && slot.type != kSoundCustomFile)
        return;
    if (IsWaveFile(slot.path))
        PlaySoundA(nullptr, nullptr, SND_PURGE);
    else
        StopAllSounds();
}

void CNoteController::StartRinging()
{
    if (m_ringing)
        return;
    m_ringing = true;
    if (!m_window || !SetTimer(m_window, kNoteAlarmTimerId, kNoteAlarmTickMs, nullptr)) {
        m_ringing = false;
        ShowMessageBox(m_window, "Could not create animation timer", "Error", kMbIconHand);
        return;
    }
    m_msRinging = 0;
    PlayAlarmSound(*this);
}

void CNoteController::OnAlarmTick()
{
    if (m_hidden || m_playingAlarmSound)
        return;
    Advance(m_msSinceSound);
    Advance(m_msRinging);
    if (!m_ringing)
        return;
    if (m_window)
        SendMessageA(m_window, WM_NCPAINT, 1, 0);
    const CSoundSlot& sound = UserSoundSlot(kSoundAlarm);
    if (sound.type < kSoundBeep || sound.replay == 0 || m_msSinceSound <= static_cast<LONG>(sound.replay) * 1000)
        return;
    if (m_stopAfterMinutes && m_msRinging >= static_cast<LONG>(m_stopAfterMinutes) * 60000) {
        StopAlarmSound(sound);
        m_msSinceSound = 0;
    } else if (!PlayAlarmSound(*this)) {
        return;
    }
    if (HWND main = GetMainWindow())
        SendMessageA(main, kMsgRememberLastNote, 0, reinterpret_cast<LPARAM>(this));
}

void CNoteController::StopRinging()
{
    m_ringing = false;
    if (m_window)
        KillTimer(m_window, kNoteAlarmTimerId);
    m_msSinceSound = 0;
    m_msRinging = 0;
}

void CNoteController::SwitchAlarmOff()
{
    if (m_sendAtAlarmTime)
        ClearSendIcon();
    PlaySoundA(nullptr, nullptr, SND_PURGE);
    StopAllSounds();
    if (m_ringing)
        StopRinging();
    m_alarmSet = false;
    m_sendAtAlarmTime = false;
    m_alarmRecurring = false;
    m_modified = true;
    UpdateAlarmTooltip();
    if (m_window)
        SendMessageA(m_window, WM_NCPAINT, 1, 0);
    TellCalendarAlarmsChanged(GetMainWindow());
}

void CNoteController::StopAlarmAndHide()
{
    StopRinging();
    if (m_window)
        SendMessageA(m_window, WM_COMMAND, kNoteCmdHide, 0);
    else
        HideNote();
}
