#include "store/NotesFiles.h"

#include <windows.h>

#include <string>

#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/WorkingCopy.h"
#include "store/FileStepRetries.h"

void FinishInterruptedRebuild()
{
    std::string table = DataFilePath(DataName::kNotesRebuiltTable);
    std::string memo = DataFilePath(DataName::kNotesRebuiltMemo);
    if (FileExists(table.c_str())) {
        // The table only after its memo file, or its records would name texts
        // that the old memo file does not hold.
        std::string memoFile = DataFilePath(DataName::kNotesMemo);
        if (FileExists(memo.c_str()) && !ReplaceWithWorkingCopy(memo.c_str(), memoFile.c_str()))
            return;
        ReplaceWithWorkingCopy(table.c_str(), DataFilePath(DataName::kNotesTable).c_str());
    } else if (FileExists(memo.c_str())) {
        DeleteFileA(memo.c_str());
    }
}

bool ReplaceNotesTableByWorkingCopy(const char* logPrefix)
{
    std::string working = DataFilePath(DataName::kNotesWorkingTable);
    std::string table = DataFilePath(DataName::kNotesTable);
    if (RetryFileStep([&] { return ReplaceWithWorkingCopy(working.c_str(), table.c_str()); }, logPrefix,
                      "\r\nError renaming file \"notesTemp.QPD\" Iteration "))
        return true;
    DeleteFileA(working.c_str());
    return false;
}

void CopyNotesTableToWorkingCopy(const char* logPrefix)
{
    std::string table = DataFilePath(DataName::kNotesTable);
    std::string working = DataFilePath(DataName::kNotesWorkingTable);
    if (!RetryFileStep([&] { return CopyFileA(table.c_str(), working.c_str(), FALSE) != 0; }, logPrefix,
                       "\r\nError copying file \"notes.qpd\" Iteration "))
        throw CGenericException("Error copying notes.qpd");
}
