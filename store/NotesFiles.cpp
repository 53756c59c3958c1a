#include "store/NotesFiles.h"

#include <windows.h>

#include <string>

#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/WorkingCopy.h"
#include "foundation/bytes/GenericException.h"
#include "store/DbfFile.h"
#include "store/FileStepRetries.h"
#include "store/SaveSteps.h"

namespace {
const char kInstallPrefix[] = "FinishInterruptedRebuild(): ";

bool InstallRebuilt(const std::string& rebuilt, const char* target, const char* failureText)
{
    std::string path = DataFilePath(target);
    return RetryFileStep({FileStepKind::kRename, path},
                         [&] { return ReplaceWithWorkingCopy(rebuilt.c_str(), path.c_str()); }, kInstallPrefix,
                         failureText);
}
}

const char kRebuildWaitingText[] =
    "The notes saved last wait in 'notesNew.QPD' and cannot replace 'notes.qpd' yet: another program may hold one "
    "of these files. Until then the notes are neither read nor saved; none is lost.";
// It is also thrown, whole.
static_assert(sizeof kRebuildWaitingText <= CGenericException::kMaxTextLength + 1, "text too long to throw");

bool FinishInterruptedRebuild()
{
    std::string table = DataFilePath(DataName::kNotesRebuiltTable);
    std::string memo = DataFilePath(DataName::kNotesRebuiltMemo);
    if (!FileExists(table.c_str())) {
        // Never marked for installing: the stored pair is whole without it.
        if (FileExists(memo.c_str()))
            DeleteFileA(memo.c_str());
        return true;
    }
    // The table only after its memo file, or its records would name texts
    // that the old memo file does not hold.
    if (FileExists(memo.c_str()) &&
        !InstallRebuilt(memo, DataName::kNotesMemo, "\r\nError renaming file \"notesNew.QPS\" Iteration "))
        return false;
    PassSaveStep(SaveStep::kRebuildMemoReplaced);
    return InstallRebuilt(table, DataName::kNotesTable, "\r\nError renaming file \"notesNew.QPD\" Iteration ");
}

bool ReplaceNotesTableByWorkingCopy(const char* logPrefix)
{
    std::string working = DataFilePath(DataName::kNotesWorkingTable);
    std::string table = DataFilePath(DataName::kNotesTable);
    if (RetryFileStep({FileStepKind::kRename, table},
                      [&] { return ReplaceWithWorkingCopy(working.c_str(), table.c_str()); }, logPrefix,
                      "\r\nError renaming file \"notesTemp.QPD\" Iteration "))
        return true;
    DeleteFileA(working.c_str());
    return false;
}

void OpenNotesTableCopy(CDbfFile& table, const char* logPrefix)
{
    std::string source = DataFilePath(DataName::kNotesTable);
    table.SetTable(DataFilePath(DataName::kNotesWorkingTable).c_str(), true);
    if (!RetryFileStep({FileStepKind::kCopy, source}, [&] { return table.OpenCopyOf(source.c_str()); }, logPrefix,
                       "\r\nError copying file \"notes.qpd\" Iteration "))
        throw CGenericException("Error copying notes.qpd");
}
