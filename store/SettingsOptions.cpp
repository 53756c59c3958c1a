// The options row's hotkey switches and styles, and the writers of the mail,
// note-window and backup settings.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/BackupFolder.h"
#include "globals/ProgramGlobals.h"
#include "store/FieldAccess.h"
#include "store/SettingsRows.h"
#include "store/SettingsTable.h"
#include "store/StyleStorage.h"

namespace {
// The options row stores the twelve switches in these fields, in the order of
// HotkeyEnableIndex.
const char* const kEnableFields[kHotkeyEnableCount] = {
    "BNEWCTRL",   "BNEWALT",   "BNEWSHIFT",  "BSHOWACTRL", "BSHOWAALT",  "BSHOWASHIF",
    "BHIDEACTRL", "BHIDEAALT", "BHIDEASHIF", "BSHOWLCTRL", "BSHOWLALT",  "BSHOWLSHIF",
};
// The format number of an options row that stores all twelve switches.
const long kAllSwitchesStored = 7;

// A table from before these settings starts them afresh.
void ResetFirstRunValues(CConfigSettings& config)
{
    config.w1 = 0;
    config.w2 = 0;
    config.firstRunSwitch = 1;
}

// Eight comma-separated integers: title and body colour of styles 1 to 4.
void ApplyOldStyleColours(const std::string& text, CNoteStyle (&styles)[9])
{
    const char* at = text.c_str();
    for (int i = 0; i < 8 && *at; ++i) {
        COLORREF colour = static_cast<COLORREF>(std::strtoul(at, nullptr, 10));
        if (i % 2 == 0)
            styles[i / 2].titleBackgroundColor = colour;
        else
            styles[i / 2].backgroundColor = colour;
        const char* comma = std::strchr(at, ',');
        if (!comma)
            break;
        at = comma + 1;
    }
}

// The nine standard styles from the user's defaults for new notes and
// default title, each with its standard text.
void BuildStandardStyles()
{
    const CUserSettings& user = UserSettings();
    const CNoteDefaults& note = user.note;
    NoteStyleBase base = {};
    base.hasBorder = note.hasBorder;
    base.stayOnTop = note.stayOnTop;
    base.showDate = note.showDate;
    base.rollUp = note.rollUp;
    base.horizontalLines = note.horizontalLines;
    base.plainText = note.plainText;
    base.leftMarginKind = note.leftMarginKind;
    base.backgroundKind = note.backgroundKind;
    base.textureId = note.textureId;
    base.transparency = note.transparency;
    base.textColor = note.textColor;
    base.titleTextColor = note.titleTextColor;
    base.bodyFont = note.bodyFont;
    base.titleFont = note.titleFont;
    base.title = user.title;
    base.noteWidth = note.newNoteWidth;
    base.noteHeight = note.newNoteHeight;
    CConfigSettings& config = ConfigSettings();
    BuildStandardNoteStyles(config.styles, base);
    for (int i = 0; i < 9; ++i)
        LoadStyleTextFile(i);
}

std::string Slice(const char* text, size_t from, size_t count)
{
    std::string whole = text;
    return from < whole.size() ? whole.substr(from, count) : std::string();
}
}

void LoadHotkeyEnableFlags()
{
    CUserSettings& user = UserSettings();
    long format = 0;
    {
        CSettingsTable table;
        table.Open("READ");
        table.GoTo(kOptionsRow);
        format = ReadNumber(table, "INEWKEY");
        int stored = format == 0 ? 0 : (format == 5 || format == 6) ? 7 : kHotkeyEnableCount;
        for (int i = 0; i < kHotkeyEnableCount; ++i)
            user.hotkeyEnabled[i] = i < stored ? ReadFlag(table, kEnableFields[i]) : 1;
        table.Close();
    }
    if (format == 0) {
        ResetFirstRunValues(ConfigSettings());
        SaveHotkeyEnableFlags();
    }
}

void SaveHotkeyEnableFlags()
{
    const CUserSettings& user = UserSettings();
    CSettingsTable table;
    table.Open("MAPPINGALL");
    for (int i = 0; i < kHotkeyEnableCount; ++i)
        WriteLogical(table, kOptionsRow, kEnableFields[i], user.hotkeyEnabled[i] != 0);
    WriteNumber(table, kOptionsRow, "INEWKEY", kAllSwitchesStored);
    table.Close();
}

void SaveStyleRotation()
{
    CSettingsTable table;
    table.Open("MAPPINGALL");
    WriteLogical(table, kOptionsRow, "BINCTIME", ConfigSettings().stylesInRotation != 0);
    table.Close();
}

void LoadStylesAndOptions()
{
    BuildStandardStyles();
    CConfigSettings& config = ConfigSettings();
    CUserSettings& user = UserSettings();
    // Every user style starts as its standard one: a row that holds no style
    // keeps it so (with the row's colours), and a new user has the program's.
    for (int i = 0; i < 9; ++i)
        user.styles[i] = config.styles[i];
    std::string oldStyleColours;
    DWORD recordCount = 0;
    {
        CSettingsTable table;
        table.Open("READ");
        recordCount = table.GetRecordCount();
        table.GoTo(kOptionsRow);
        oldStyleColours = ReadText(table, "SZSOUND", 100);
        config.stylesInRotation = ReadFlag(table, "BINCTIME");
        config.autoBackup = ReadFlag(table, "BAUTOBACK");
        table.Close();
    }
    if (recordCount != 8) {
        LoadV6Styles();
    } else if (oldStyleColours.size() >= 20) {
        // A table of an older version, without style rows, that kept the
        // colours of the first four styles.
        ApplyOldStyleColours(oldStyleColours, user.styles);
        // The hotkeys that version did not have are switched on, in the
        // options row too, where the switches are read from next.
        CSettingsTable table;
        table.Open("MAPPINGALL");
        for (int which : {kEnableNoteManager, kEnableFavourites, kEnableStyles}) {
            user.hotkeyEnabled[which] = 1;
            WriteLogical(table, kOptionsRow, kEnableFields[which], true);
        }
        table.Close();
    } else {
        // A table of an older version, without style rows.
        ResetFirstRunValues(config);
    }
    SaveBackupFolderAndStyles();
}

void SaveMailSettings()
{
    const CConfigSettings& config = ConfigSettings();
    CSettingsTable table;
    table.Open("MAPPINGALL");
    WriteText(table, kProgramRow, "SZSMTP", Slice(config.smtpServer, 0, 30).c_str());
    WriteText(table, kProgramRow, "SZSENDER", Slice(config.senderAddress, 0, 30).c_str());
    WriteText(table, kProgramRow, "SZFRIENDLY", config.senderName);
    WriteNumber(table, kProgramRow, "ISMTPPORT", config.smtpPort);
    WriteNumber(table, kProgramRow, "DISPLRETRY", static_cast<long>(config.menuStyle));
    WriteLogical(table, kProgramRow, "BSENT", config.sentOption != 0);
    WriteLogical(table, kProgramRow, "BHSCROLL", config.titleButtonOnHover != 0);
    WriteLogical(table, kProgramRow, "BVSCROLL", config.htmlMail != 0);
    WriteLogical(table, kProgramRow, "BRECEIVED1", config.quickLaunch != 0);
    WriteNumber(table, kProgramRow, "W2", config.w2);
    WriteNumber(table, kProgramRow, "W1", config.w1);
    WriteLogical(table, kProgramRow, "BSENT1", config.notesNearMouse != 0);
    WriteText(table, kProgramRow, "SZTITLE", config.relayServer);
    WriteText(table, kProgramRow, "SZ1", config.relayPort);

    // The rest of a long text, or a blank when there is none.
    std::string addressRest = Slice(config.senderAddress, 30, 31);
    std::string serverRest = Slice(config.smtpServer, 30, 30);
    WriteText(table, kOptionsRow, "SZSMTP", config.smtpAccount);
    WriteText(table, kOptionsRow, "SZSENDER", config.smtpPassword);
    WriteText(table, kOptionsRow, "SZFRIENDLY", addressRest.empty() ? " " : addressRest.c_str());
    WriteLogical(table, kOptionsRow, "BCONFDEL", config.smtpAuthentication != 0);
    WriteText(table, kContinuationRow, "SZSMTP", serverRest.empty() ? " " : serverRest.c_str());
    WriteText(table, kBackupRow, "SZSOUND", GetCurrentBackupFolder());
    table.Close();
}

void SaveBackupFolderAndStyles()
{
    SaveV6Styles();
    CSettingsTable table;
    table.Open("MAPPINGALL");
    WriteText(table, kBackupRow, "SZSOUND", GetCurrentBackupFolder());
    table.Close();
}
