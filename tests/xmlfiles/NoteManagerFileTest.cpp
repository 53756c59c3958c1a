// noteman.QPD written and read back as the program does at its start and
// after a restore: the standard groups without a file, the options of every
// user, the groups with their hotkeys and the memberships.
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/bytes/GenericException.h"
#include "notemanager/NoteManagerFile.h"
#include "support/CurrentFolder.h"
#include "support/HeldFile.h"
#include "support/TempFolder.h"
#include "support/bytes/MessageBoxRecorder.h"
#include "support/bytes/Occurrences.h"

namespace {
struct Lists {
    CRecordList<CNoteManagerOptions> options;
    CRecordList<CNoteGroup> groups;
    CRecordList<CGroupNotePair> pairs;
    CNoteManagerOptions current;
    Lists() { SetNoteManagerDefaults(current); }
    NoteManagerLists View() { return {options, groups, pairs}; }
    void Load(const std::string& path, DWORD user)
    {
        LoadNoteManagerFile(path.c_str(), View(), current, user);
    }
};

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// The notes of the memberships in list order.
std::vector<DWORD> NotesOf(const CRecordList<CGroupNotePair>& pairs)
{
    std::vector<DWORD> notes;
    for (auto* node = pairs.GetFirst(); node; node = node->next)
        notes.push_back(node->record.noteID);
    return notes;
}
}

TEST(NoteManagerFile, WithoutAFileTheStandardGroupsAndOptionsThenASaveAndReloadsKeepThem)
{
    TempFolder folder("noteman");
    const std::string path = folder.File("noteman.QPD");
    MessageBoxRecorder boxes;
    Lists lists;
    lists.Load(path, 5);
    const char* const names[] = {"All (except Deleted)", "Deleted", "None", "Business",
                                 "Personal", "References", "Reminders", "Urgent"};
    DWORD id = 0;
    for (auto* node = lists.groups.GetFirst(); node; node = node->next, ++id) {
        ASSERT_LT(id, 8u);
        EXPECT_EQ(node->record.id, id);
        EXPECT_STREQ(node->record.name, names[id]);
        EXPECT_STREQ(node->record.editable, id < 3 ? "0" : "1");
        EXPECT_EQ(node->record.hotkey_ifAllow, 0u);
        EXPECT_EQ(node->record.hotkey_ctrl, 0u);
        EXPECT_EQ(node->record.hotkey_alt, 1u);
        EXPECT_EQ(node->record.hotkey_shift, 1u);
        EXPECT_EQ(node->record.hotkey_key, static_cast<DWORD>('G'));
    }
    EXPECT_EQ(id, 8u);
    ASSERT_EQ(lists.options.GetCount(), 1u);
    EXPECT_EQ(lists.current.userID, 5u);
    EXPECT_STREQ(lists.current.columns[7].title, "Size");
    EXPECT_EQ(lists.current.columns[7].displayed, 1u);
    EXPECT_EQ(boxes.Count(), 0u);

    // A second user, a group with an allowed hotkey and a tricky name, and
    // two memberships.
    CNoteManagerOptions other = lists.current;
    other.userID = 9;
    other.recordKey = 9;
    other.dialogWidth = 640;
    other.paintHiddenBackColor = 0xEDEDDC;
    lists.options.AddToTail(other);
    for (auto* node = lists.groups.GetFirst(); node; node = node->next) {
        if (node->record.id == 5) {
            node->record.hotkey_ifAllow = 1;
            node->record.hotkey_ctrl = 1;
            node->record.hotkey_key = 'K';
            lstrcpyA(node->record.name, "<A&B> ]]> x");
        }
    }
    lists.pairs.AddToTail({0, 3, 101});
    lists.pairs.AddToTail({1, 5, 102});
    SaveNoteManagerXml(path.c_str(), lists.View());

    const std::string text = ReadWholeFile(path);
    EXPECT_EQ(text.rfind("<?xml version='1.0' encoding='Windows-1252' standalone='yes'?>\r\n<content>\r\n", 0), 0u);
    EXPECT_EQ(Occurrences(text, "<column>"), 14u);
    EXPECT_NE(text.find("   <options>\r\n      <userID>5</userID>\r\n"), std::string::npos);
    EXPECT_NE(text.find("      <column>\r\n         <id>0</id>\r\n"), std::string::npos);
    EXPECT_EQ(text.find("Size"), std::string::npos);
    EXPECT_NE(text.find("<text><![CDATA[Title]]></text>"), std::string::npos);
    EXPECT_NE(text.find("<name><![CDATA[<A&B> ]`> x]]></name>"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 12), "</content>\r\n");

    Lists reloaded;
    reloaded.Load(path, 5);
    EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
    // Each record read goes to the front: the order turns round.
    ASSERT_EQ(reloaded.options.GetCount(), 2u);
    EXPECT_EQ(reloaded.options.GetFirst()->record.userID, 9u);
    EXPECT_EQ(reloaded.options.GetFirst()->record.dialogWidth, 640);
    EXPECT_EQ(reloaded.options.GetFirst()->record.paintHiddenBackColor, 0xEDEDDCu);
    EXPECT_EQ(reloaded.current.userID, 5u);
    const CNoteManagerColumn& size = reloaded.current.columns[7];
    EXPECT_STREQ(size.title, "Size");
    EXPECT_EQ(size.displayed, 0u);
    EXPECT_EQ(size.position, 7);
    EXPECT_EQ(size.width, 60u);
    EXPECT_STREQ(reloaded.current.columns[2].title, "Text");
    EXPECT_EQ(reloaded.current.columns[2].width, 160u);
    ASSERT_EQ(reloaded.pairs.GetCount(), 2u);
    EXPECT_EQ(reloaded.pairs.GetFirst()->record.noteID, 102u);
    EXPECT_EQ(reloaded.pairs.GetLast()->record.noteID, 101u);
    auto* group5 = reloaded.groups.FindByName("<A&B> ]]> x");
    ASSERT_NE(group5, nullptr);
    EXPECT_EQ(group5->record.id, 5u);
    EXPECT_EQ(group5->record.hotkey_ifAllow, 1u);
    EXPECT_EQ(group5->record.hotkey_ctrl, 1u);
    EXPECT_EQ(group5->record.hotkey_key, static_cast<DWORD>('K'));
    EXPECT_STREQ(group5->record.editable, "1");
    EXPECT_EQ(reloaded.groups.GetCount(), 8u);

    // A second reload into the same lists changes nothing: they are emptied first.
    reloaded.Load(path, 5);
    EXPECT_EQ(reloaded.options.GetCount(), 2u);
    EXPECT_EQ(reloaded.groups.GetCount(), 8u);
    EXPECT_EQ(reloaded.pairs.GetCount(), 2u);

    // Only the note's first membership goes.
    reloaded.pairs.AddToTail({7, 4, 102});
    EXPECT_EQ(RemoveNoteFromGroups(reloaded.pairs, 102), 1);
    EXPECT_EQ(reloaded.pairs.GetCount(), 2u);
    EXPECT_EQ(reloaded.pairs.GetFirst()->record.groupID, 3u);
    EXPECT_EQ(RemoveNoteFromGroups(reloaded.pairs, 555), 0);
}

// Entries without a key they need are skipped one by one and named in
// error.txt; everything after them is read. The file stays in place, with
// the entries read from it, until the next write; a copy goes aside first,
// and the user is told once, also when the same file is read again.
TEST(NoteManagerFile, ADamagedEntryIsSkippedAloneLoggedAndTheFileCopiedAsideOnce)
{
    TempFolder folder("nomankey");
    CurrentFolder data(folder.Path());
    const std::string path = folder.File("noteman.QPD");
    std::string column = "<column><id>1</id><ifDisplayed>0</ifDisplayed><position>3</position><text>Title</text>"
                         "<width>99</width></column>";
    std::string stranger = "<column><id>12</id><ifDisplayed>1</ifDisplayed><position>1</position><text>X</text>"
                           "<width>1</width></column>";
    std::string widthless = "<column><id>2</id><ifDisplayed>1</ifDisplayed><position>2</position><text>T</text>"
                            "</column>";
    std::string keys;
    for (const char* key : {"sortColumn", "sortOrder", "dialogWidth", "dialogHeight", "dialogXLeft", "dialogYLeft",
                            "dialogMaximized", "paintTTBackColors", "paintHiddenBackgnd", "paintParkedBackgnd",
                            "paintHiddenBackColor", "paintParkedBackColor", "boldTitleText", "saveFilterCriteria",
                            "stayOnTop", "adaptiveDateTime"})
        keys += std::string("<") + key + ">2</" + key + ">";
    const std::string file =
        "<?xml version='1.0' encoding='Windows-1252' standalone='yes'?>\r\n<content>"
        "<options><userID>3</userID>" + keys + column + stranger + widthless + "</options>"
        "<options><userID>4</userID><sortColumn>1</sortColumn></options>"
        "<options><userID>6</userID>" + keys + column + "</options>"
        "<group><id>0</id><name><![CDATA[All (except Deleted)]]></name></group>"
        "<group><id>1</id></group>"
        "<group><name><![CDATA[Idless]]></name></group>"
        "<group><id>9</id><name><![CDATA[Travel]]></name><hotkey_ifAllow>1</hotkey_ifAllow><hotkey_ctrl>1"
        "</hotkey_ctrl><hotkey_alt>0</hotkey_alt><hotkey_shift>0</hotkey_shift><hotkey_key>84</hotkey_key></group>"
        "<noteAndGroup><groupID>9</groupID></noteAndGroup>"
        "<noteAndGroup><groupID>9</groupID><noteID>101</noteID></noteAndGroup>"
        "</content>\r\n";
    WriteFile(path, file);
    MessageBoxRecorder boxes;
    Lists lists;
    lists.Load(path, 4);
    ASSERT_EQ(boxes.Count(), 1u) << "told once for the whole file";
    EXPECT_EQ(boxes.Boxes()[0].flags & 0xF0, static_cast<unsigned>(kMbIconExclamation));
    EXPECT_NE(boxes.LastText().find("noteman.QPD holds 5 entries that cannot be read; error.txt names them."),
              std::string::npos)
        << boxes.LastText();
    EXPECT_NE(boxes.LastText().find("noteman.QPD has been kept as \"noteman.QPD.bad\" before it is written again."),
              std::string::npos)
        << boxes.LastText();
    EXPECT_EQ(ReadWholeFile(path + ".bad"), file);
    EXPECT_EQ(ReadWholeFile(path), file) << "the file stays until the next write";
    const std::string log = ReadWholeFile(folder.File("error.txt"));
    for (const char* entry : {"noteman.QPD: column 3 of options 1 (userID \"3\") was skipped. ",
                              "noteman.QPD: options 2 (userID \"4\") was skipped. ",
                              "noteman.QPD: group 2 (id \"1\") was skipped. ",
                              "noteman.QPD: group 3 (name \"Idless\") was skipped. ",
                              "noteman.QPD: noteAndGroup 1 (groupID \"9\") was skipped. ",
                              "\"content noteAndGroup noteID\""})
        EXPECT_NE(log.find(entry), std::string::npos) << entry << " in " << log;

    // The groups after the damaged ones are read, hotkeys and all.
    ASSERT_EQ(lists.groups.GetCount(), 2u);
    EXPECT_STREQ(lists.groups.GetFirst()->record.name, "All (except Deleted)");
    const CNoteGroup& travel = lists.groups.GetLast()->record;
    EXPECT_STREQ(travel.name, "Travel");
    EXPECT_EQ(travel.id, 9u);
    EXPECT_EQ(travel.hotkey_ifAllow, 1u);
    EXPECT_EQ(travel.hotkey_key, 84u);
    ASSERT_EQ(lists.pairs.GetCount(), 1u);
    EXPECT_EQ(lists.pairs.GetFirst()->record.noteID, 101u);
    // User 3's record stays, its column 1 read, the stranger column 12 and the
    // column without its width passed over; user 4 is missing its keys and
    // gets the standard record; user 6 after it is read.
    ASSERT_EQ(lists.options.GetCount(), 3u);
    const CNoteManagerOptions& three = lists.options.GetLast()->record;
    EXPECT_EQ(three.userID, 3u);
    EXPECT_EQ(three.dialogWidth, 2);
    EXPECT_EQ(three.columns[1].width, 99u);
    EXPECT_EQ(three.columns[1].position, 3);
    EXPECT_STREQ(three.columns[2].title, "Text");
    EXPECT_STREQ(three.columns[7].title, "Size");
    EXPECT_EQ(three.columns[7].displayed, 0u);
    EXPECT_EQ(lists.options.GetLast()->previous->record.userID, 6u);
    EXPECT_EQ(lists.current.userID, 4u);
    EXPECT_EQ(lists.current.columns[7].displayed, 1u);

    // The same file read again is not told again nor copied twice.
    Lists again;
    again.Load(path, 4);
    EXPECT_EQ(boxes.Count(), 1u) << boxes.LastText();
    EXPECT_FALSE(FileExists(path + ".bad2"));
    EXPECT_EQ(again.groups.GetCount(), 2u);

    // The next write holds every entry read, and reads without a word.
    SaveNoteManagerXml(path.c_str(), again.View());
    Lists written;
    written.Load(path, 4);
    EXPECT_EQ(boxes.Count(), 1u) << boxes.LastText();
    EXPECT_EQ(written.groups.GetCount(), 2u);
    EXPECT_EQ(written.pairs.GetCount(), 1u);
    EXPECT_EQ(written.options.GetCount(), 3u);
    EXPECT_EQ(ReadWholeFile(path + ".bad"), file);
}

TEST(NoteManagerFile, AColumnTitleWithCdataEndAndAngleBracketsReadsBackAsItWas)
{
    TempFolder folder("nomantitle");
    const std::string path = folder.File("noteman.QPD");
    MessageBoxRecorder boxes;
    Lists lists;
    lists.Load(path, 5);
    lstrcpyA(lists.options.GetFirst()->record.columns[1].title, "Due <soon> ]]> x");
    SaveNoteManagerXml(path.c_str(), lists.View());
    EXPECT_NE(ReadWholeFile(path).find("<text><![CDATA[Due <soon> ]`> x]]></text>"), std::string::npos);

    Lists reloaded;
    reloaded.Load(path, 5);
    EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
    EXPECT_STREQ(reloaded.current.columns[1].title, "Due <soon> ]]> x");
    // A file of an older version, the titles plain, reads as it did.
    std::string older = ReadWholeFile(path);
    const std::string cdataTitle = "<text><![CDATA[Text]]></text>";
    ASSERT_NE(older.find(cdataTitle), std::string::npos);
    older.replace(older.find(cdataTitle), cdataTitle.size(), "<text>  Plain text  </text>");
    WriteFile(path, older);
    reloaded.Load(path, 5);
    EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
    EXPECT_STREQ(reloaded.current.columns[2].title, "Plain text");
}

TEST(NoteManagerFile, ADamagedFileIsKeptAsideOnceAndTheStandardGroupsAndOptionsStandIn)
{
    TempFolder folder("nomanbad");
    CurrentFolder data(folder.Path());
    const std::string path = folder.File("noteman.QPD");
    MessageBoxRecorder boxes;
    Lists lists;
    lists.Load(path, 5);
    CNoteGroup travel = lists.groups.GetFirst()->record;
    travel.id = 8;
    lstrcpyA(travel.name, "Travel");
    lists.groups.AddToTail(travel);
    lists.pairs.AddToTail({0, 8, 101});
    lists.options.GetFirst()->record.dialogWidth = 640;
    SaveNoteManagerXml(path.c_str(), lists.View());
    // One byte near the end: the root's end tag no longer closes.
    std::string damaged = ReadWholeFile(path);
    damaged[damaged.rfind('>')] = '!';
    WriteFile(path, damaged);
    WriteFile(path + ".bad", "an earlier damaged file");

    Lists loaded;
    loaded.Load(path, 5);
    ASSERT_EQ(boxes.Count(), 1u) << "the file is read once";
    EXPECT_EQ(boxes.Boxes()[0].flags & 0xF0, static_cast<unsigned>(kMbIconHand));
    EXPECT_NE(boxes.LastText().find("noteman.QPD has been kept as \"noteman.QPD.bad2\""), std::string::npos)
        << boxes.LastText();
    EXPECT_NE(ReadWholeFile(folder.File("error.txt")).find("\"noteman.QPD.bad2\""), std::string::npos);
    EXPECT_EQ(ReadWholeFile(path + ".bad2"), damaged);
    EXPECT_EQ(ReadWholeFile(path + ".bad"), "an earlier damaged file");
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(loaded.groups.GetCount(), 8u);
    EXPECT_STREQ(loaded.groups.GetFirst()->record.name, "All (except Deleted)");
    EXPECT_EQ(loaded.pairs.GetCount(), 0u);
    EXPECT_EQ(loaded.current.userID, 5u);
    EXPECT_STREQ(loaded.current.columns[7].title, "Size");

    // What is written next is the standard file, and it reads without a word.
    SaveNoteManagerXml(path.c_str(), loaded.View());
    boxes.Clear();
    Lists again;
    again.Load(path, 5);
    EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
    EXPECT_EQ(again.groups.GetCount(), 8u);
    EXPECT_EQ(ReadWholeFile(path + ".bad2"), damaged);
    EXPECT_FALSE(FileExists(path + ".bad3"));

    // With no free name left, another damaged file stays where it is and is
    // not written over until a name is free again.
    damaged.insert(damaged.find("<group>"), "<group>");
    WriteFile(path, damaged);
    for (int n = 3; n <= 99; ++n)
        WriteFile(path + ".bad" + std::to_string(n), "taken");
    boxes.Clear();
    Lists unkept;
    unkept.Load(path, 5);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_NE(boxes.LastText().find("noteman.QPD could not be kept aside"), std::string::npos) << boxes.LastText();
    EXPECT_EQ(unkept.groups.GetCount(), 8u);
    EXPECT_THROW(SaveNoteManagerXml(path.c_str(), unkept.View()), CGenericException);
    EXPECT_EQ(ReadWholeFile(path), damaged);
    ASSERT_TRUE(DeleteFileA((path + ".bad40").c_str()));
    SaveNoteManagerXml(path.c_str(), unkept.View());
    EXPECT_EQ(ReadWholeFile(path + ".bad40"), damaged);
    EXPECT_NE(ReadWholeFile(path), damaged);
}

// A membership whose group was not read would go to the next group made, which
// takes the free id: it is skipped and logged, kept only in the copy aside.
// The fixed groups count as read even when the file lacks them.
TEST(NoteManagerFile, AMembershipOfAGroupNotReadIsSkippedAndNoGroupMadeLaterTakesItsNotes)
{
    TempFolder folder("nomanpair");
    CurrentFolder data(folder.Path());
    const std::string path = folder.File("noteman.QPD");
    auto group = [](const char* id, const char* name) {
        return std::string("<group>") + (id ? std::string("<id>") + id + "</id>" : "") +
               (name ? std::string("<name><![CDATA[") + name + "]]></name>" : "") + "</group>";
    };
    auto pair = [](int groupId, int noteId) {
        return "<noteAndGroup><groupID>" + std::to_string(groupId) + "</groupID><noteID>" + std::to_string(noteId) +
               "</noteID></noteAndGroup>";
    };
    const std::string file = "<?xml version='1.0' encoding='Windows-1252' standalone='yes'?>\r\n<content>" +
                             group("0", "All (except Deleted)") + group("2", "None") + group("9", "Work") +
                             group("10", nullptr) + pair(10, 201) + pair(9, 203) + pair(10, 202) + pair(1, 204) +
                             pair(11, 205) + "</content>\r\n";
    WriteFile(path, file);
    MessageBoxRecorder boxes;
    Lists lists;
    lists.Load(path, 1);
    ASSERT_EQ(boxes.Count(), 1u) << "told once for the whole file";
    EXPECT_NE(boxes.LastText().find("noteman.QPD holds 4 entries that cannot be read"), std::string::npos)
        << boxes.LastText();
    EXPECT_EQ(ReadWholeFile(path + ".bad"), file);
    const std::string log = ReadWholeFile(folder.File("error.txt"));
    for (const char* entry : {"noteman.QPD: noteAndGroup 1 (groupID \"10\", noteID \"201\") was skipped. "
                              "No group with the id 10 was read.",
                              "noteman.QPD: noteAndGroup 3 (groupID \"10\", noteID \"202\") was skipped. ",
                              "noteman.QPD: noteAndGroup 5 (groupID \"11\", noteID \"205\") was skipped. "})
        EXPECT_NE(log.find(entry), std::string::npos) << entry << " in " << log;
    // The deleted notes' group counts as read, though the file lacks it.
    EXPECT_EQ(NotesOf(lists.pairs), (std::vector<DWORD>{204, 203}));

    // The user makes "Holidays": it takes the id the nameless group left, and
    // none of that group's notes, through a write and a new read.
    const long id = NextNewGroupId(lists.groups);
    ASSERT_EQ(id, 10);
    CNoteGroup holidays;
    ResetNoteGroup(holidays);
    holidays.id = static_cast<DWORD>(id);
    lstrcpyA(holidays.name, "Holidays");
    lists.groups.AddToTail(holidays);
    SaveNoteManagerXml(path.c_str(), lists.View());
    boxes.Clear();
    Lists reloaded;
    reloaded.Load(path, 1);
    EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
    ASSERT_NE(reloaded.groups.FindByName("Holidays"), nullptr);
    EXPECT_EQ(reloaded.groups.FindByName("Holidays")->record.id, 10u);
    for (auto* node = reloaded.pairs.GetFirst(); node; node = node->next)
        EXPECT_NE(node->record.groupID, 10u) << "note " << node->record.noteID << " joined Holidays";
    EXPECT_EQ(NotesOf(reloaded.pairs), (std::vector<DWORD>{203, 204}));
    EXPECT_EQ(ReadWholeFile(path + ".bad"), file);
}

// A damaged file held as a scanner holds it cannot be moved aside: it is
// copied aside at the first reading and the user told; read again while it
// is still held, it is neither copied nor told again.
TEST(NoteManagerFile, AHeldDamagedFileReadAgainIsCopiedAsideAndToldOnce)
{
    TempFolder folder("nomanheld");
    CurrentFolder data(folder.Path());
    const std::string path = folder.File("noteman.QPD");
    const std::string damaged = "<?xml version='1.0' encoding='Windows-1252' standalone='yes'?>\r\n<content><group>";
    WriteFile(path, damaged);
    MessageBoxRecorder boxes;
    {
        HeldFile holder(path, kHolderSharesReadWrite);
        ASSERT_TRUE(holder.Held());
        Lists first;
        first.Load(path, 1);
        Lists second;
        second.Load(path, 1);
        EXPECT_EQ(second.groups.GetCount(), 8u) << "the standard groups stand in";
    }
    ASSERT_FALSE(boxes.Boxes().empty());
    EXPECT_EQ(boxes.Count(), 1u) << boxes.LastText();
    EXPECT_NE(boxes.Boxes().at(0).text.find("noteman.QPD has been kept as \"noteman.QPD.bad\""), std::string::npos)
        << boxes.LastText();
    EXPECT_EQ(ReadWholeFile(path + ".bad"), damaged);
    EXPECT_FALSE(FileExists(path + ".bad2"));
    EXPECT_EQ(ReadWholeFile(path), damaged) << "the held file stays where it is";
}

// A membership names its note by the record; 9999 and 9988 mark notes never
// stored, which an earlier version wrote as members. Such a membership is
// dropped without a word when the file is read, and none is ever written,
// so the next new note is in no group it never joined.
TEST(NoteManagerFile, AMembershipOfANoteNeverStoredIsDroppedWhenReadAndNeverWritten)
{
    TempFolder folder("nomanunstored");
    CurrentFolder data(folder.Path());
    const std::string path = folder.File("noteman.QPD");
    auto pair = [](int groupId, int noteId) {
        return "<noteAndGroup><groupID>" + std::to_string(groupId) + "</groupID><noteID>" + std::to_string(noteId) +
               "</noteID></noteAndGroup>";
    };
    const std::string file = "<?xml version='1.0' encoding='Windows-1252' standalone='yes'?>\r\n<content>"
                             "<group><id>3</id><name><![CDATA[Business]]></name></group>"
                             "<group><id>4</id><name><![CDATA[Personal]]></name></group>" +
                             pair(3, 9999) + pair(3, 12) + pair(4, 9988) + pair(4, 13) + "</content>\r\n";
    WriteFile(path, file);
    MessageBoxRecorder boxes;
    Lists lists;
    lists.Load(path, 1);
    EXPECT_EQ(NotesOf(lists.pairs), (std::vector<DWORD>{13, 12}));
    EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
    EXPECT_FALSE(FileExists(path + ".bad"));
    EXPECT_FALSE(FileExists(folder.File("error.txt")));

    // Lists that hold such a membership all the same write only the others.
    lists.pairs.AddToTail({9, 4, 9999});
    lists.pairs.AddToTail({10, 3, 9988});
    SaveNoteManagerXml(path.c_str(), lists.View());
    const std::string written = ReadWholeFile(path);
    EXPECT_EQ(Occurrences(written, "<noteAndGroup>"), 2u) << written;
    EXPECT_EQ(written.find("<noteID>99"), std::string::npos) << written;
    Lists reloaded;
    reloaded.Load(path, 1);
    EXPECT_EQ(NotesOf(reloaded.pairs), (std::vector<DWORD>{12, 13}));
    EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
}
