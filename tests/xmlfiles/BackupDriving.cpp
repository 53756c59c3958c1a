#include "BackupDriving.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <thread>

#include "noteprops/AppAssociationsFile.h"
#include "foundation/bytes/ProtectedMark.h"
#include "resources/ids/NotePasswordIds.h"
#include "note/NotePasswordDialog.h"
#include "store/FieldAccess.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "store/TableText.h"
#include "support/CurrentFolder.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"
#include "support/UnixProgram.h"
#include "xmlfiles/XmlDocument.h"
#include "xmlfiles/XmlWriter.h"
#include "xmlfiles/bytes/BackupReading.h"
#include "xmlfiles/bytes/BackupWriting.h"

DWORD StoreNote(const ProgramInstall& install, const std::function<void(CNoteController&)>& fill)
{
    CurrentFolder data(install.Path());
    NotesFreeSlots().Clear();
    CNoteController note;
    FillTestNote(note, "", 40, 40);
    note.m_bodyFont.lfHeight = -13;
    note.m_bodyFont.lfWeight = FW_NORMAL;
    lstrcpynA(note.m_bodyFont.lfFaceName, "Tahoma", LF_FACESIZE);
    note.m_titleFont = note.m_bodyFont;
    note.m_created = CDateTime(5, 3, 2026, 9, 5, 0);
    fill(note);
    SaveNote(note);
    return note.m_noteId;
}

void WriteBackupFile(const std::string& path, const std::vector<BackupNote>& notes)
{
    CXmlWriter writer(kBackupHeaderLine, kBackupRootName);
    writer.Open(path.c_str());
    int number = 1;
    for (const BackupNote& note : notes)
        WriteNoteXml(writer, note, number++);
    WriteComputersXml(writer, {}, 1);
    writer.Close();
}

std::string ProtectedNoteBody()
{
    return std::string("T25ETF8GQ3hRXlpXRA==08190f7344fdfba35e45522072770002") +
           std::string(reinterpret_cast<const char*>(kProtectedBodyMark), sizeof kProtectedBodyMark);
}

std::vector<BackupNote> LockedAndGroupedNotes()
{
    BackupNote locked;
    locked.title = "Locked";
    locked.protectedBody = true;
    locked.content = ProtectedNoteBody();
    locked.left = 500;
    locked.top = 300;
    BackupNote grouped;
    grouped.title = "Grouped";
    grouped.content = "{\\rtf1\\ansi In the travel group}";
    grouped.group = "Travel";
    grouped.left = 540;
    grouped.top = 330;
    HIMAGELIST icons = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    ImageList_AddIcon(icons, LoadIconA(nullptr, IDI_APPLICATION));
    grouped.associations = {BackupAssociation{"Untitled - Notepad", IconText(icons, 0)}};
    ImageList_Destroy(icons);
    return {locked, grouped};
}

void WriteLockedAndGroupedBackup(const std::string& path)
{
    WriteBackupFile(path, LockedAndGroupedNotes());
}

void FirstRun(const ProgramInstall& install)
{
    RunningProgram program(install, "");
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    CloseProgram(install, program);
}

void SetBackupOptions(const ProgramInstall& install, bool daily, long days, bool monthlyKeep, long saveMinutes)
{
    CUsersTable users;
    users.SetTable(install.File("users.QPD").c_str(), true);
    users.Open("MAPPINGALL");
    WriteNumber(users, 1, "BYIPPART1", daily ? 1 : 0);
    WriteNumber(users, 1, "BYIPPART2", days);
    WriteLogical(users, 1, "BVSCROLL", monthlyKeep);
    WriteNumber(users, 1, "WSAVEINT", saveMinutes);
    users.Close();
}

void RestoreAnsweringPassword(const ProgramInstall& install, DWORD process, const std::string& arguments,
                              const char* password)
{
    RunningProgram second(install, arguments);
    EXPECT_EQ(AcknowledgeProgramBox(process).rfind("Restore by appending notes", 0), 0u) << arguments;
    HWND prompt = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
        prompt = FindTopWindowTitled("#32770", kNotePasswordPromptTitle, process);
        return prompt && IsWindowVisible(prompt);
    })) << arguments;
    if (prompt && password) {
        SendWithTimeout(GetDlgItem(prompt, IDC_NOTE_PASSWORD_EDIT), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(password));
        PostMessageA(prompt, WM_COMMAND, MAKEWPARAM(IDC_NOTE_PASSWORD_OK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(prompt, IDC_NOTE_PASSWORD_OK)));
    } else if (prompt) {
        PostMessageA(prompt, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(prompt, IDCANCEL)));
    }
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(prompt); }));
    DWORD exitCode = 1;
    EXPECT_TRUE(second.WaitForExit(&exitCode)) << arguments;
}

std::vector<std::string> BackupFiles(const ProgramInstall& install)
{
    return FileNamesMatching(install.File("BACKUP\\*.QPK"));
}

std::string BackupFile(const ProgramInstall& install, const std::string& name)
{
    return install.File("BACKUP\\" + name);
}

std::string BoxAfterCommand(HWND main, DWORD process, UINT command)
{
    PostMessageA(main, WM_COMMAND, command, 0);
    return AcknowledgeProgramBox(process);
}

HWND WaitForDialog(DWORD process, const char* caption)
{
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindTopWindowTitled("#32770", caption, process)) != nullptr; });
    return dialog;
}

HWND OpenBackupSubmenu(HWND main, DWORD process)
{
    HWND tray = OpenTrayMenu(main, process);
    if (!tray)
        return nullptr;
    for (int i = 0; i < 4; ++i)
        PressMenuKey(tray, VK_UP);
    PressMenuKey(tray, VK_RIGHT);
    return WaitForSubmenu(process, tray);
}

HWND OpenRestoreSubmenu(HWND main, DWORD process)
{
    HWND backup = OpenBackupSubmenu(main, process);
    if (!backup)
        return nullptr;
    PressMenuKey(backup, VK_DOWN);
    const std::vector<HWND> before = OpenMenus(process);
    PressMenuKey(backup, VK_RIGHT);
    return WaitForNewMenu(process, before);
}

HWND OpenOlderBackups(DWORD process, HWND menu)
{
    // From the first entry, or from none, up goes round to the last.
    const std::vector<HWND> before = OpenMenus(process);
    PressMenuKey(menu, VK_UP);
    PressMenuKey(menu, VK_RIGHT);
    return WaitForNewMenu(process, before);
}

HWND ClickEntryForDialog(HWND menu, DWORD process, const std::string& layout, size_t entry, const char* picture,
                         const char* caption)
{
    const MenuPicture list(menu, layout);
    EXPECT_TRUE(list.Fits()) << "the menu does not show the " << layout.size() << " rows of " << layout;
    if (!list.Fits())
        return nullptr;
    SetCursorPos(list.ItemMiddle(entry).x, list.ItemMiddle(entry).y);
    SaveScreenshotOf(menu, picture);
    ClickAt(list.ItemMiddle(entry));
    return WaitForDialog(process, caption);
}

std::string UnrestoreFromTrayMenu(HWND main, DWORD process)
{
    HWND backup = OpenBackupSubmenu(main, process);
    if (!backup)
        return "(no menu)";
    PressMenuKey(backup, VK_DOWN);
    PressMenuKey(backup, VK_DOWN);
    PressMenuKey(backup, VK_RETURN);
    HWND undo = WaitForDialog(process, "Unrestore notes...");
    if (!undo || !ClickDialogButton(undo, IDOK))
        return "(no dialog)";
    return AcknowledgeProgramBox(process);
}

bool PressAndWaitGone(HWND dialog, int buttonId)
{
    HWND button = GetDlgItem(dialog, buttonId);
    if (!button)
        return false;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return WaitUntil([&] { return !IsWindow(dialog); });
}

std::map<std::string, std::string> BackupFacts(const std::string& backupPath)
{
    std::map<std::string, std::string> facts;
    const std::string factsPath = backupPath + ".facts";
    DeleteFileA(factsPath.c_str());
    const std::string script = UnixPathBesideSource(__FILE__, "backup_facts.py");
    // Debian's own Python, which another one on the path may hide.
    if (!StartUnixProgram("Z:\\usr\\bin\\python3",
                          "python3 " + script + " " + UnixPath(backupPath) + " " + UnixPath(factsPath)))
        return facts;
    if (!WaitUntil([&] { return FileExists(factsPath); }))
        return facts;
    std::istringstream lines(ReadWholeFile(factsPath));
    for (std::string line; std::getline(lines, line);) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            facts[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return facts;
}

std::vector<BackupNote> ReadBackupNotes(const std::string& path)
{
    std::vector<BackupNote> notes;
    CXMLDocument document(path.c_str());
    if (!document.Parse())
        return notes;
    std::string error;
    const int count = CountBackupNotes(document, error);
    for (int k = 1; k <= count; ++k) {
        BackupNote note;
        std::vector<BackupMissingField> missing;
        ReadBackupNote(document, k, note, missing);
        notes.push_back(note);
    }
    return notes;
}

std::vector<std::string> NoteTexts(DWORD process)
{
    std::vector<std::string> texts;
    for (HWND note : NoteWindows(process))
        texts.push_back(ReadWindowText(BodyOf(note)));
    std::sort(texts.begin(), texts.end());
    return texts;
}

std::string SilentRestoreErrors(const ProgramInstall& install, DWORD process, const std::string& arguments)
{
    {
        RunningProgram second(install, arguments);
        auto promptShown = [&] {
            HWND prompt = FindTopWindowTitled("#32770", kNotePasswordPromptTitle, process);
            return prompt && IsWindowVisible(prompt);
        };
        EXPECT_TRUE(WaitUntil([&] { return !second.IsRunning() || ProgramBoxShown(process) || promptShown(); }))
            << arguments;
        EXPECT_FALSE(promptShown()) << arguments;
        EXPECT_FALSE(ProgramBoxShown(process)) << arguments << ": " << AcknowledgeProgramBox(process);
        DWORD exitCode = 1;
        EXPECT_TRUE(second.WaitForExit(&exitCode)) << arguments;
    }
    const std::string errors = install.File("cmdLineRestore.Err");
    const std::string text = FileExists(errors) ? ReadWholeFile(errors) : std::string();
    DeleteFileA(errors.c_str());
    return text;
}
