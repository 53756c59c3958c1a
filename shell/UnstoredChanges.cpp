#include "shell/UnstoredChanges.h"

#include <windows.h>

#include <algorithm>

#include "foundation/DataFolder.h"
#include "shell/BackupRestore.h"
#include "store/FileStepFailures.h"
#include "store/ReplacementAdvice.h"
#include "xmlfiles/BackupList.h"

void SaveAllOutcome::AddUnwritten(const std::string& name)
{
    if (std::find(unwrittenFiles.begin(), unwrittenFiles.end(), name) == unwrittenFiles.end())
        unwrittenFiles.push_back(name);
}

std::vector<std::string> UnwritableNotesFiles()
{
    std::vector<std::string> unwritable;
    for (const char* name : {DataName::kNotesTable, DataName::kNotesMemo, DataName::kNotesWorkingTable,
                             DataName::kNotesWorkingMemo}) {
        // A save opens these files alone, and replaces or deletes them; the
        // working copies come and go, the table and its memo file must be there.
        const unsigned long error = WriteBlockingError(DataFilePath(name));
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        const bool working = lstrcmpiA(name, DataName::kNotesWorkingTable) == 0 ||
                             lstrcmpiA(name, DataName::kNotesWorkingMemo) == 0;
        if (error != ERROR_SUCCESS && !(missing && working))
            unwritable.push_back(name);
    }
    if (unwritable.empty())
        unwritable = {DataName::kNotesTable, DataName::kNotesMemo};
    return unwritable;
}

namespace {
// What the user can do about the files, from the causes the system gives now.
std::string WhatToDo(const std::vector<std::string>& files)
{
    bool held = false;
    bool missing = false;
    bool other = false;
    for (const std::string& name : files) {
        const unsigned long error = WriteBlockingError(DataFilePath(name.c_str()));
        if (IsHeldFileError(error))
            held = true;
        else if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            missing = true;
        else
            other = true;
    }
    std::string steps;
    if (held)
        steps = "close the program that is using them (a backup or synchronising program, say)";
    if (missing)
        steps += std::string(steps.empty() ? "" : ", ") + "put the missing files back";
    if (other || steps.empty())
        steps += std::string(steps.empty() ? "" : ", ") + "put right what keeps them from being written";
    return "Please " + steps + ", then end Quillnet+ again";
}
}

std::string KeptInRescueText(const std::string& rescueBackup)
{
    return "Your notes, as they are now, are kept in this backup file, from which they can be restored:\r\n    " +
           rescueBackup;
}

std::string UnstoredAtEndQuestion(const SaveAllOutcome& saved, const std::string& rescueBackup)
{
    std::string what = "Changes to your notes";
    if (saved.notesUnstored && saved.tiesUnstored)
        what = "Changes to your notes and the groups and programs of restored notes";
    else if (saved.tiesUnstored)
        what = "The groups and programs of restored notes";
    std::string files;
    for (const std::string& name : saved.unwrittenFiles)
        files += "\r\n    " + name + ": " + WhyNotWritable(DataFilePath(name.c_str()));
    const std::string question = what + " could not be stored: these files could not be written:" + files +
                                 "\r\n\r\nIf Quillnet+ ended now, these changes would be lost from your notes. " +
                                 WhatToDo(saved.unwrittenFiles) +
                                 ": Quillnet+ goes on running until then (the reasons are in error.txt).\r\n\r\n"
                                 "End Quillnet+ anyway? ";
    if (rescueBackup.empty())
        return question +
               "Quillnet+ would first write your notes as they are now to a backup file in one of these folders, "
               "where it could not write one just now:\r\n    " +
               BackupFolderPath() + "\r\n    " + GetDataFolder();
    return question + KeptInRescueText(rescueBackup);
}
