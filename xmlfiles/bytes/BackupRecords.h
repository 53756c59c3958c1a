#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "xmlfiles/bytes/BackupNames.h"

// What a backup file holds of each note and of the computers notes were sent
// to, as plain values: the writer takes them from the notes, the reader gives
// them to the notes it makes. Colours are 0x00BBGGRR.

struct BackupFont {
    std::string name;
    int size = 10;  // points
    bool bold = false;
    int italic = 0;
    int underlined = 0;
    int strikeout = 0;
    int charset = 0;
    int escapement = 0;
    int orientation = 0;
    int outPrecision = 3;
    int clipPrecision = 2;
    int quality = 1;
    int pitchAndFamily = 18;
};

struct BackupDateTime {
    BackupStamp stamp;
    int second = 0;
};

// What a note whose creation time a backup does not tell is dated.
const BackupDateTime kUnknownCreationTime{BackupStamp{2000, 8, 1, 11, 30}, 0};

struct BackupAlarm {
    bool set = false;
    BackupStamp when;
    int stopAfterMinutes = 0;
    bool recurring = false;
    int value = 1;
    int unit = 3;  // 1 minutes, 2 hours, 3 days, 4 weeks, 5 months, 6 weekdays
};

struct BackupSentTo {
    std::uint32_t computerId = 0;
    bool sentOk = false;
    BackupStamp when;
};

struct BackupAssociation {
    std::string application;  // the window title the note follows
    std::string iconBase64;   // the program's icon as an .ico file, Base64; may be empty
};

struct BackupNote {
    std::string userName;
    std::string computerName;
    bool hidden = false;
    bool stayOnTop = false;
    bool border = false;
    bool showDate = true;
    bool rollUpOnLeave = false;
    int leftMarginLine = 0;
    int backgroundKind = 0;  // 4: a texture
    std::uint32_t textureId = 0;
    int horizontalLines = 0;
    bool plainText = false;
    int transparency = 0;
    bool locked = false;
    std::string group;
    long left = 0;
    long top = 0;
    long height = 300;
    long width = 300;
    BackupDateTime created = kUnknownCreationTime;
    std::string lastSentTo;
    bool lastSentOk = false;
    std::string receivedFromComputer;
    std::string receivedFromUser;

    std::uint32_t bodyColour = 0x80FFFF;
    std::uint32_t textColour = 0xFF0000;
    BackupFont bodyFont;
    std::string text;     // the plain text
    std::string content;  // the rich text, or the protected body ending in its mark
    bool protectedBody = false;

    std::uint32_t titleColour = 0xFFFFFF;
    std::uint32_t titleTextColour = 0;
    BackupFont titleFont;
    std::string title;

    BackupAlarm alarm;
    std::vector<BackupSentTo> sentTo;
    std::vector<BackupAssociation> associations;
};

struct BackupComputer {
    std::uint32_t id = 0;
    std::string alias;
    std::string email;  // set instead of the computer name and address
    std::string computerName;
    std::string ipAddress;
    bool lastSentOk = false;
    BackupStamp lastSent;
};

// The text that stands in a backup file for the three bytes that end a
// protected note's body (foundation/bytes/ProtectedMark.h).
extern const char kProtectedBodyMarkInBackup[4];
bool EndsWithProtectedMark(const std::string& body);
