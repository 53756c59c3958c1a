// Groups and commands of the Note Manager on the real program: a new group
// sorts into place, a duplicate name and a group past id 100 are refused, a
// deleted group leaves its notes in none, duplicated notes keep their group,
// and Delete asks where Ctrl+F4 on one note does not.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "globals/MainWindowMessages.h"
#include "notemanager/NoteManagerDriving.h"
#include "resources/ids/ComboBoxMenuIds.h"
#include "resources/ids/NoteManagerIds.h"
#include "support/KeyPresses.h"
#include "support/NoteDriving.h"

namespace {
const int kGroupColumn = 5;
const DWORD kBusiness = 3;

std::vector<std::string> Sorted(std::vector<std::string> texts)
{
    std::sort(texts.begin(), texts.end());
    return texts;
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
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(question.window); }));
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
