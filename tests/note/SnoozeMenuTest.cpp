// The snooze menus as the program loads and fills them: the items of the
// note's "Remind again every:" menu and of the password prompt's for the
// recurrences the user meets, read back as a list of texts.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "note/NoteController.h"
#include "note/NoteCreation.h"
#include "store/NoteDescription.h"
#include "note/SnoozeMenus.h"
#include "resources/ids/SnoozeMenuIds.h"
#include "globals/GlobalTexts.h"

namespace {
// The popup of a menu resource, destroyed with the object.
class LoadedMenu {
public:
    explicit LoadedMenu(UINT id) : m_menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)))
    {
        LoadSnoozeChoices(GetModuleHandleA(nullptr));
    }
    ~LoadedMenu() { DestroyMenu(m_menu); }
    LoadedMenu(const LoadedMenu&) = delete;
    LoadedMenu& operator=(const LoadedMenu&) = delete;
    HMENU Popup() const { return GetSubMenu(m_menu, 0); }

private:
    HMENU m_menu;
};

// "text=id" of each item, "-" for a separator.
std::vector<std::string> Items(HMENU menu)
{
    std::vector<std::string> items;
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        if (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_SEPARATOR) {
            items.push_back("-");
            continue;
        }
        char text[64] = "";
        GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
        items.push_back(std::string(text) + "=" + std::to_string(GetMenuItemID(menu, position)));
    }
    return items;
}

// The duration items alone, from after the first separator to the next.
std::vector<std::string> Durations(HMENU menu)
{
    std::vector<std::string> all = Items(menu);
    std::vector<std::string> durations;
    bool inside = false;
    for (const std::string& item : all) {
        if (item == "-") {
            if (inside)
                break;
            inside = true;
            continue;
        }
        if (inside)
            durations.push_back(item.substr(0, item.find('=')));
    }
    return durations;
}

using Texts = std::vector<std::string>;
}

TEST(SnoozeMenu, TheNoteMenuShowsTheRecurrenceAtItsPlace)
{
    {
        LoadedMenu menu(IDM_SNOOZE_MENU);
        CNoteController note;
        EXPECT_EQ(BuildSnoozeMenu(note, 1, 90, menu.Popup()), 1);
        EXPECT_EQ(Items(menu.Popup()),
                  (Texts{"Remind again every:=4035", "-", "5 minutes=4036", "15 minutes=4037", "30 minutes=4038",
                         "90 minutes=4039", "1 hour=4040", "3 hours=4041", "7 hours=4042", "12 hours=4043",
                         "1 day=4044", "3 days=4045", "1 weekday=4046", "1 week=4047", "1 month=4048", "-",
                         "Edit alarm settings...=4049", "&Alarm off=4113"}));
        EXPECT_EQ(note.m_snooze.current, 3);
        EXPECT_EQ(note.m_snooze.pairs[3].value, 90);
        EXPECT_EQ(note.m_snooze.pairs[12].unit, 5) << "the last item is 1 month";
    }
    {
        LoadedMenu menu(IDM_SNOOZE_MENU);
        CNoteController note;
        EXPECT_EQ(BuildSnoozeMenu(note, 1, 60, menu.Popup()), 0);
        EXPECT_EQ(Durations(menu.Popup()),
                  (Texts{"5 minutes", "15 minutes", "30 minutes", "60 minutes", "3 hours", "7 hours", "12 hours",
                         "1 day", "3 days", "1 weekday", "1 week", "1 month"}));
        EXPECT_EQ(GetMenuState(menu.Popup(), ID_SNOOZE_LAST, MF_BYCOMMAND), static_cast<UINT>(-1));
        EXPECT_EQ(note.m_snooze.current, 3);
        EXPECT_EQ(note.m_snooze.pairs[12].value, -1);
    }
    {
        LoadedMenu menu(IDM_SNOOZE_MENU);
        CNoteController note;
        EXPECT_EQ(BuildSnoozeMenu(note, 6, 5, menu.Popup()), 0);
        EXPECT_EQ(Durations(menu.Popup()),
                  (Texts{"5 minutes", "15 minutes", "30 minutes", "1 hour", "3 hours", "7 hours", "12 hours", "1 day",
                         "3 days", "1 weekday", "5 weekdays", "1 month"}));
        EXPECT_EQ(note.m_snooze.current, 10);
    }
    {
        LoadedMenu menu(IDM_SNOOZE_MENU);
        CNoteController note;
        EXPECT_EQ(BuildSnoozeMenu(note, 1, 1, menu.Popup()), 1);
        EXPECT_EQ(Durations(menu.Popup())[0], "1 minute");
        LoadedMenu three(IDM_SNOOZE_MENU);
        EXPECT_EQ(BuildSnoozeMenu(note, 1, 3, three.Popup()), 1);
        EXPECT_EQ(Durations(three.Popup())[0], "3 minutes");
    }
    {
        // A note stored with neither value nor unit recurs daily: "1 day" is current.
        NoteDescription stored;
        stored.alarmValue = 0;
        stored.alarmUnit = 0;
        CNoteController note;
        FillNoteFromDescription(note, stored);
        LoadedMenu menu(IDM_SNOOZE_MENU);
        EXPECT_EQ(BuildSnoozeMenu(note, note.m_alarmUnit, note.m_alarmValue, menu.Popup()), 0);
        EXPECT_EQ(ID_SNOOZE_FIRST + note.m_snooze.current, 4043u);
        EXPECT_EQ(Durations(menu.Popup())[note.m_snooze.current], "1 day");
        EXPECT_EQ(Durations(menu.Popup()).size(), 12u);
    }
}

TEST(SnoozeMenu, ThePromptMenuListsTenDurationsAndTheRecurrence)
{
    LoadedMenu menu(IDM_HIDE_FOR_MENU);
    SnoozeTable prompt;
    EXPECT_EQ(BuildHideForMenu(prompt, 1, 20, menu.Popup()), 1);
    EXPECT_EQ(Items(menu.Popup()),
              (Texts{"... but remind again every:=4035", "-", "5 minutes=4036", "15 minutes=4037", "20 minutes=4038",
                     "1 hour=4039", "3 hours=4040", "12 hours=4041", "1 day=4042", "3 days=4043", "1 weekday=4044",
                     "1 week=4045", "1 month=4046", "-", "&Alarm off=4113"}));
    EXPECT_EQ(prompt.current, 2);
    // Picking "1 hour" snoozes for one hour.
    EXPECT_EQ(prompt.pairs[4039 - ID_SNOOZE_FIRST].value, 1);
    EXPECT_EQ(prompt.pairs[4039 - ID_SNOOZE_FIRST].unit, 2);

    LoadedMenu standard(IDM_HIDE_FOR_MENU);
    SnoozeTable week;
    EXPECT_EQ(BuildHideForMenu(week, 4, 1, standard.Popup()), 0);
    EXPECT_EQ(Durations(standard.Popup()), (Texts{"5 minutes", "15 minutes", "1 hour", "3 hours", "12 hours", "1 day",
                                                  "3 days", "1 weekday", "1 week", "1 month"}));
    EXPECT_EQ(week.current, 8);
    EXPECT_EQ(week.pairs[10].unit, -1);

    // A unit no list knows leaves the menu as it was loaded.
    LoadedMenu unknown(IDM_HIDE_FOR_MENU);
    SnoozeTable untouched;
    untouched.current = 4;
    EXPECT_EQ(BuildHideForMenu(untouched, 9, 1, unknown.Popup()), 1);
    EXPECT_EQ(untouched.current, 4);
    EXPECT_EQ(GetMenuItemCount(unknown.Popup()), 15);
}
