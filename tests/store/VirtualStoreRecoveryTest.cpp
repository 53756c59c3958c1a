#include <windows.h>

#include <string>

#include "StoreFolder.h"
#include "foundation/FolderTree.h"
#include "store/VirtualStoreRecovery.h"

namespace {
class VirtualStoreRecovery : public StoreFolder {
protected:
    void SetUp() override
    {
        StartupValues& values = GetStartupValues();
        wsprintfA(values.userName, "qnvstest%lu", GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryA(File("Program Files").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(File("Program Files\\Quillnet").c_str(), nullptr));
        lstrcpyA(values.programFolder, File("Program Files\\Quillnet").c_str());
        m_store = VirtualStoreFolder();
    }
    void TearDown() override { DeleteDirectoryTree(m_store.c_str()); }

    // The copies the system made of what the program wrote into its folder.
    void FillStore()
    {
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

    std::string Program(const std::string& name) { return File("Program Files\\Quillnet\\" + name); }

    std::string m_store;
};
}

TEST_F(VirtualStoreRecovery, RedirectedTablesAndBackupsComeBackAndTheCopyIsDeletedAStaleOneOnly)
{
    FillStore();
    RecoverVirtualStoreData(true);
    EXPECT_FALSE(FileExists(Program("notes.qpd")));
    EXPECT_FALSE(FileExists(m_store));

    FillStore();
    RecoverVirtualStoreData(false);
    EXPECT_EQ(ReadWholeFile(Program("notes.qpd")), "redirected table");
    EXPECT_EQ(ReadWholeFile(Program("notes.qps")), "redirected memo");
    EXPECT_EQ(ReadWholeFile(Program("list.ql")), "redirected list");
    EXPECT_EQ(ReadWholeFile(Program("BACKUP\\monday.qpk")), "backup");
    EXPECT_FALSE(FileExists(Program("readme.txt")));
    EXPECT_FALSE(FileExists(m_store));
}
