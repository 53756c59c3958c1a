// A note ringing on a window of the test's own: the ticks of timer 10 the
// window receives, the replays of the alarm sound by its type, interval and
// stop-after minutes, a beep that handles the note's own ticks while it
// sounds, and what hiding, snoozing, switching off and deleting leave.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include <gtest/gtest.h>

#include "note/NoteController.h"
#include "note/NoteMessages.h"
#include "note/NoteWindowHandlers.h"
#include "note/AlarmTestTimes.h"
#include "store/Sounds.h"
#include "support/InFolder.h"
#include "support/StoredNotes.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
const char kRingingClass[] = "QnTestRingingNote";

// The note window's part in ringing: its timer ticks and its commands go to the note.
LRESULT CALLBACK RingingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* note = reinterpret_cast<CNoteController*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (note && message == WM_TIMER && wParam == kNoteAlarmTimerId) {
        note->OnAlarmTick();
        return 0;
    }
    if (note && message == WM_COMMAND)
        return OnNoteCommand(window, *note, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow(CNoteController& note)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA type{};
        type.lpfnWndProc = &RingingProc;
        type.hInstance = GetModuleHandleA(nullptr);
        type.lpszClassName = kRingingClass;
        registered = RegisterClassA(&type) != 0;
    }
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kRingingClass, "Note", WS_POPUP | WS_CAPTION | WS_THICKFRAME, 50,
                                  50, 200, 120, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&note));
    note.m_window = window;
    return window;
}

// The note's window goes with the note, also when a test stops early.
struct WindowOf {
    explicit WindowOf(CNoteController& owner) : note(owner), window(MakeWindow(owner)) {}
    ~WindowOf()
    {
        DestroyWindow(window);
        note.m_window = nullptr;
    }
    WindowOf(const WindowOf&) = delete;
    WindowOf& operator=(const WindowOf&) = delete;
    CNoteController& note;
    HWND window;
};

// The user's alarm sound while the object lives.
class AlarmSound {
public:
    AlarmSound(BYTE type, WORD replay, const char* path = "") : m_saved(UserSoundSlot(kSoundAlarm))
    {
        CSoundSlot& slot = UserSoundSlot(kSoundAlarm);
        slot.type = type;
        slot.replay = replay;
        lstrcpynA(slot.path, path, sizeof slot.path);
    }
    ~AlarmSound() { UserSoundSlot(kSoundAlarm) = m_saved; }
    AlarmSound(const AlarmSound&) = delete;
    AlarmSound& operator=(const AlarmSound&) = delete;

private:
    CSoundSlot m_saved;
};

void Tick(CNoteController& note, int ticks)
{
    for (int i = 0; i < ticks; ++i)
        note.OnAlarmTick();
}

int CountOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The text of the tip over the note's caption; "(none)" without a tooltip.
std::string CaptionTip(const CNoteController& note)
{
    if (!note.m_alarmTooltip)
        return "(none)";
    char text[256] = "";
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = note.m_window;
    tool.uId = 1;
    tool.lpszText = text;
    SendMessageA(note.m_alarmTooltip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
}

class AlarmRinging : public InFolder {};
}

TEST_F(AlarmRinging, TheCountersRunWhileShownAndOnlyFilesAndBeepsReplay)
{
    for (BYTE type : {BYTE(0), BYTE(kSoundNone)}) {
        AlarmSound sound(type, 1);
        CNoteController note;
        WindowOf window(note);
        note.StartRinging();
        ASSERT_TRUE(note.m_ringing);
        Tick(note, 25);
        EXPECT_EQ(note.m_msSinceSound, 2500) << "type " << +type << " never replays";
        EXPECT_EQ(note.m_msRinging, 2500);

        // A second start keeps the ringing as it is.
        note.StartRinging();
        EXPECT_EQ(note.m_msSinceSound, 2500);
        EXPECT_EQ(note.m_msRinging, 2500);

        // Hidden, the note neither flashes nor counts; shown again, it goes on.
        note.m_hidden = true;
        Tick(note, 10);
        EXPECT_EQ(note.m_msRinging, 2500);
        note.m_hidden = false;
        Tick(note, 1);
        EXPECT_EQ(note.m_msRinging, 2600);
    }
    // A beep of the PC speaker replays after each second passed: at the eleventh tick.
    AlarmSound beep(kSoundBeep, 1);
    CNoteController note;
    WindowOf window(note);
    note.StartRinging();
    Tick(note, 10);
    EXPECT_EQ(note.m_msSinceSound, 1000);
    Tick(note, 1);
    EXPECT_EQ(note.m_msSinceSound, 0);
    EXPECT_EQ(note.m_msRinging, 1100);
}

TEST_F(AlarmRinging, ANoteWithoutATimerIsShownWithoutRinging)
{
    MessageBoxRecorder boxes;
    AlarmSound sound(kSoundBeep, 1);
    CNoteController note;
    HWND gone = MakeWindow(note);
    DestroyWindow(gone);
    note.StartRinging();
    EXPECT_FALSE(note.m_ringing);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Could not create animation timer");
    EXPECT_EQ(boxes.Boxes()[0].caption, "Error");
    EXPECT_EQ(boxes.Boxes()[0].flags & 0xF0u, 0x10u);
    note.m_window = nullptr;
}

// Ten minutes of a beep replayed every second, with a tick of the note's own
// timer waiting before every tick: each beep handles the waiting ticks, which
// must change nothing, so the replays come every eleventh tick to the end and
// no beep starts inside another.
TEST_F(AlarmRinging, TicksThatComeWhileTheBeepSoundsAreLeftOut)
{
    AlarmSound beep(kSoundBeep, 1);
    CNoteController note;
    WindowOf window(note);
    note.StartRinging();
    KillTimer(window.window, kNoteAlarmTimerId);  // the test gives the ticks
    int replays = 0;
    for (int tick = 1; tick <= 6000; ++tick) {
        PostMessageA(window.window, WM_TIMER, kNoteAlarmTimerId, 0);
        note.OnAlarmTick();
        if (note.m_msSinceSound == 0) {
            ++replays;
            ASSERT_EQ(tick % 11, 0) << "a replay at tick " << tick;
        }
        ASSERT_FALSE(note.m_playingAlarmSound);
    }
    EXPECT_EQ(replays, 6000 / 11);
    EXPECT_EQ(note.m_msRinging, 600000);
    MSG left;
    while (PeekMessageA(&left, window.window, WM_TIMER, WM_TIMER, PM_REMOVE)) {
    }
}

// A sound file replayed every 5 seconds stops being played once a minute of
// ringing has passed: the plays at 0 s and 5.1 s to 56.1 s, none after.
TEST_F(AlarmRinging, TheSoundIsStoppedAfterTheNotesMinutes)
{
    AlarmSound file(kSoundCustomFile, 5, "C:\\no such folder\\bell.mid");
    CNoteController note;
    WindowOf window(note);
    note.m_stopAfterMinutes = 1;
    note.StartRinging();
    KillTimer(window.window, kNoteAlarmTimerId);
    const std::string kPlay = "MIDIOutDevice::Play()";
    EXPECT_EQ(CountOf(Read("error.txt"), kPlay), 1);
    Tick(note, 51);
    EXPECT_EQ(CountOf(Read("error.txt"), kPlay), 2);
    Tick(note, 1200 - 51);
    EXPECT_EQ(CountOf(Read("error.txt"), kPlay), 12);
    EXPECT_TRUE(note.m_ringing) << "the frame goes on flashing";
}

TEST_F(AlarmRinging, HidingSnoozingSwitchingOffAndDeletingEndTheRinging)
{
    CopyTemplate("notes.QPD");
    CopyTemplate("notes.QPS");
    FixedClock now(LocalTime(6, 3, 2026, 10, 10, 30));
    AlarmSound sound(kSoundNone, 0);

    // Parked while ringing: the ringing ends and a daily alarm moves to tomorrow.
    CNoteController parked;
    WindowOf parkedWindow(parked);
    parked.m_alarmSet = true;
    parked.m_alarm = CDateTime(6, 3, 2026, 10, 9, 0);
    parked.m_alarmRecurring = true;
    parked.m_alarmUnit = 3;
    parked.m_alarmValue = 1;
    ASSERT_TRUE(parked.BringNoteToFront());
    EXPECT_TRUE(parked.m_ringing);
    EXPECT_TRUE(parked.m_alarmRung);
    EXPECT_FALSE(parked.BringNoteToFront()) << "a ringing note comes up once";
    EXPECT_EQ(CaptionTip(parked), "Next alarm at 06-03-2026 10:09:00\r\nRight click to change");
    parked.HideQuietly();
    EXPECT_FALSE(parked.m_ringing);
    EXPECT_EQ(parked.m_msRinging, 0);
    EXPECT_EQ(TextOf(parked.m_alarm), "07-03-2026 10:09:00");

    // "15 minutes" of the snooze menu: the alarm recurs every 15 minutes from
    // now, the ringing ends and the note is hidden and saved.
    CNoteController snoozed;
    WindowOf snoozedWindow(snoozed);
    snoozed.m_userId = 1;
    snoozed.m_alarmSet = true;
    snoozed.m_alarm = CDateTime(6, 3, 2026, 10, 9, 0);
    snoozed.m_snooze = StandardSnoozeLayout(SnoozeMenuKind::kNote, 7).table;
    ASSERT_TRUE(snoozed.BringNoteToFront());
    SendMessageA(snoozedWindow.window, WM_COMMAND, kNoteCmdFirstSnooze + 1, 0);
    EXPECT_FALSE(snoozed.m_ringing);
    EXPECT_TRUE(snoozed.m_hidden);
    EXPECT_TRUE(snoozed.m_alarmRecurring);
    EXPECT_EQ(snoozed.m_alarmValue, 15);
    EXPECT_EQ(snoozed.m_alarmUnit, 1);
    EXPECT_EQ(snoozed.m_snooze.current, 1);
    EXPECT_EQ(TextOf(snoozed.m_alarm), "06-03-2026 10:25:00");
    StoredNoteList stored = LoadEveryNote(m_folder.Path());
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_TRUE(stored[0]->m_alarmRecurring);
    EXPECT_EQ(stored[0]->m_alarmValue, 15);
    EXPECT_EQ(stored[0]->m_alarmUnit, 1);
    EXPECT_EQ(TextOf(stored[0]->m_alarm), "06-03-2026 10:25:00");
    EXPECT_EQ(stored[0]->m_snooze.current, 1);

    // "&Alarm off": nothing of the alarm is left.
    CNoteController off;
    WindowOf offWindow(off);
    off.m_alarmSet = true;
    off.m_alarmRecurring = true;
    off.m_sendAtAlarmTime = true;
    off.m_alarm = CDateTime(6, 3, 2026, 10, 9, 0);
    ASSERT_TRUE(off.BringNoteToFront());
    SendMessageA(offWindow.window, WM_COMMAND, kNoteCmdAlarmOff, 0);
    EXPECT_FALSE(off.m_ringing);
    EXPECT_FALSE(off.m_alarmSet);
    EXPECT_FALSE(off.m_alarmRecurring);
    EXPECT_FALSE(off.m_sendAtAlarmTime);
    EXPECT_TRUE(off.m_modified);
    EXPECT_STREQ(off.m_alarmTip, "");
    EXPECT_EQ(CaptionTip(off), "");
    EXPECT_FALSE(KillTimer(offWindow.window, kNoteAlarmTimerId)) << "the timer is gone";

    // A deleted note never rings on.
    CNoteController deleted;
    WindowOf deletedWindow(deleted);
    deleted.m_alarmSet = true;
    deleted.m_alarm = CDateTime(6, 3, 2026, 10, 9, 0);
    ASSERT_TRUE(deleted.BringNoteToFront());
    MessageBoxRecorder boxes;
    boxes.QueueAnswer(kIdYes);
    deleted.DeleteNote();
    EXPECT_FALSE(deleted.m_ringing);
    EXPECT_FALSE(KillTimer(deletedWindow.window, kNoteAlarmTimerId));
}
