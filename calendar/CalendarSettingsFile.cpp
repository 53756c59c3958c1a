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
const char kRoot[] = "content";

// The number of elements of the name under the root; 0 after an error box
// when they cannot be counted.
int CountRecords(CXMLDocument& document, const char* name)
{
    char error[256] = "";
    const int count = document.CountElements(kRoot, name, error, sizeof error);
    if (count < 0) {
        ShowErrorMessage(nullptr, error, ProgramTitle);
        return 0;
    }
    return count;
}

void ReadOptions(CXMLDocument& document)
{
    const int count = CountRecords(document, "options");
    const SYSTEMTIME now = GetLocalNow();
    const DWORD user = UserSettings().userId;
    for (int k = 1; k <= count; ++k) {
        CCalendarStyle record;
        if (!ReadCalendarStyleXml(record, document, CalendarRecordPlace{k, false}))
            return;
        // The calendar opens on the current month.
        record.monthOnTheLeft = static_cast<BYTE>(now.wMonth);
        record.yearOnTheLeft = now.wYear;
        CCalendarStyle& appended = AppendCalendarOptions(record);
        if (appended.userID == user)
            SetCurrentCalendarOptions(appended);
    }
}

void ShowWarning(const char* text)
{
    ShowWarningMessage(nullptr, text, ProgramTitle);
}

// The style elements of the current "styles" into the set, each at the place
// its "index" names; a place no element fills keeps its standard style, an
// element of no place is passed over. False after a warning when the set
// cannot be read whole.
bool ReadStyleSet(CXMLDocument& document, CCalendarStyleSet& set)
{
    char error[256] = "";
    const int count = document.CountChildren("style", error, sizeof error);
    if (count < 1) {
        ShowWarning(count < 0 ? error : "A calendar style set holds no style.");
        return false;
    }
    const CCalendarStyle(&standard)[9] = StandardCalendarStyles();
    bool filled[9] = {};
    for (int j = 1; j <= count; ++j) {
        if (!document.GotoChildOfCurrentParent("style", j, error, sizeof error)) {
            ShowWarning(error);
            return false;
        }
        char value[16];
        if (!ReadCalendarValue(document, CalendarRecordPlace{0, true}, "index", value, sizeof value, error,
                               sizeof error)) {
            ShowWarning(error);
            return false;
        }
        const int index = std::atoi(value);
        if (index < 0 || index > 8)
            continue;
        CCalendarStyle record = standard[index];
        if (!ReadCalendarStyleXml(record, document, CalendarRecordPlace{0, true}))
            return false;
        set.styles[index] = record;
        filled[index] = true;
        set.key = static_cast<LONG>(record.userID);
        set.userID = record.userID;
    }
    for (int index = 0; index < 9; ++index)
        if (!filled[index])
            set.styles[index].userID = set.userID;
    return true;
}

void ReadStyleSets(CXMLDocument& document)
{
    const int count = CountRecords(document, "styles");
    const DWORD user = UserSettings().userId;
    for (int k = 1; k <= count; ++k) {
        char error[256] = "";
        if (!document.GotoChildOfCurrentParent("styles", k, error, sizeof error) ||
            !document.SetCurrentChildAsParent(error, sizeof error)) {
            ShowWarning(error);
            return;
        }
        CCalendarStyleSet set = StandardCalendarStyleSet(0);
        set.key = -1;
        if (!ReadStyleSet(document, set))
            return;
        if (!document.GotoParent(error, sizeof error)) {
            ShowWarning("A calendar style set of calendar.QPD cannot be left.");
            return;
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
    CXmlWriter writer(kHeaderLine, kRoot);
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
    if (!ReplaceWithWorkingCopy(working.c_str(), DataFilePath(DataName::kCalendarSettings).c_str()))
        throw CGenericException("The new calendar settings could not take the place of calendar.QPD.");
}

void LoadCalendarSettingsFile()
{
    RemoveAllCalendarOptions();
    RemoveAllCalendarStyleSets();
    std::unique_ptr<CXMLDocument> document = ParseXmlSettingsFile(
        DataFilePath(DataName::kCalendarSettings).c_str(), kRoot, "the standard calendar options and styles");
    if (document)
        ReadOptions(*document);
    CurrentCalendarOptions();
    if (document)
        ReadStyleSets(*document);
    CurrentCalendarStyleSet();
}
