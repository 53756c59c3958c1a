#include "foundation/win/MciSound.h"

#include <mmsystem.h>

#include <cstdio>
#include <string>

#include "foundation/DiagnosticLog.h"

namespace {
bool g_soundOpen = false;

// A failed step of a play, with MCI's description of the error.
struct CMCIException {
    DWORD code;
    char text[329];
};

CMCIException MakeFailure(const char* prefix, MCIERROR code)
{
    CMCIException failure{code, ""};
    char description[256] = "";
    mciGetErrorStringA(code, description, sizeof description);
    std::snprintf(failure.text, sizeof failure.text, "%s%s", prefix, description);
    return failure;
}

void CloseOpenSound()
{
    if (!g_soundOpen)
        return;
    g_soundOpen = false;
    mciSendStringA("close all", nullptr, 0, nullptr);
}
}

void MIDIOutDevice::Play(const char* path)
{
    CloseOpenSound();
    PlaySoundA(nullptr, nullptr, SND_PURGE);
    bool aliasOpen = false;
    try {
        std::string play;
        if (std::string(path).find(' ') != std::string::npos) {
            std::string open = "open \"" + std::string(path) + "\" alias track wait";
            if (MCIERROR code = mciSendStringA(open.c_str(), nullptr, 0, nullptr))
                throw MakeFailure("MIDIOutDevice::Play():open ", code);
            aliasOpen = true;
            play = "play track";
        } else {
            play = "play " + std::string(path);
        }
        if (MCIERROR code = mciSendStringA(play.c_str(), nullptr, 0, nullptr))
            throw MakeFailure("MIDIOutDevice::Play():play ", code);
        g_soundOpen = true;
    } catch (const CMCIException& failure) {
        // An alias left open would hold the device and the file until the
        // next play; it is closed with the failed play.
        if (aliasOpen)
            mciSendStringA("close track", nullptr, 0, nullptr);
        else
            mciSendStringA(("close " + std::string(path)).c_str(), nullptr, 0, nullptr);
        WriteErrorLog(failure.text, "");
    }
}

void StopAllSounds()
{
    CloseOpenSound();
    PlaySoundA(nullptr, nullptr, SND_PURGE);
}

bool IsMciSoundOpen()
{
    return g_soundOpen;
}
