// The real program with a noteman.QPD and an apps.QPD made beforehand: the
// allowed group hotkeys are held while it runs and after a restart, each one
// showing its own group's notes, and let go when it ends; the groups, the
// memberships and the associations it writes after a restart are those it
// was given, less the deleted notes'.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/bytes/GenericException.h"
#include "note/NoteController.h"
#include "notemanager/NoteManagerFile.h"
#include "noteprops/AppAssociationsFile.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
const DWORD kGroupsUser = 1;
// Group 5 ("References") and a group of the user's own, 8, get hotkeys.
const UINT kGroupModifiers = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
const UINT kReferencesKey = VK_F7;
const UINT kOwnGroupKey = VK_F8;
const char kOwnGroupName[] = "<A&B> ]]> x";
const char kHelperTitle[] = "Group helper - notes.txt";

DWORD StoreHiddenNote(const char* text)
{
    CNoteController note;
    note.m_userId = kGroupsUser;
    note.m_left = 60;
    note.m_top = 80;
    note.m_width = 240;
    note.m_height = 150;
    note.m_hidden = true;
    lstrcpynA(note.m_title, text, sizeof note.m_title);
    const std::string rtf = std::string("{\\rtf1\\ansi ") + text + "}";
    note.SetRichText(rtf.data(), rtf.size());
    SaveNote(note);
    return note.m_noteId;
}

// The error another program meets taking the combination; 0 when it got it.
DWORD TryCombination(UINT key)
{
    const int probeId = 0x3FF0;
    SetLastError(0);
    if (!RegisterHotKey(nullptr, probeId, kGroupModifiers, key))
        return GetLastError();
    UnregisterHotKey(nullptr, probeId);
    return 0;
}

bool HeldByProgram(UINT key)
{
    return TryCombination(key) == static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED);
}

struct GroupFields {
    DWORD id, allowed, ctrl, alt, shift, key;
    std::string name, editable;
    bool operator==(const GroupFields& o) const
    {
        return std::tie(id, allowed, ctrl, alt, shift, key, name, editable) ==
               std::tie(o.id, o.allowed, o.ctrl, o.alt, o.shift, o.key, o.name, o.editable);
    }
};
using Membership = std::pair<DWORD, DWORD>;  // group, note

struct FileContents {
    std::vector<GroupFields> groups;
    std::vector<Membership> memberships;
    std::vector<std::pair<DWORD, std::string>> associations;  // note, title
    CNoteManagerOptions options{};
};

FileContents ReadFiles(const std::string& folder)
{
    MessageBoxRecorder boxes;
    FileContents contents;
    CRecordList<CNoteGroup> groups;
    CRecordList<CGroupNotePair> pairs;
    CRecordList<CNoteManagerOptions> options;
    SetNoteManagerDefaults(contents.options);
    const std::string noteman = folder + "\\noteman.QPD";
    LoadNoteManagerFile(noteman.c_str(), {options, groups, pairs}, contents.options, kGroupsUser);
    for (auto* node = groups.GetFirst(); node; node = node->next) {
        const CNoteGroup& g = node->record;
        contents.groups.push_back(
            {g.id, g.hotkey_ifAllow, g.hotkey_ctrl, g.hotkey_alt, g.hotkey_shift, g.hotkey_key, g.name, g.editable});
    }
    for (auto* node = pairs.GetFirst(); node; node = node->next)
        contents.memberships.emplace_back(node->record.groupID, node->record.noteID);
    std::sort(contents.memberships.begin(), contents.memberships.end());
    CRecordList<CAppAssociation> associations;
    HIMAGELIST icons = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
    LoadAppAssociations((folder + "\\apps.QPD").c_str(), associations, icons);
    ImageList_Destroy(icons);
    for (auto* node = associations.GetFirst(); node; node = node->next)
        contents.associations.emplace_back(node->record.noteId, node->record.application);
    std::sort(contents.associations.begin(), contents.associations.end());
    EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
    return contents;
}

// The standard groups with the two hotkeys and the group of the user's own,
// the memberships, the user's options with a wider dialog, and one note tied
// to a window title.
void WriteFiles(const std::string& folder, const std::vector<Membership>& memberships, DWORD tiedNote)
{
    MessageBoxRecorder boxes;
    CRecordList<CNoteManagerOptions> options;
    CRecordList<CNoteGroup> groups;
    CRecordList<CGroupNotePair> pairs;
    const std::string noteman = folder + "\\noteman.QPD";
    CNoteManagerOptions current;
    SetNoteManagerDefaults(current);
    LoadNoteManagerFile(noteman.c_str(), {options, groups, pairs}, current, kGroupsUser);
    options.GetFirst()->record.dialogWidth = 640;
    CNoteGroup own = groups.GetFirst()->record;
    own.id = 8;
    lstrcpynA(own.name, kOwnGroupName, sizeof own.name);
    lstrcpynA(own.editable, "1", sizeof own.editable);
    groups.AddToTail(own);
    for (auto* node = groups.GetFirst(); node; node = node->next) {
        CNoteGroup& g = node->record;
        if (g.id == 5 || g.id == 8) {
            g.hotkey_ifAllow = 1;
            g.hotkey_ctrl = g.hotkey_alt = g.hotkey_shift = 1;
            g.hotkey_key = g.id == 5 ? kReferencesKey : kOwnGroupKey;
        }
    }
    for (const Membership& m : memberships)
        pairs.AddToTail({static_cast<DWORD>(pairs.NextFreeId()), m.first, m.second});
    SaveNoteManagerXml(noteman.c_str(), {options, groups, pairs});

    CRecordList<CAppAssociation> associations;
    CAppAssociation tie;
    tie.noteId = tiedNote;
    lstrcpynA(tie.application, kHelperTitle, sizeof tie.application);
    associations.AddToTail(tie);
    HIMAGELIST icons = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
    SaveAppAssociations((folder + "\\apps.QPD").c_str(), associations, icons);
    ImageList_Destroy(icons);
}

std::vector<Membership> Without(std::vector<Membership> memberships, DWORD note)
{
    memberships.erase(std::remove_if(memberships.begin(), memberships.end(),
                                     [note](const Membership& m) { return m.second == note; }),
                      memberships.end());
    return memberships;
}

// The group hotkey pressed: the main window is told its id, as the system tells it.
void PressGroupHotkey(HWND main, WPARAM id)
{
    PostMessageA(main, WM_HOTKEY, id, 0);
}

void ExpectSameContents(const FileContents& expected, const FileContents& found)
{
    ASSERT_EQ(found.groups.size(), expected.groups.size());
    for (size_t i = 0; i < expected.groups.size(); ++i)
        EXPECT_TRUE(found.groups[i] == expected.groups[i]) << "group " << i << ": " << found.groups[i].name;
    EXPECT_EQ(found.memberships, expected.memberships);
    EXPECT_EQ(found.associations, expected.associations);
    EXPECT_EQ(found.options.userID, kGroupsUser);
    EXPECT_EQ(found.options.dialogWidth, 640u);
}
// What the program writes once the note's deletion has taken its memberships
// out, compared with what is expected.
void ExpectWrittenAfterDeleting(HWND note, DWORD process, const std::string& folder, const FileContents& expected)
{
    ASSERT_TRUE(DeleteNoteWindow(note, process));
    FileContents written;
    EXPECT_TRUE(WaitUntil([&] {
        // The program may be writing a file at this very moment, and holds
        // it while it does: the files are read again a moment later.
        try {
            written = ReadFiles(folder);
        } catch (const CGenericException& failure) {
            if (failure.GetErrorCode() != ERROR_SHARING_VIOLATION)
                throw;
            return false;
        }
        return written.memberships.size() == expected.memberships.size();
    }));
    ExpectSameContents(expected, written);
}
}

TEST(NoteGroupsProgram, GroupHotkeysAreHeldAcrossARestartAndTheGroupsComeBackAsGiven)
{
    ProgramInstall install("groups");
    install.AddInstalledDataFiles();
    DWORD a = 0, b = 0, c = 0, d = 0;
    std::vector<Membership> memberships;
    FileContents given;
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        a = StoreHiddenNote("References one");
        b = StoreHiddenNote("Own group one");
        c = StoreHiddenNote("References two");
        d = StoreHiddenNote("Business one");
        memberships = {{5, a}, {8, b}, {5, c}, {4, d}, {3, d}, {3, b}};
        WriteFiles(install.Path(), memberships, a);
        given = ReadFiles(install.Path());
    }
    ASSERT_EQ(given.groups.size(), 9u);
    ASSERT_EQ(given.memberships.size(), memberships.size());
    ASSERT_EQ(given.associations.size(), 1u);
    ASSERT_EQ(given.groups[8].name, kOwnGroupName);
    ASSERT_EQ(TryCombination(kReferencesKey), 0u);
    ASSERT_EQ(TryCombination(kOwnGroupKey), 0u);

    {
        RunningProgram program(install, "");
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        const DWORD process = program.ProcessId();
        EXPECT_TRUE(WaitUntil([] { return HeldByProgram(kReferencesKey) && HeldByProgram(kOwnGroupKey); }));
        // The groups whose hotkeys are not allowed hold none: Alt+Shift+G stays free.
        EXPECT_TRUE(RegisterHotKey(nullptr, 0x3FF1, MOD_ALT | MOD_SHIFT, 'G'));
        UnregisterHotKey(nullptr, 0x3FF1);

        HWND noteA = WaitForNoteWithText(process, "References one");
        HWND noteB = WaitForNoteWithText(process, "Own group one");
        HWND noteC = WaitForNoteWithText(process, "References two");
        HWND noteD = WaitForNoteWithText(process, "Business one");
        ASSERT_TRUE(noteA && noteB && noteC && noteD);
        // Group 5's hotkey is id 33: it shows group 5's notes and no other.
        PressGroupHotkey(main, 33);
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(noteA) && IsWindowVisible(noteC); }));
        EXPECT_FALSE(IsWindowVisible(noteB));
        EXPECT_FALSE(IsWindowVisible(noteD));
        // Group 4's hotkey is not allowed: its id does nothing, while group
        // 8's, handled after it, shows the note of group 8.
        PressGroupHotkey(main, 32);
        PressGroupHotkey(main, 36);
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(noteB) != FALSE; }));
        EXPECT_FALSE(IsWindowVisible(noteD));

        // A deleted note leaves its groups: the program writes both files.
        FileContents expected = given;
        expected.memberships = Without(given.memberships, c);
        ExpectWrittenAfterDeleting(noteC, process, install.Path(), expected);
        CloseProgram(install, program);
    }
    EXPECT_TRUE(WaitUntil([] { return TryCombination(kReferencesKey) == 0 && TryCombination(kOwnGroupKey) == 0; }));

    // After a restart the hotkeys are the program's again, each serving its
    // group, and what the program writes holds every group and membership
    // it read, less those of the note deleted now.
    {
        RunningProgram again(install, "");
        HWND main = WaitForMainWindow(again);
        ASSERT_NE(main, nullptr);
        const DWORD process = again.ProcessId();
        EXPECT_TRUE(WaitUntil([] { return HeldByProgram(kReferencesKey) && HeldByProgram(kOwnGroupKey); }));
        HWND noteA = WaitForNoteWithText(process, "References one");
        HWND noteD = WaitForNoteWithText(process, "Business one");
        ASSERT_TRUE(noteA && noteD);
        const bool shown = IsWindowVisible(noteA) != FALSE;
        PressGroupHotkey(main, 33);
        EXPECT_TRUE(WaitUntil([&] { return (IsWindowVisible(noteA) != FALSE) != shown; }));

        FileContents expected = given;
        expected.memberships = Without(Without(given.memberships, c), d);
        ExpectWrittenAfterDeleting(noteD, process, install.Path(), expected);
        CloseProgram(install, again);
    }
    EXPECT_TRUE(WaitUntil([] { return TryCombination(kReferencesKey) == 0 && TryCombination(kOwnGroupKey) == 0; }));
    EXPECT_FALSE(FileExists(install.File("error.txt"))) << ReadWholeFile(install.File("error.txt"));
}
