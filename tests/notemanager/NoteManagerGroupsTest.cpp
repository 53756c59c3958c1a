// Groups and commands of the Note Manager on the real program: a new group
// sorts into place, a duplicate name and a group past id 100 are refused, a
// deleted group leaves its notes in none, duplicated notes keep their group,
// and Delete asks where Ctrl+F4 on one note does not; new notes filed in
// groups before they were ever stored keep their groups, and their group's
// hotkey shows and hides them meanwhile.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "globals/MainWindowMessages.h"
#include "notemanager/NoteManagerDriving.h"
#include "resources/ids/ComboBoxMenuIds.h"
#include "resources/ids/NoteManagerIds.h"
#include "support/HeldFile.h"
#include "support/KeyPresses.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"

namespace {
const int kTextColumn = 2;
const int kGroupColumn = 5;
const DWORD kBusiness = 3;

std::vector<std::string> Sorted(std::vector<std::string> texts)
{
    std::sort(texts.begin(), texts.end());
    return texts;
}

using Membership = std::pair<DWORD, DWORD>;  // group, note

// The memberships noteman.QPD holds as its text says, sorted.
std::vector<Membership> MembershipsWritten(const ProgramInstall& install)
{
    const std::string text = ReadWholeFile(install.File("noteman.QPD"));
    auto number = [&text](size_t from, const std::string& tag) {
        const size_t at = text.find("<" + tag + ">", from);
        return at == std::string::npos ? 0ul : std::strtoul(text.c_str() + at + tag.size() + 2, nullptr, 10);
    };
    std::vector<Membership> found;
    for (size_t at = text.find("<noteAndGroup>"); at != std::string::npos; at = text.find("<noteAndGroup>", at + 1))
        found.emplace_back(number(at, "groupID"), number(at, "noteID"));
    std::sort(found.begin(), found.end());
    return found;
}

// The records of the stored notes whose text holds the words, sorted.
std::vector<DWORD> StoredIdsOf(const ProgramInstall& install, const std::string& words)
{
    std::vector<DWORD> ids;
    for (const auto& note : LoadEveryNote(install.Path()))
        if (note->RichText().find(words) != std::string::npos)
            ids.push_back(note->m_noteId);
    std::sort(ids.begin(), ids.end());
    return ids;
}

// The tray menu's entry at that place chosen with the keys.
bool ChooseTrayEntry(HWND main, DWORD process, int item)
{
    HWND tray = OpenTrayMenu(main, process);
    if (!tray)
        return false;
    for (int step = 0; step <= item; ++step)
        PressMenuKey(tray, VK_DOWN);
    PressMenuKey(tray, VK_RETURN);
    return true;
}

// A note made by the tray menu's "New note" and the words (small letters
// and blanks) typed into it; the notes are then hidden, so that none lies
// over the Note Manager. Null when it did not come or did not take the words.
HWND NewTypedNote(HWND main, DWORD process, const std::string& words)
{
    const std::vector<HWND> before = NoteWindows(process);
    if (!ChooseTrayEntry(main, process, 0))
        return nullptr;
    HWND note = NewNoteBesides(process, before);
    if (!note || !ClickIntoBody(note))
        return nullptr;
    for (char c : words)
        PressKeys({static_cast<BYTE>(c == ' ' ? VK_SPACE : std::toupper(static_cast<unsigned char>(c)))});
    if (!WaitUntil([&] { return ReadWindowText(BodyOf(note)) == words; }))
        return nullptr;
    HideNotesBesides(process, main, {});
    return note;
}

std::vector<int> RowsOfText(const NoteManagerWindow& manager, const std::string& text)
{
    const std::vector<std::string> texts = manager.Column(kTextColumn);
    std::vector<int> rows;
    for (size_t row = 0; row < texts.size(); ++row)
        if (texts[row] == text)
            rows.push_back(static_cast<int>(row));
    return rows;
}

// The Group column of every row of the text.
std::vector<std::string> GroupsOfText(const NoteManagerWindow& manager, const std::string& text)
{
    std::vector<std::string> groups;
    for (int row : RowsOfText(manager, text))
        groups.push_back(manager.Cell(row, kGroupColumn));
    return groups;
}

// Once the rows of the text show the groups, in the list's order.
bool ShowGroups(const NoteManagerWindow& manager, const std::string& text, const std::vector<std::string>& groups)
{
    return WaitUntil([&] { return GroupsOfText(manager, text) == groups; });
}

// The row of the text right-clicked, and in its menu "Assign to group" and
// the group at that place of its submenu clicked; the submenu is kept as a
// picture. False when a step did not come.
bool FileInGroup(const NoteManagerWindow& manager, const std::string& text, size_t groupItem)
{
    const std::vector<int> rows = RowsOfText(manager, text);
    return rows.size() == 1 && manager.FileRowInGroup(rows[0], groupItem, "note-manager-assign-to-group");
}

bool OpenManagerFromTray(HWND main, DWORD process, NoteManagerWindow& manager)
{
    return ChooseTrayEntry(main, process, 2) && manager.Wait();
}
}

TEST(NoteManagerGroups, GroupsAreMadeRenamedAndDeletedAndCommandsActOnTheSelection)
{
    ProgramInstall install("nmgroups");
    install.AddInstalledDataFiles();
    const std::vector<DWORD> ids =
        StoreTestNotes(install, {{"Bus one"}, {"Bus two"}, {"Plain"}, {"Deletable"}, {"Quick"}});
    // Every group id up to 99 taken: a new group gets 100, the next none.
    std::vector<DWORD> extra;
    for (DWORD id = 8; id <= 99; ++id)
        extra.push_back(id);
    WriteGroupsFile(install, extra, {{kBusiness, ids[0]}, {kBusiness, ids[1]}});

    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    NoteManagerWindow manager(process);
    HWND main = manager.OpenFromTrayListing(program, 6);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(manager.Cell(manager.RowOfTitle("Bus one"), kGroupColumn), "Business");

    // A new group goes right after the program's own three.
    ASSERT_TRUE(manager.TypeInPlace(ID_GROUP_COMBO_CREATE, "  Aardvark "));
    EXPECT_TRUE(WaitUntil([&] { return manager.ComboItem(IDC_NM_GROUP, 3) == "Aardvark"; }));
    EXPECT_EQ(manager.ComboSelection(IDC_NM_GROUP), 3);
    EXPECT_EQ(manager.ComboItem(IDC_NM_GROUP, 4), "Business");
    // A name the list has (in any case) and a group past id 100 are refused.
    ASSERT_TRUE(manager.TypeInPlace(ID_GROUP_COMBO_CREATE, "personal"));
    EXPECT_EQ(AcknowledgeProgramBox(process),
              "Sorry, the name you have just entered ('personal')\r\n    is already in the list of groups.\r\n\r\n"
              "Please choose another group name.");
    ASSERT_TRUE(manager.TypeInPlace(ID_GROUP_COMBO_CREATE, "Zebra"));
    EXPECT_EQ(AcknowledgeProgramBox(process),
              "Sorry, no more groups can be created.\r\n\r\nPlease delete a group first.");

    // A rename that changes only the case is taken; one to another group's name is not.
    ASSERT_TRUE(manager.ChooseComboItem(IDC_NM_GROUP, 4));
    ASSERT_TRUE(manager.TypeInPlace(ID_GROUP_COMBO_RENAME, "business"));
    EXPECT_TRUE(WaitUntil([&] { return manager.ComboItem(IDC_NM_GROUP, 4) == "business"; }));
    EXPECT_TRUE(WaitUntil([&] { return manager.Cell(manager.RowOfTitle("Bus one"), kGroupColumn) == "business"; }));
    ASSERT_TRUE(manager.TypeInPlace(ID_GROUP_COMBO_RENAME, "Personal"));
    EXPECT_NE(AcknowledgeProgramBox(process).find("('Personal')\r\n    is already in the list of groups."),
              std::string::npos);
    // A style renamed in its combo shows the bare name.
    ASSERT_TRUE(manager.ChooseComboItem(IDC_NM_STYLE, 3));
    ASSERT_TRUE(manager.TypeInPlace(ID_STYLE_COMBO_RENAME, "Bright"));
    EXPECT_TRUE(WaitUntil([&] { return manager.ComboItem(IDC_NM_STYLE, 3) == "Bright"; }));
    ASSERT_TRUE(manager.ChooseComboItem(IDC_NM_STYLE, 0));
    ASSERT_TRUE(manager.ChooseComboItem(IDC_NM_GROUP, 0));
    ASSERT_TRUE(WaitUntil([&] { return manager.Rows() == 6; }));
    // The new group shown in the combo, the filter left as it is.
    SendWithTimeout(GetDlgItem(manager.Window(), IDC_NM_GROUP), CB_SETCURSEL, 3, 0);

    // A note put in the new group, then the group deleted: the note is in none.
    manager.SelectTitles({"Plain"});
    manager.Command(ID_NM_FIRST_GROUP + 3);
    EXPECT_TRUE(WaitUntil([&] { return manager.Cell(manager.RowOfTitle("Plain"), kGroupColumn) == "Aardvark"; }));
    manager.Command(ID_GROUP_COMBO_DELETE);
    EXPECT_TRUE(WaitUntil([&] { return manager.Cell(manager.RowOfTitle("Plain"), kGroupColumn) == "None"; }));
    EXPECT_EQ(manager.ComboItem(IDC_NM_GROUP, 3), "business");
    EXPECT_EQ(manager.ComboSelection(IDC_NM_GROUP), 0);

    // Two notes of a group duplicated: two more rows in the group.
    manager.SelectTitles({"Bus one", "Bus two"});
    manager.Command(ID_NM_DUPLICATE);
    ASSERT_TRUE(WaitUntil([&] { return manager.Rows() == 8; }));
    ASSERT_TRUE(manager.ChooseComboItem(IDC_NM_GROUP, 3));
    EXPECT_TRUE(WaitUntil([&] { return manager.Rows() == 4; }));
    EXPECT_EQ(Sorted(manager.Column(1)), (std::vector<std::string>{"Bus one", "Bus one", "Bus two", "Bus two"}));
    ASSERT_TRUE(manager.ChooseComboItem(IDC_NM_GROUP, 0));
    ASSERT_TRUE(WaitUntil([&] { return manager.Rows() == 8; }));

    // Delete asks even for one note; No keeps it.
    manager.SelectTitles({"Deletable"});
    PostMessageA(manager.List(), WM_KEYDOWN, VK_DELETE, 0);
    ShownMessageBox question = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    EXPECT_EQ(question.text, "Are you sure you want to delete the selected note?\r\n\r\n");
    ASSERT_TRUE(AnswerMessageBox(question, IDNO));
    EXPECT_EQ(manager.Rows(), 8);
    // Ctrl+F4 on one note deletes it without the Note Manager's question.
    manager.SelectTitles({"Quick"});
    SetForegroundWindow(manager.Window());
    SendWithTimeout(manager.Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(manager.List()), TRUE);
    PressKeys({VK_CONTROL, VK_F4});
    EXPECT_TRUE(WaitUntil([&] {
        ShownMessageBox box = WaitForMessageBox(process, 50, "Quillnet+");
        if (box.window) {
            EXPECT_EQ(box.text.find("Are you sure you want to delete the selected"), std::string::npos);
            AnswerMessageBox(box, IDYES);
        }
        return manager.Rows() == 7;
    }));
    EXPECT_EQ(manager.RowOfTitle("Quick"), -1);

    // The "Deleted" view lists the deleted note with the radio buttons off;
    // Undelete of one note asks nothing and takes its row away.
    ASSERT_TRUE(manager.ChooseComboItem(IDC_NM_GROUP, 1));
    EXPECT_TRUE(WaitUntil([&] { return manager.Rows() == 1 && manager.Cell(0, 1) == "Quick"; }));
    EXPECT_FALSE(manager.Enabled(IDC_NM_STATE_DESKTOP));
    EXPECT_FALSE(manager.Enabled(IDC_NM_PROTECTION_ALL));
    manager.SelectTitles({"Quick"});
    EXPECT_TRUE(WaitUntil([&] { return manager.StatusText() == "The selected note is deleted"; }))
        << manager.StatusText();
    manager.Command(ID_NM_UNDELETE);
    EXPECT_TRUE(WaitUntil([&] { return manager.Rows() == 0; }));
    ASSERT_TRUE(manager.ChooseComboItem(IDC_NM_GROUP, 0));
    EXPECT_TRUE(WaitUntil([&] { return manager.Rows() == 8 && manager.RowOfTitle("Quick") >= 0; }));
    EXPECT_TRUE(manager.Enabled(IDC_NM_STATE_DESKTOP));

    ASSERT_TRUE(manager.Close());
    CloseProgram(install, program);
}

// New notes, never stored, filed in groups from the list's menu as the user
// files them: each row shows its group at once, and noteman.QPD names each
// note by the record it then has. A note that cannot be stored yet (another
// program holds the notes table), and the duplicate of a note in a group made
// meanwhile, show their groups too and join them once stored; after a
// restart every note is in its group.
TEST(NoteManagerGroups, NewNotesFiledInGroupsKeepTheirGroupsUnderTheirRecords)
{
    ProgramInstall install("nmnewgroup");
    install.AddInstalledDataFiles();
    AllowReferencesHotkey(install);
    // The places in the "Assign to group" submenu, after "None".
    const size_t kBusinessItem = 1, kPersonalItem = 2, kReferencesItem = 3;
    const DWORD kPersonal = 4, kReferences = 5;
    DWORD first = 0, second = 0;
    {
        std::vector<Membership> written;
        RunningProgram program(install, "");
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        const DWORD process = program.ProcessId();
        ASSERT_NE(NewTypedNote(main, process, "first filed"), nullptr);
        NoteManagerWindow manager(process);
        ASSERT_TRUE(OpenManagerFromTray(main, process, manager));
        ASSERT_TRUE(WaitUntil([&] { return RowsOfText(manager, "first filed").size() == 1; }));
        EXPECT_EQ(GroupsOfText(manager, "first filed"), std::vector<std::string>{"None"});

        ASSERT_TRUE(FileInGroup(manager, "first filed", kBusinessItem));
        EXPECT_TRUE(ShowGroups(manager, "first filed", {"Business"}));
        // The note was stored for it: the file names its record.
        EXPECT_TRUE(WaitUntil([&] { return (written = MembershipsWritten(install)).size() == 1; }));
        ASSERT_EQ(written.size(), 1u);
        EXPECT_EQ(written[0].first, kBusiness);
        EXPECT_TRUE(IsStoredNoteId(written[0].second)) << written[0].second;
        first = written[0].second;

        // A second new note, made while the window is open, goes into another
        // group; the first keeps its own.
        ASSERT_NE(NewTypedNote(main, process, "second filed"), nullptr);
        ASSERT_TRUE(WaitUntil([&] { return RowsOfText(manager, "second filed").size() == 1; }));
        ASSERT_TRUE(FileInGroup(manager, "second filed", kPersonalItem));
        EXPECT_TRUE(ShowGroups(manager, "second filed", {"Personal"}));
        EXPECT_EQ(GroupsOfText(manager, "first filed"), std::vector<std::string>{"Business"});
        EXPECT_TRUE(WaitUntil([&] { return (written = MembershipsWritten(install)).size() == 2; }));
        ASSERT_EQ(written.size(), 2u);
        EXPECT_EQ(written[0], Membership(kBusiness, first));
        EXPECT_EQ(written[1].first, kPersonal);
        EXPECT_TRUE(IsStoredNoteId(written[1].second) && written[1].second != first) << written[1].second;
        second = written[1].second;

        // With the notes table held, a third note cannot be stored when it is
        // filed, nor the duplicate of the first made by Ctrl+D: each shows
        // its group, and the file names no note that has no record.
        {
            HeldFile table(install.File("notes.QPD"), kHolderSharesReadWrite);
            ASSERT_TRUE(table.Held());
            ASSERT_NE(NewTypedNote(main, process, "third held"), nullptr);
            ASSERT_TRUE(WaitUntil([&] { return RowsOfText(manager, "third held").size() == 1; }));
            HWND third = NoteWithText(process, "third held");
            ASSERT_TRUE(FileInGroup(manager, "third held", kReferencesItem));
            EXPECT_TRUE(ShowGroups(manager, "third held", {"References"}));
            // The group's hotkey acts on the note that waits to join it: the
            // note, which the program still counts as shown (the test took it
            // off the screen), is hidden, then shown, then hidden again.
            ASSERT_FALSE(IsWindowVisible(third));
            PostMessageA(main, WM_HOTKEY, kReferencesHotkey, 0);
            ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
            EXPECT_FALSE(IsWindowVisible(third));
            PostMessageA(main, WM_HOTKEY, kReferencesHotkey, 0);
            EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(third) != FALSE; }));
            PostMessageA(main, WM_HOTKEY, kReferencesHotkey, 0);
            EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(third); }));
            POINT at{};
            ASSERT_TRUE(manager.RowPoint(RowsOfText(manager, "first filed")[0], at));
            ClickAt(at);
            ASSERT_TRUE(WaitUntil([&] { return FocusedWindowOf(manager.Window()) == manager.List(); }));
            PressKeys({VK_CONTROL, 'D'});
            EXPECT_TRUE(WaitUntil([&] { return RowsOfText(manager, "first filed").size() == 2; }));
            EXPECT_TRUE(ShowGroups(manager, "first filed", {"Business", "Business"}));
            EXPECT_TRUE(SaveScreenshotOf(manager.Window(), "note-manager-new-notes-in-groups"));
            EXPECT_EQ(MembershipsWritten(install), (std::vector<Membership>{{kBusiness, first}, {kPersonal, second}}));
        }
        ASSERT_TRUE(manager.Close());
        CloseProgram(install, program);
    }

    // The end stored the two notes, and each joined its group under its record.
    const std::vector<DWORD> firsts = StoredIdsOf(install, "first filed");
    const std::vector<DWORD> thirds = StoredIdsOf(install, "third held");
    ASSERT_EQ(firsts.size(), 2u);
    ASSERT_EQ(thirds.size(), 1u);
    EXPECT_EQ(StoredIdsOf(install, "second filed"), std::vector<DWORD>{second});
    ASSERT_TRUE(std::find(firsts.begin(), firsts.end(), first) != firsts.end());
    const DWORD copy = firsts[0] == first ? firsts[1] : firsts[0];
    std::vector<Membership> expected{
        {kBusiness, first}, {kBusiness, copy}, {kPersonal, second}, {kReferences, thirds[0]}};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(MembershipsWritten(install), expected);

    RunningProgram again(install, "");
    HWND main = WaitForMainWindow(again);
    ASSERT_NE(main, nullptr);
    const DWORD process = again.ProcessId();
    NoteManagerWindow manager(process);
    ASSERT_TRUE(OpenManagerFromTray(main, process, manager));
    EXPECT_TRUE(WaitUntil([&] { return RowsOfText(manager, "third held").size() == 1; }));
    EXPECT_EQ(GroupsOfText(manager, "first filed"), (std::vector<std::string>{"Business", "Business"}));
    EXPECT_EQ(GroupsOfText(manager, "second filed"), std::vector<std::string>{"Personal"});
    EXPECT_EQ(GroupsOfText(manager, "third held"), std::vector<std::string>{"References"});
    ASSERT_TRUE(manager.Close());
    CloseProgram(install, again);
}
