#include "shell/UnstoredChanges.h"

#include <windows.h>

#include <algorithm>

#include "foundation/DataFolder.h"
#include "shell/BackupRestore.h"
#include "store/ReplacementAdvice.h"
#include "xmlfiles/BackupList.h"

void SaveAllOutcome::AddUnwritten(const std::string& name)
{
    if (std::find(unwrittenFiles.begin(), unwrittenFiles.end(), name) == unwrittenFiles.end())
        unwrittenFiles.push_back(name);
}

std::vector<std::string> UnwritableNotesFiles()
{
    std::vector<std::string> held;
    for (const char* name : {DataName::kNotesTable, DataName::kNotesMemo, DataName::kNotesWorkingTable,
                             DataName::kNotesWorkingMemo}) {
        // A save opens these files alone, and replaces or deletes them.
        const unsigned long error = WriteBlockingError(DataFilePath(name));
        if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            held.push_back(name);
    }
    if (held.empty())
        held = {DataName::kNotesTable, DataName::kNotesMemo};
    return held;
}

std::string UnstoredAtEndQuestion(const SaveAllOutcome& saved, const std::string& rescueBackup)
{
    std::string what = "Changes to your notes";
    if (saved.notesUnstored && saved.tiesUnstored)
        what = "Changes to your notes and the groups and programs of restored notes";
    else if (saved.tiesUnstored)
        what = "The groups and programs of restored notes";
    const std::string question =
        what + " could not be stored: these files could not be written, perhaps because another program (a "
               "backup or synchronising program) is using them:" +
        ListedFileNames(saved.unwrittenFiles) +
        "\r\n\r\nIf Quillnet+ ended now, these changes would be lost from your notes. Please close that program, "
        "then end Quillnet+ again: Quillnet+ goes on running until then (the reasons are in error.txt).\r\n\r\n"
        "End Quillnet+ anyway? ";
    if (rescueBackup.empty())
        return question +
               "Quillnet+ would first write your notes as they are now to a backup file in one of these folders, "
               "where it could not write one just now:\r\n    " +
               BackupFolderPath() + "\r\n    " + GetDataFolder();
    return question +
           "Your notes, as they are now, are kept in this backup file, from which they can be restored:\r\n    " +
           rescueBackup;
}
