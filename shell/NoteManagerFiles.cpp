#include "shell/NoteManagerFiles.h"

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/GenericException.h"
#include "notemanager/NoteManagerFile.h"
#include "noteprops/AppAssociationsFile.h"
#include "shell/Hotkeys.h"
#include "globals/ProgramGlobals.h"

namespace {
std::string NoteManagerPath()
{
    return DataFilePath(DataName::kNoteManagerSettings);
}
}

void LoadAssociationsAndGroups(HWND main)
{
    LoadAppAssociations();
    UnregisterGroupHotkeys(main);
    LoadNoteManagerFile(NoteManagerPath().c_str(), {NoteManagerOptionsList(), GroupsList(), GroupsAndNotesList()},
                        NoteManagerOptions(), UserSettings().userId);
    for (auto* node = GroupsList().GetFirst(); node; node = node->next) {
        if (node->record.hotkey_ifAllow)
            RegisterGroupHotKey(main, node->record);
    }
}

void UnloadAssociationsAndGroups(HWND main)
{
    UnregisterGroupHotkeys(main);
    AppAssociationsList().RemoveAll();
    ImageList_RemoveAll(AppIconImageList());
    GroupsList().RemoveAll();
    GroupsAndNotesList().RemoveAll();
}

void ForgetNoteGroupsAndApps(DWORD noteId)
{
    while (RemoveNoteFromGroups(GroupsAndNotesList(), noteId)) {
    }
    RemoveNoteAssociations(AppAssociationsList(), noteId);
    SaveNoteManagerXml();
    SaveAppAssociations();
}

std::vector<std::string> SaveGroupsAndAssociations()
{
    std::vector<std::string> failed;
    auto save = [&failed](const char* name, void (*write)()) {
        try {
            write();
        } catch (const CGenericException& failure) {
            WriteErrorLog("SaveGroupsAndAssociations():", failure.GetErrorText());
            failed.push_back(name);
        }
    };
    save(DataName::kNoteManagerSettings, [] { SaveNoteManagerXml(); });
    save(DataName::kApplicationAssociations, [] { SaveAppAssociations(); });
    return failed;
}
