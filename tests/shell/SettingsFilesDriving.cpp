#include "SettingsFilesDriving.h"

#include "calendar/CalendarSettings.h"
#include "calendar/CalendarSettingsFile.h"
#include "noteprops/AppAssociationsFile.h"

NoteManagerContents::NoteManagerContents(const std::string& path, DWORD user)
{
    SetNoteManagerDefaults(current);
    LoadNoteManagerFile(path.c_str(), {options, groups, pairs}, current, user);
}

void WriteGroups(const std::string& folder, DWORD user, std::initializer_list<AddedGroup> added,
                 std::initializer_list<std::pair<DWORD, DWORD>> memberships)
{
    const std::string noteman = folder + "\\noteman.QPD";
    NoteManagerContents contents(noteman, user);
    for (const AddedGroup& one : added) {
        CNoteGroup group = contents.groups.GetFirst()->record;
        group.id = one.id;
        lstrcpynA(group.name, one.name, sizeof group.name);
        lstrcpynA(group.editable, "1", sizeof group.editable);
        contents.groups.AddToTail(group);
    }
    for (const auto& membership : memberships)
        contents.pairs.AddToTail({static_cast<DWORD>(contents.pairs.GetCount()), membership.first, membership.second});
    SaveNoteManagerXml(noteman.c_str(), {contents.options, contents.groups, contents.pairs});
}

void WriteAssociations(const std::string& folder, std::initializer_list<AddedTie> ties)
{
    CRecordList<CAppAssociation> associations;
    for (const AddedTie& one : ties) {
        CAppAssociation tie;
        tie.noteId = one.note;
        lstrcpynA(tie.application, one.application, sizeof tie.application);
        associations.AddToTail(tie);
    }
    SaveAppAssociations((folder + "\\apps.QPD").c_str(), associations, nullptr);
}

void WriteCalendar(DWORD user, COLORREF userColour, std::initializer_list<DWORD> users)
{
    BuildDefaultCalendarStyles(user);
    RemoveAllCalendarOptions();
    RemoveAllCalendarStyleSets();
    for (DWORD each : users) {
        CCalendarStyle record = StandardCalendarOptions();
        record.key = static_cast<LONG>(each);
        record.userID = each;
        if (each == user)
            record.dialogBackColor = userColour;
        AppendCalendarOptions(record);
        AppendCalendarStyleSet(StandardCalendarStyleSet(each));
    }
    SaveCalendarSettings();
    RemoveAllCalendarOptions();
    RemoveAllCalendarStyleSets();
}
