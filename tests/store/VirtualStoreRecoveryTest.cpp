#include <windows.h>

#include <string>

#include "foundation/FolderTree.h"
#include "foundation/StartupValues.h"
#include "store/VirtualStoreRecovery.h"
#include "support/InFolder.h"

namespace {
class VirtualStoreRecovery : public InFolder {
protected:
    void SetUp() override
    {
        StartupValues& values = GetStartupValues();
        m_previous = values;
        wsprintfA(values.userName, "qnvstest%lu", GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryA(File("Program Files").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(File("Program Files\\Quillnet").c_str(), nullptr));
        lstrcpyA(values.programFolder, File("Program Files\\Quillnet").c_str());
        m_store = VirtualStoreFolder();
        std::string path;
        for (size_t at = m_store.find('\\'); at != std::string::npos; at = m_store.find('\\', at + 1))
            CreateDirectoryA(m_store.substr(0, at).c_str(), nullptr);
        CreateDirectoryA(m_store.c_str(), nullptr);
        CreateDirectoryA((m_store + "\\BACKUP").c_str(), nullptr);
        WriteWholeFile(m_store + "\\notes.qpd", "redirected table");
        WriteWholeFile(m_store + "\\notes.qps", "redirected memo");
        WriteWholeFile(m_store + "\\list.ql", "redirected list");
        WriteWholeFile(m_store + "\\readme.txt", "other");
        WriteWholeFile(m_store + "\\BACKUP\\monday.qpk", "backup");
    }
    void TearDown() override
    {
        DeleteDirectoryTree(m_store.c_str());
        GetStartupValues() = m_previous;
    }

    std::string Program(const std::string& name) { return File("Program Files\\Quillnet\\" + name); }

    StartupValues m_previous;
    std::string m_store;
};
}

TEST_F(VirtualStoreRecovery, RedirectedTablesAndBackupsComeBackAndTheCopyIsDeleted)
{
    RecoverVirtualStoreData(false);
    EXPECT_EQ(ReadWholeFile(Program("notes.qpd")), "redirected table");
    EXPECT_EQ(ReadWholeFile(Program("notes.qps")), "redirected memo");
    EXPECT_EQ(ReadWholeFile(Program("list.ql")), "redirected list");
    EXPECT_EQ(ReadWholeFile(Program("BACKUP\\monday.qpk")), "backup");
    EXPECT_FALSE(FileExists(Program("readme.txt")));
    EXPECT_FALSE(FileExists(m_store));
}

TEST_F(VirtualStoreRecovery, AStaleCopyIsOnlyDeleted)
{
    RecoverVirtualStoreData(true);
    EXPECT_FALSE(FileExists(Program("notes.qpd")));
    EXPECT_FALSE(FileExists(m_store));
}
