// apps.QPD written and read back with a real icon, and a writer stopped dead
// over and over while it saves: the file is always the old one or the new one.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "notemanager/NoteManagerFile.h"
#include "noteprops/AppAssociationsFile.h"
#include "support/LowSpaceTaken.h"
#include "support/ProgramDriver.h"
#include "support/TempFolder.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
const char kStopFolderVariable[] = "QN_APPS_STOP_FOLDER";

// The icon's pixels drawn on white.
std::vector<COLORREF> Pixels(HIMAGELIST icons, int index)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 16, 16};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(icons, index, dc, 0, 0, ILD_TRANSPARENT);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// A 16 x 16 icon in four colours, a quarter each.
HICON QuarterIcon()
{
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateCompatibleBitmap(screen, 16, 16);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, colour);
    const COLORREF colours[] = {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 220), RGB(250, 200, 0)};
    for (int i = 0; i < 4; ++i) {
        RECT part{(i % 2) * 8, (i / 2) * 8, (i % 2) * 8 + 8, (i / 2) * 8 + 8};
        HBRUSH brush = CreateSolidBrush(colours[i]);
        FillRect(dc, &part, brush);
        DeleteObject(brush);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    std::vector<BYTE> maskBits(16 * 2, 0);
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, maskBits.data());
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    return icon;
}

CAppAssociation Association(DWORD id, DWORD note, const char* title, int icon)
{
    CAppAssociation association;
    association.id = id;
    association.noteId = note;
    association.iconIndex = icon;
    lstrcpynA(association.application, title, sizeof association.application);
    return association;
}

std::string Variable(const char* name)
{
    char value[MAX_PATH] = "";
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? value : "";
}

CRecordList<CGroupNotePair>& Pairs(int n)
{
    static CRecordList<CGroupNotePair> pairs;
    pairs.RemoveAll();
    for (int i = 0; i < n; ++i)
        pairs.AddToTail({static_cast<DWORD>(i), 3, static_cast<DWORD>(100 + i)});
    return pairs;
}
}

TEST(AppAssociationsFile, AssociationsAndTheirIconsComeBackInReverseOrder)
{
    TempFolder folder("apps");
    const std::string path = folder.File("apps.QPD");
    MessageBoxRecorder boxes;
    HIMAGELIST icons = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 1);
    HICON icon = QuarterIcon();
    ASSERT_NE(icon, nullptr);
    const int index = ImageList_AddIcon(icons, icon);
    DestroyIcon(icon);
    const std::vector<COLORREF> before = Pixels(icons, index);
    CRecordList<CAppAssociation> list;
    list.AddToTail(Association(4, 10, "Editor - a.txt", index));
    list.AddToTail(Association(7, 11, "Odd ]]> <title> & more", -1));
    list.AddToTail(Association(9, 12, "", index));
    SaveAppAssociations(path.c_str(), list, icons);
    const std::string text = ReadWholeFile(path);
    EXPECT_EQ(text.rfind("<?xml version='1.0' encoding='Windows-1252' standalone='yes'?>\r\n"
                         "<associateNoteAndApplications>\r\n   <association>\r\n"
                         "      <application><![CDATA[Editor - a.txt]]></application>\r\n"
                         "      <noteID>10</noteID>\r\n      <icon>AAABAA",
                         0),
              0u)
        << text.substr(0, 300);
    EXPECT_NE(text.find("<application></application>"), std::string::npos);

    HIMAGELIST loadedIcons = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 1);
    CRecordList<CAppAssociation> loaded;
    loaded.AddToTail(Association(50, 1, "left from before", -1));
    EXPECT_EQ(LoadAppAssociations(path.c_str(), loaded, loadedIcons), 1);
    EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
    ASSERT_EQ(loaded.GetCount(), 3u);
    auto* node = loaded.GetFirst();
    EXPECT_STREQ(node->record.application, "");
    EXPECT_EQ(node->record.id, 2u);
    EXPECT_EQ(node->record.noteId, 12u);
    node = node->next;
    EXPECT_STREQ(node->record.application, "Odd ]]> <title> & more");
    EXPECT_EQ(node->record.id, 1u);
    EXPECT_EQ(node->record.iconIndex, -1);
    node = node->next;
    EXPECT_STREQ(node->record.application, "Editor - a.txt");
    EXPECT_EQ(node->record.id, 0u);
    EXPECT_EQ(node->record.noteId, 10u);
    EXPECT_EQ(node->record.shown, 0u);
    ASSERT_GE(node->record.iconIndex, 0);
    EXPECT_EQ(Pixels(loadedIcons, node->record.iconIndex), before);

    // An icon text longer than either side keeps leaves the association without an icon.
    std::string huge = text;
    const size_t start = huge.find("<icon>") + 6;
    huge.insert(start, std::string(52000, 'A'));
    TempFolder other("appsbig");
    const std::string hugePath = other.File("apps.QPD");
    HANDLE file = CreateFileA(hugePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, huge.data(), static_cast<DWORD>(huge.size()), &written, nullptr);
    CloseHandle(file);
    EXPECT_EQ(LoadAppAssociations(hugePath.c_str(), loaded, loadedIcons), 1);
    ASSERT_EQ(loaded.GetCount(), 3u);
    EXPECT_EQ(loaded.GetLast()->record.iconIndex, -1);
    EXPECT_EQ(LoadAppAssociations(folder.File("none.QPD").c_str(), loaded, loadedIcons), 0);
    ImageList_Destroy(icons);
    ImageList_Destroy(loadedIcons);
}

// The child: saves the two files again and again, alternating between two
// versions, until the parent ends it.
TEST(AppAssociationsFile, DISABLED_ChildSavesUntilStopped)
{
    const std::string folder = Variable(kStopFolderVariable);
    ASSERT_FALSE(folder.empty());
    CRecordList<CNoteManagerOptions> options;
    // The memberships' group: without it a reading would skip them.
    CRecordList<CNoteGroup> groups;
    CNoteGroup business;
    ResetNoteGroup(business);
    business.id = 3;
    lstrcpyA(business.name, "Business");
    groups.AddToTail(business);
    CRecordList<CAppAssociation> apps;
    for (int round = 0; round < 100000; ++round) {
        const int n = round % 2 ? 40 : 3;
        apps.RemoveAll();
        for (int i = 0; i < n; ++i)
            apps.AddToTail(Association(static_cast<DWORD>(i), 100 + i, "Some window title", -1));
        SaveNoteManagerXml((folder + "\\noteman.QPD").c_str(), {options, groups, Pairs(n)});
        SaveAppAssociations((folder + "\\apps.QPD").c_str(), apps, nullptr);
    }
}

TEST(AppAssociationsFile, AWriterStoppedAtAnyMomentLeavesTheOldFileOrTheNew)
{
    TempFolder folder("appstop");
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof program);
    const std::string commandLine = std::string("\"") + program +
                                    "\" --gtest_filter=AppAssociationsFile.DISABLED_ChildSavesUntilStopped "
                                    "--gtest_also_run_disabled_tests";
    MessageBoxRecorder boxes;
    int stops = 0;
    int checked = 0;
    for (int attempt = 0; attempt < 12; ++attempt) {
        for (const char* name : {"apps.QPD", "noteman.QPD"})
            DeleteFileA(folder.File(name).c_str());
        SetEnvironmentVariableA(kStopFolderVariable, folder.Path().c_str());
        PROCESS_INFORMATION process{};
        std::string line = commandLine;
        const bool started = StartWithLowSpaceTaken(nullptr, &line[0], nullptr, process);
        SetEnvironmentVariableA(kStopFolderVariable, nullptr);
        ASSERT_TRUE(started);
        // Stopped after a different number of saves each time, somewhere in a
        // write: counted from the child's first saves, since a loaded machine
        // may take long to start it.
        WaitUntil([&] {
            return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0 ||
                   (FileExists(folder.File("apps.QPD")) && FileExists(folder.File("noteman.QPD")));
        }, 60000);
        const DWORD waited = WaitForSingleObject(process.hProcess, 37 * attempt);
        TerminateProcess(process.hProcess, 77);
        WaitForSingleObject(process.hProcess, 30000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        if (waited == WAIT_OBJECT_0)
            continue;
        ++stops;
        for (const char* name : {"apps.QPD", "noteman.QPD"}) {
            const std::string path = folder.File(name);
            if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
                continue;
            ++checked;
            const bool isApps = std::string(name) == "apps.QPD";
            CRecordList<CAppAssociation> list;
            CRecordList<CNoteManagerOptions> options;
            CRecordList<CNoteGroup> groups;
            CRecordList<CGroupNotePair> pairs;
            CNoteManagerOptions current;
            SetNoteManagerDefaults(current);
            if (isApps)
                LoadAppAssociations(path.c_str(), list, nullptr);
            else
                LoadNoteManagerFile(path.c_str(), {options, groups, pairs}, current, 1);
            const DWORD count = isApps ? list.GetCount() : pairs.GetCount();
            EXPECT_TRUE(count == 3 || count == 40) << name << " after stop " << attempt << ": " << count;
        }
        EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
    }
    EXPECT_GT(stops, 0);
    EXPECT_GT(checked, 0);
}
