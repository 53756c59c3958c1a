#include "calendar/CalendarSettingsFile.h"

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "calendar/CalendarSettings.h"
#include "calendar/CalendarStyleXml.h"
#include "foundation/Clock.h"
#include "foundation/DataFolder.h"
#include "foundation/WorkingCopy.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"
#include "globals/ProgramGlobals.h"
#include "xmlfiles/DamagedFiles.h"
#include "xmlfiles/XmlDocument.h"
#include "xmlfiles/XmlFileReading.h"
#include "xmlfiles/XmlWriter.h"

namespace {
const char kHeaderLine[] = "<?xml version=\"1.0\" encoding=\"Windows-1252\" standalone=\"yes\"?>";
const char kCalendarSettingsRoot[] = "content";

// The number of elements of the name under the root; 0 after an error box
// when they cannot be counted.
int CountRecords(CXMLDocument& document, const char* name)
{
    char error[256] = "";
    const int count = document.CountElements(kCalendarSettingsRoot, name, error, sizeof error);
    if (count < 0) {
        ShowErrorMessage(nullptr, error, ProgramTitle);
        return 0;
    }
    return count;
}

// Every options record, one without a required key skipped.
void ReadCalendarOptions(CXMLDocument& document, CSkippedEntries& skipped)
{
    const int count = CountRecords(document, "options");
    const SYSTEMTIME now = GetLocalNow();
    const DWORD user = UserSettings().userId;
    for (int k = 1; k <= count; ++k) {
        CCalendarStyle record;
        std::string problem;
        if (!ReadCalendarStyleXml(record, document, CalendarRecordPlace{k, false}, problem)) {
            skipped.Skip(DescribeXmlEntry(document, kCalendarSettingsRoot, "options", k, {"userID"}), problem);
            continue;
        }
        // The calendar opens on the current month.
        record.monthOnTheLeft = static_cast<BYTE>(now.wMonth);
        record.yearOnTheLeft = now.wYear;
        CCalendarStyle& appended = AppendCalendarOptions(record);
        if (appended.userID == user)
            SetCurrentCalendarOptions(appended);
    }
}

// The style elements of the current "styles" (entry names it) into the set,
// each at the place its "index" names; a place no element fills keeps its
// standard style, an element of no place is passed over, a damaged one
// skipped. False when the set holds no sound style element.
bool ReadStyleSet(CXMLDocument& document, const std::string& entry, CCalendarStyleSet& set, CSkippedEntries& skipped)
{
    char error[256] = "";
    const int count = document.CountChildren("style", error, sizeof error);
    const CCalendarStyle(&standard)[9] = StandardCalendarStyles();
    bool filled[9] = {};
    int sound = 0;
    for (int j = 1; j <= count; ++j) {
        const std::string style = "style " + std::to_string(j) + " of " + entry;
        char value[16];
        if (!document.GotoChildOfCurrentParent("style", j, error, sizeof error) ||
            !ReadCalendarValue(document, CalendarRecordPlace{0, true}, "index", value, sizeof value, error,
                               sizeof error)) {
            skipped.Skip(style, error);
            continue;
        }
        const int index = std::atoi(value);
        if (index < 0 || index > 8) {
            ++sound;
            continue;
        }
        CCalendarStyle record = standard[index];
        std::string problem;
        if (!ReadCalendarStyleXml(record, document, CalendarRecordPlace{0, true}, problem)) {
            skipped.Skip(style + " (index \"" + value + "\")", problem);
            continue;
        }
        ++sound;
        set.styles[index] = record;
        filled[index] = true;
        set.key = static_cast<LONG>(record.userID);
        set.userID = record.userID;
    }
    if (sound == 0)
        return false;
    for (int index = 0; index < 9; ++index)
        if (!filled[index])
            set.styles[index].userID = set.userID;
    return true;
}

// Every style set, one that holds no style skipped.
void ReadStyleSets(CXMLDocument& document, CSkippedEntries& skipped)
{
    const int count = CountRecords(document, "styles");
    const DWORD user = UserSettings().userId;
    for (int k = 1; k <= count; ++k) {
        const std::string entry = "styles " + std::to_string(k);
        char error[256] = "";
        if (!document.GotoChildOfCurrentParent("styles", k, error, sizeof error) ||
            !document.SetCurrentChildAsParent(error, sizeof error)) {
            skipped.Skip(entry, error);
            continue;
        }
        CCalendarStyleSet set = StandardCalendarStyleSet(0);
        set.key = -1;
        const bool whole = ReadStyleSet(document, entry, set, skipped);
        document.GotoParent(error, sizeof error);
        if (!whole) {
            skipped.Skip(entry, "It holds no style that can be read.");
            continue;
        }
        CCalendarStyleSet& appended = AppendCalendarStyleSet(set);
        if (appended.userID == user)
            SetCurrentCalendarStyleSet(appended);
    }
}
}

void SaveCalendarSettings()
{
    RefuseToOverwriteDamagedFile(DataFilePath(DataName::kCalendarSettings).c_str());
    const std::string working = DataFilePath(DataName::kCalendarWorkingCopy);
    CXmlWriter writer(kHeaderLine, kCalendarSettingsRoot);
    writer.Open(working.c_str());
    for (auto* node = CalendarSettingsList().GetLast(); node; node = node->previous) {
        writer.WriteStartTag("options", 1);
        WriteCalendarStyleXml(node->record, 2, writer);
        writer.WriteEndTag("options", 1);
    }
    for (auto* node = CalendarStyleSetList().GetLast(); node; node = node->previous) {
        writer.WriteStartTag("styles", 1);
        for (int index = 0; index < 9; ++index) {
            writer.WriteStartTag("style", 2);
            writer.WriteElement("index", std::to_string(index).c_str(), 3, 0);
            WriteCalendarStyleXml(node->record.styles[index], 3, writer);
            writer.WriteEndTag("style", 2);
        }
        writer.WriteEndTag("styles", 1);
    }
    writer.Close();
    // Another program reading the file for a moment (a scanner, a backup)
    // keeps it from being replaced only for that moment.
    const std::string target = DataFilePath(DataName::kCalendarSettings);
    if (!RetryWhileHeld([&] { return ReplaceWithWorkingCopy(working.c_str(), target.c_str()); }))
        throw CGenericException("The new calendar settings could not take the place of calendar.QPD.");
}

void LoadCalendarSettingsFile()
{
    const std::string path = DataFilePath(DataName::kCalendarSettings);
    // Parsed first: a file another program holds throws with the lists as they were.
    std::unique_ptr<CXMLDocument> document =
        ParseXmlSettingsFile(path.c_str(), kCalendarSettingsRoot, "the standard calendar options and styles");
    RemoveAllCalendarOptions();
    RemoveAllCalendarStyleSets();
    CSkippedEntries skipped(path.c_str());
    if (document)
        ReadCalendarOptions(*document, skipped);
    CurrentCalendarOptions();
    if (document)
        ReadStyleSets(*document, skipped);
    CurrentCalendarStyleSet();
    skipped.Report();
}
