// The user's sounds: their records in "sounds.QPD" and how each slot plays.
#include <windows.h>

#include <mmsystem.h>

#include <string>

#include <gtest/gtest.h>

#include "foundation/StartupValues.h"
#include "foundation/win/MciSound.h"
#include "globals/ProgramGlobals.h"
#include "store/Sounds.h"
#include "store/DbfFile.h"
#include "store/FieldAccess.h"
#include "store/TableText.h"
#include "support/InFolder.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
struct StoredSound {
    long user, id, type, replay;
    bool enabled;
    std::string path;
};

std::vector<StoredSound> StoredSounds(const std::string& file)
{
    std::vector<StoredSound> rows;
    CDbfFile table;
    table.SetTable(file.c_str(), true);
    table.Open("READ");
    table.GoTop();
    for (DWORD i = 0; i < table.GetRecordCount() && !table.IsEOF(); ++i, table.Skip(1)) {
        rows.push_back({ReadNumber(table, "WUSERID"), ReadNumber(table, "WID"), ReadNumber(table, "WTYPE"),
                        ReadNumber(table, "WREPLAY"), table.GetLogicalValue("BENABLED"),
                        ReadTrimmedText(table, "SZPATH")});
    }
    table.Close();
    return rows;
}

CSoundSlot Slot(int type, const char* path)
{
    CSoundSlot slot;
    slot.id = kSoundAlarm;
    slot.type = static_cast<BYTE>(type);
    lstrcpynA(slot.path, path, sizeof slot.path);
    return slot;
}

// A valid, very short wave file: 8 kHz, 8 bits, mono, 100 samples of silence.
std::string TinyWave()
{
    auto word = [](unsigned value, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>((value >> (8 * i)) & 0xFF);
        return out;
    };
    const unsigned samples = 100;
    return "RIFF" + word(36 + samples, 4) + "WAVEfmt " + word(16, 4) + word(1, 2) + word(1, 2) + word(8000, 4) +
           word(8000, 4) + word(1, 2) + word(8, 2) + "data" + word(samples, 4) + std::string(samples, '\x80');
}

class Sounds : public InFolder {};
}

TEST_F(Sounds, ANewUserGetsFourRecordsThatTheSoundsPageUpdates)
{
    CopyTemplate("sounds.QPD");
    UserSettings().userId = 3;
    UserSettings().alarmSoundType = kSoundNone;
    lstrcpynA(UserSettings().alarmSoundPath, "C:\\alarm.mid", sizeof UserSettings().alarmSoundPath);
    UserSettings().alarmReplay = 5;
    for (int kind = 2; kind <= 4; ++kind) {
        ConfigSettings().sounds[kind - 1].type = kSoundStandardFile;
        lstrcpynA(ConfigSettings().sounds[kind - 1].path, ("C:\\Q\\standard" + std::to_string(kind) + ".wav").c_str(),
                  CSoundSlot::kPathSize);
    }
    LoadUserSounds();
    std::vector<StoredSound> rows = StoredSounds(File("sounds.QPD"));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].user, 3);
    EXPECT_EQ(rows[0].id, 1);
    EXPECT_EQ(rows[0].type, kSoundNone);
    EXPECT_FALSE(rows[0].enabled);
    EXPECT_EQ(rows[0].replay, 5);
    EXPECT_EQ(rows[0].path, "C:\\alarm.mid");
    for (int kind = 2; kind <= 4; ++kind) {
        EXPECT_EQ(rows[kind - 1].id, kind);
        EXPECT_EQ(rows[kind - 1].type, kSoundStandardFile);
        EXPECT_TRUE(rows[kind - 1].enabled);
        EXPECT_EQ(rows[kind - 1].path, "C:\\Q\\standard" + std::to_string(kind) + ".wav");
    }
    EXPECT_EQ(UserSoundSlot(3).type, kSoundStandardFile);

    // A second load finds them all and adds nothing; the Sounds page's changes
    // go into the same records.
    LoadUserSounds();
    CSoundSlot edited[4] = {Slot(kSoundCustomFile, "C:\\bell.wav"), Slot(kSoundBeep, ""), Slot(kSoundNone, ""),
                            Slot(kSoundCustomFile, "C:\\chat line.mid")};
    ApplySoundSettings(edited);
    rows = StoredSounds(File("sounds.QPD"));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].path, "C:\\bell.wav");
    EXPECT_EQ(rows[1].type, kSoundBeep);
    EXPECT_FALSE(rows[2].enabled);
    EXPECT_EQ(rows[3].path, "C:\\chat line.mid");
    EXPECT_EQ(UserSoundSlot(4).type, kSoundCustomFile);

    // Another user's record is never taken for this user's.
    MessageBoxRecorder boxes;
    SaveSoundRecord(false, 4, 2, kSoundBeep, "x", 0);
    EXPECT_EQ(boxes.LastText(), "Error when saving the sound information:\r\nSoundId=2, SoundType=2, File name=x ");
    EXPECT_EQ(StoredSounds(File("sounds.QPD")).size(), 4u);
}

TEST_F(Sounds, FilesPlayThroughTheirOwnRouteAndFailuresOnlyReachTheLog)
{
    lstrcpynA(GetStartupValues().windows.platformName, "Windows NT", 16);
    PlaySoundFile(Slot(kSoundNone, "C:\\none.mid"));
    PlaySoundFile(Slot(kSoundBeep, ""));
    PlaySoundFile(Slot(kSoundCustomFile, (m_folder.Path() + "\\bell.wave").c_str()));
    EXPECT_FALSE(FileExists(File("error.txt")));

    // Not a wave file: MCI, whose failure is logged and leaves nothing open.
    PlaySoundFile(Slot(kSoundCustomFile, (m_folder.Path() + "\\missing.mid").c_str()));
    EXPECT_FALSE(IsMciSoundOpen());
    std::string log = Read("error.txt");
    EXPECT_NE(log.find("MIDIOutDevice::Play():play "), std::string::npos) << log;

    // A path with a blank plays under an alias; the next play closes it first.
    WriteWholeFile(File("a tune.wav"), TinyWave());
    MIDIOutDevice device;
    device.Play(File("a tune.wav").c_str());
    char status[64] = "";
    EXPECT_TRUE(IsMciSoundOpen());
    EXPECT_EQ(mciSendStringA("status track mode", status, sizeof status, nullptr), 0u);
    device.Play(File("missing.mid").c_str());
    EXPECT_NE(mciSendStringA("status track mode", status, sizeof status, nullptr), 0u) << status;
    EXPECT_FALSE(IsMciSoundOpen());
    device.Play(File("a tune.wav").c_str());
    StopAllSounds();
    EXPECT_FALSE(IsMciSoundOpen());
    EXPECT_NE(mciSendStringA("status track mode", status, sizeof status, nullptr), 0u) << status;
}
