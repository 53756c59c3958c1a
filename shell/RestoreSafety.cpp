// What a restore and its undo make sure of before they replace any table.
#include <winsock2.h>

#include <string>

#include "foundation/CriticalSectionLock.h"
#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/MessageBoxes.h"
#include "globals/ProgramGlobals.h"
#include "shell/BackupRestore.h"
#include "shell/WindowController.h"
#include "store/NotesFiles.h"
#include "store/NotesTableLock.h"
#include "store/ReplacementAdvice.h"

bool InstallWaitingNotesPair(HWND owner, const char* nothingDone)
{
    {
        CCriticalSectionLock hold(NotesTableLock());
        if (FinishInterruptedRebuild())
            return true;
    }
    ShowErrorMessage(owner, (std::string(kRebuildWaitingText) + "\r\n\r\n" + nothingDone).c_str(), ProgramTitle);
    return false;
}

std::string KeptUnlessStored(CWindowController& app, const SaveAllOutcome& saved)
{
    if (!saved.ChangesUnstored()) {
        app.Rescue().Settled();
        return "";
    }
    return app.Rescue().Keep(app);
}

void ShowNotSavedFirst(HWND owner, const char* step, const char* nothingDone, const std::string& rescueBackup)
{
    std::string text = std::string("Your notes could not be saved before ") + step +
                       "; another program may be using the notes files.";
    // The groups and programs of restored notes must be in the files first:
    // the undo copy takes the files, and an undo the lists from them.
    CWindowController* app = GetWindowController();
    if (app && !app->RestoreState().unwrittenTieFiles.empty())
        text = "The groups and programs of restored notes could not be written before " + std::string(step) +
               " to these files, which another program is using:" +
               ListedFileNames(app->RestoreState().unwrittenTieFiles) + "\r\nPlease close that program and try again.";
    text += std::string("\r\n\r\n") + nothingDone;
    if (!rescueBackup.empty())
        text += "\r\n\r\n" + KeptInRescueText(rescueBackup);
    ShowErrorMessage(owner, text.c_str(), ProgramTitle);
}

bool RefusedWhileRestoring(CWindowController& app, bool tell)
{
    if (!app.IsRestoreInProgress())
        return false;
    if (tell)
        ShowWarningMessage(app.GetWindow(),
                           "A restore is still under way: please answer its password prompts first.\r\n\r\n"
                           "Nothing else was restored or undone.",
                           ProgramTitle);
    else
        WriteErrorLog("RefusedWhileRestoring():", "a restore asked for while another was under way was not made");
    return true;
}

std::string ListedFileNames(const std::vector<std::string>& names)
{
    std::string list;
    for (const std::string& name : names)
        list += "\r\n    " + name;
    return list;
}

namespace {
// Nothing more is written: the user is told why, and the program ends with
// the data files as they are, for the next start.
void EndWritingNothing(CWindowController& app, const char* logPrefix, const std::string& text)
{
    SealDataFiles();
    // Nothing received from now on could be stored: the ports close before
    // the user reads why.
    app.StopListeningOnBothPorts();
    WriteErrorLog(logPrefix, text.c_str());
    ShowErrorMessage(app.GetWindow(), text.c_str(), ProgramTitle);
    GetProgramFlags().exitCode = kDataFilesNotWholeExitCode;
    PostMessageA(app.GetWindow(), WM_CLOSE, 0, 0);
}
}

void EndAfterUnfinishedReplacement(CWindowController& app, const std::string& problem)
{
    EndWritingNothing(app, "EndAfterUnfinishedReplacement():",
                      problem + "\r\n\r\nTheir earlier versions are kept beside them (\".was\"), and nothing was "
                                "deleted. Quillnet+ writes nothing more and ends now. When it starts again, it puts "
                                "back the files of before, once no other program holds them.");
}

void EndAfterUnrecordedReplacement(CWindowController& app, const char* operation, bool made)
{
    const std::string what = operation;
    const std::string record = DataName::kReplacementRecord;
    const std::string why = "its record (" + record + " in the data folder) could not be updated: " +
                            WhyNotWritable(DataFilePath(DataName::kReplacementRecord)) + ".";
    std::string text = made ? "The " + what + " was made, but Quillnet+ could not record that it was finished: " + why
                            : "The " + what + " was not made, and the files of before it are back, but Quillnet+ "
                                              "could not record that: " + why;
    text += "\r\n\r\nSo that nothing is overwritten, Quillnet+ writes nothing more and ends now. When it starts "
            "again, it returns to the files of before the " + what + ": nothing you wrote before the " + what +
            " is lost";
    text += made ? ", and you can simply make the " + what + " again." : ".";
    EndWritingNothing(app, "EndAfterUnrecordedReplacement():", text);
}

bool TryReload(CWindowController& app, std::string& failure)
{
    try {
        app.Reinitialize();
        return true;
    } catch (const CGenericException& thrown) {
        failure = thrown.GetErrorText();
    } catch (...) {
        failure = "Unknown exception";
    }
    return false;
}

bool ReloadOrEnd(CWindowController& app, const std::string& kept)
{
    std::string failure;
    if (TryReload(app, failure))
        return true;
    // A program that could not load its data would save emptied lists over it.
    EndWritingNothing(app, "ReloadOrEnd():",
                      "The notes files are in place, but they could not be loaded now:\r\n    " + failure +
                          "\r\n\r\nQuillnet+ writes nothing and ends now." + kept +
                          " Start Quillnet+ again once the cause is put right (another program may be using a "
                          "data file), and the files load then.");
    return false;
}

namespace {
void WriteDownQuietBox(const char* text, const char*)
{
    AppendTextToFile((std::string(text) + "\r\n").c_str(), DataName::kCommandLineRestoreErrors);
    WriteErrorLog("Silent restore:", text);
}
}

CQuietRestore::CQuietRestore(CWindowController& app, bool quiet)
    : m_state(app.RestoreState()), m_wasQuiet(m_state.quiet), m_quiet(quiet)
{
    if (!m_quiet)
        return;
    m_state.quiet = true;
    SetThreadMessageBoxSink(&WriteDownQuietBox);
}

CQuietRestore::~CQuietRestore()
{
    if (!m_quiet)
        return;
    m_state.quiet = m_wasQuiet;
    if (!m_wasQuiet)
        SetThreadMessageBoxSink(nullptr);
}
