#include "store/NotesFiles.h"

#include <windows.h>

#include <string>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/WorkingCopy.h"
#include "store/FileStepRetries.h"

namespace {
std::string Path(const char* name)
{
    return DataFilePath(name);
}

void RecoverOne(const char* missing, const char* working, const char* message)
{
    if (FileExists(Path(missing).c_str()) || !FileExists(Path(working).c_str()))
        return;
    WriteErrorLog("WinMain():", message);
    MoveFileA(Path(working).c_str(), Path(missing).c_str());
}
}

void FinishInterruptedRebuild()
{
    std::string table = Path(DataName::kNotesRebuiltTable);
    std::string memo = Path(DataName::kNotesRebuiltMemo);
    if (FileExists(table.c_str())) {
        // The table only after its memo file, or its records would name texts
        // that the old memo file does not hold.
        if (FileExists(memo.c_str()) && !ReplaceWithWorkingCopy(memo.c_str(), Path(DataName::kNotesMemo).c_str()))
            return;
        ReplaceWithWorkingCopy(table.c_str(), Path(DataName::kNotesTable).c_str());
    } else if (FileExists(memo.c_str())) {
        DeleteFileA(memo.c_str());
    }
}

void RecoverNotesFromWorkingCopies()
{
    FinishInterruptedRebuild();
    RecoverOne(DataName::kNotesTable, DataName::kNotesWorkingTable,
               "When Quillnet+ starts, the 'notes.qpd' data file is missing.\r\nThe 'notesTemp.QPD' data file exists. "
               "Rename the working file as the original data file.");
    RecoverOne(DataName::kNotesMemo, DataName::kNotesWorkingMemo,
               "The 'notes.qps' memo file is missing.\r\nThe 'notesTemp.QPS' memo file exists. Rename the working "
               "file as the original data file.");
}

bool ReplaceNotesTableByWorkingCopy(const char* logPrefix)
{
    std::string working = Path(DataName::kNotesWorkingTable);
    std::string table = Path(DataName::kNotesTable);
    if (RetryFileStep([&] { return ReplaceWithWorkingCopy(working.c_str(), table.c_str()); }, logPrefix,
                      "\r\nError renaming file \"notesTemp.QPD\" Iteration "))
        return true;
    DeleteFileA(working.c_str());
    return false;
}

void CopyNotesTableToWorkingCopy(const char* logPrefix)
{
    std::string table = Path(DataName::kNotesTable);
    std::string working = Path(DataName::kNotesWorkingTable);
    if (!RetryFileStep([&] { return CopyFileA(table.c_str(), working.c_str(), FALSE) != 0; }, logPrefix,
                       "\r\nError copying file \"notes.qpd\" Iteration "))
        throw CGenericException("Error copying notes.qpd");
}
