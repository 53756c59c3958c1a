// A column title that a hand-edited noteman.QPD gives "]]>" and "<" reads
// back unchanged on the real program, after the Note Manager's close has
// written the file and after a restart.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "notemanager/NoteManagerDriving.h"
#include "notemanager/NoteManagerFile.h"
#include "support/ListViewDriving.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
const int kTitleColumn = 1;
const char kTitle[] = "Due <soon> ]]> x";
// As a CDATA text of the file holds it: "]]>" changed so that the section goes on.
const char kTitleElement[] = "<text><![CDATA[Due <soon> ]`> x]]></text>";

// The file's column title "Title" (plain or in CDATA) given another title.
void RetitleColumn(const std::string& path)
{
    std::string text = ReadWholeFile(path);
    for (const std::string element : {"<text>Title</text>", "<text><![CDATA[Title]]></text>"}) {
        const size_t at = text.find(element);
        if (at != std::string::npos)
            text.replace(at, element.size(), kTitleElement);
    }
    ASSERT_NE(text.find(kTitleElement), std::string::npos);
    WriteWholeFile(path, text);
}

std::string StoredTitle(const std::string& path, size_t& boxes)
{
    MessageBoxRecorder recorder;
    CRecordList<CNoteManagerOptions> options;
    CRecordList<CNoteGroup> groups;
    CRecordList<CGroupNotePair> pairs;
    CNoteManagerOptions current;
    SetNoteManagerDefaults(current);
    LoadNoteManagerFile(path.c_str(), {options, groups, pairs}, current, 1);
    boxes = recorder.Count();
    return current.columns[kTitleColumn].title;
}

}

TEST(NoteManagerColumnTitle, AHandEditedTitleWithCdataEndAndAngleBracketsOutlivesASaveAndARestart)
{
    ProgramInstall install("nmtitle");
    install.AddInstalledDataFiles();
    StoreTestNotes(install, {{"A note"}});
    WriteGroupsFile(install, {}, {});
    const std::string path = install.File("noteman.QPD");
    RetitleColumn(path);

    for (int run = 0; run < 2; ++run) {
        RunningProgram program(install, "");
        const DWORD process = program.ProcessId();
        NoteManagerWindow manager(process);
        ASSERT_NE(manager.OpenFromTray(program), nullptr) << "run " << run;
        EXPECT_FALSE(ProgramBoxShown(process)) << "run " << run;
        EXPECT_EQ(ListColumnTitle(process, manager.List(), kTitleColumn), kTitle) << "run " << run;
        if (run == 0) {
            EXPECT_TRUE(SaveScreenshotOf(manager.Window(), "note-manager-column-title"));
        }
        // The Note Manager's close writes the file.
        ASSERT_TRUE(manager.Close());
        size_t boxes = 0;
        EXPECT_EQ(StoredTitle(path, boxes), kTitle) << "run " << run;
        EXPECT_EQ(boxes, 0u) << "run " << run;
        EXPECT_NE(ReadWholeFile(path).find(kTitleElement), std::string::npos) << "run " << run;
        CloseProgram(install, program);
    }
    EXPECT_FALSE(FileExists(install.File("error.txt"))) << ReadWholeFile(install.File("error.txt"));
}
