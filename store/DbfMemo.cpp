// The memo-file operations of CDbfFile.
#include "store/DbfFile.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "foundation/CallbackGuard.h"
#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/WorkingCopy.h"
#include "foundation/bytes/MessageBoxes.h"
#include "store/FileStepRetries.h"
#include "store/bytes/MemoFile.h"

namespace {
std::atomic<bool> g_memoFreshStart{false};

// A memo file held for a load is read into memory up to this size.
const std::uint32_t kHeldMemoBytesInMemory = 64u * 1024 * 1024;

// The bytes of one memo read: the memo file held for a load, or the file
// opened for this read alone.
class CMemoRead {
public:
    CMemoRead(CByteStore* held, const std::string& memoPath) : m_store(held)
    {
        if (m_store)
            return;
        m_file.OpenShared(memoPath.c_str());
        m_fileStore.reset(new CFileByteStore(m_file));
        m_store = m_fileStore.get();
    }
    CByteStore& Store() { return *m_store; }

private:
    CByteStore* m_store;
    CGenericFile m_file;
    std::unique_ptr<CFileByteStore> m_fileStore;
};

const char kSaveLogPrefix[] = "SaveTextInMemoFile(): ";

// Keeps the text being saved in the error log when the save fails, so that
// it is not lost: one entry, written in one piece, so that no other report can
// split it or land on it.
void LogFailedSave(const char* errorText, const void* text, DWORD length)
{
    std::string entry = std::string(kSaveLogPrefix) + errorText + "\r\n";
    entry.append(static_cast<const char*>(text), length);
    entry += "\r\n\r\n";
    AppendBytesToFile(entry.data(), static_cast<DWORD>(entry.size()), "error.txt");
}
}

void SetMemoFreshStart(bool on)
{
    g_memoFreshStart = on;
}

bool IsMemoFreshStart()
{
    return g_memoFreshStart;
}

void CDbfFile::HoldMemoFileOpen()
{
    RunOperation("CDbfFile::HoldMemoFileOpen Unknown", [&] {
        if (m_heldMemoStore)
            return;
        m_heldMemo.OpenShared(m_memoPath.c_str());
        std::unique_ptr<CFileByteStore> file(new CFileByteStore(m_heldMemo));
        const std::uint32_t size = file->Size();
        if (size > kHeldMemoBytesInMemory) {
            m_heldMemoStore = std::move(file);
            return;
        }
        std::vector<unsigned char> bytes(size);
        if (size)
            file->Read(0, bytes.data(), size);
        file.reset();
        m_heldMemo.Close();
        m_heldMemoStore.reset(new CMemoryByteStore(std::move(bytes)));
    });
}

bool CDbfFile::GetSizeOfMemoField(DWORD block, DWORD& offset, DWORD& fileSize, DWORD& textLength)
{
    return RunOperation("CDbfFile::GetSizeOfMemoField Unknown", [&] {
        CMemoRead read(m_heldMemoStore.get(), m_memoPath);
        MemoLocation location;
        bool found = CMemoFile(read.Store(), m_memoPath.c_str()).Locate(block, location);
        offset = location.offset;
        fileSize = location.fileSize;
        textLength = location.textLength;
        return found;
    });
}

void CDbfFile::ReadMemoField(char* buffer, DWORD capacity, DWORD block)
{
    try {
        const char tooLong[] = "CDbfFile::ReadMemoField: the memo text is longer than its buffer";
        if (!buffer || capacity == 0)
            throw CGenericException(tooLong);
        // Settings memos are enciphered, whatever folder the settings table is in.
        bool decipher = RecordsEnciphered() && m_group == TableGroup::kConfig;
        CMemoRead read(m_heldMemoStore.get(), m_memoPath);
        // The text goes straight into the buffer, with room for its terminator.
        std::uint32_t length = CMemoFile(read.Store(), m_memoPath.c_str())
                                   .ReadText(block, buffer, capacity - 1, tooLong,
                                             decipher ? &GetSettingsMemoKey() : nullptr);
        buffer[length] = '\0';
    } catch (const CGenericException& e) {
        std::string entry = std::string("CDbfFile::ReadMemoField exception 1 raised: \"") + e.GetErrorText() + "\"\r\n";
        AppendTextToFile(entry.c_str(), "error.txt");
        throw;
    } catch (...) {
        AppendTextToFile("CDbfFile::ReadMemoField unknown exception  raised \r\n", "error.txt");
        throw CGenericException("CDbfFile::ReadMemoField Unknown");
    }
}

void CDbfFile::AlterSponsorInfo(void* buffer, DWORD capacity, DWORD block, const CRecordCipher& key, const char* mode)
{
    RunOperation("CDbfFile::AlterSponsorInfo Unknown", [&] {
        std::string memoPath = FolderOf(m_fileName) + DataName::kSettingsMemo;
        CGenericFile file;
        file.OpenExclusive(memoPath.c_str());
        CFileByteStore store(file);
        std::string text = CMemoFile(store, memoPath.c_str()).ReadText(block);
        if (!buffer || text.size() > capacity)
            throw CGenericException("CDbfFile::AlterSponsorInfo: the memo text is longer than its buffer");
        unsigned char* bytes = static_cast<unsigned char*>(buffer);
        std::memcpy(bytes, text.data(), text.size());
        if (mode && std::strcmp(mode, "ENCRYPT") == 0)
            key.Encrypt(bytes, text.size());
        else if (mode && std::strcmp(mode, "DECRYPT") == 0)
            key.Decrypt(bytes, text.size());
    });
}

DWORD CDbfFile::SaveTextInMemoFile(const void* text, DWORD length)
{
    if (m_group == TableGroup::kConfig) {
        ShowErrorMessage(nullptr, "Saving memo field into config.qpd is not allowed", ProgramTitle);
        return 0;
    }
    try {
        return WriteMemo(text, length);
    } catch (const CGenericException& e) {
        // Every note that could not be stored leaves its text here, also when
        // its step was given up earlier in the work under way: that costs
        // no try, and the text may be found nowhere else.
        LogFailedSave(e.GetErrorText(), text, length);
        throw;
    } catch (...) {
        LogFailedSave("Unknown exception", text, length);
        throw CGenericException(kInternalErrorText);
    }
}

// The notes memo file is never written in place: the memo goes into a copy,
// which then takes the place of the original in one step, so that a failure
// half-way leaves the original whole and the folder is never without it. Other
// tables write their memo file directly.
DWORD CDbfFile::WriteMemo(const void* text, DWORD length)
{
    bool throughCopy = m_group == TableGroup::kNotes;
    std::string folder = FolderOf(m_fileName);
    std::string original = folder + DataName::kNotesMemo;
    std::string copy = folder + DataName::kNotesWorkingMemo;
    std::string target = throughCopy ? copy : m_memoPath;

    if (throughCopy &&
        !RetryFileStep({FileStepKind::kCopy, original},
                       [&] { return CopyFileA(original.c_str(), copy.c_str(), FALSE) != 0; }, kSaveLogPrefix,
                       "\r\nError copying file \"notes.qps\" Iteration "))
        throw CGenericException("Error copying notes.qps");

    CGenericFile file;
    file.OpenExclusive(target.c_str());
    CFileByteStore store(file);
    DWORD block = CMemoFile(store, target.c_str()).Append(text, length, IsMemoFreshStart());
    file.Flush();
    file.Close();
    SetMemoFreshStart(false);

    if (throughCopy && FileExists(copy.c_str()) &&
        !RetryFileStep({FileStepKind::kRename, original},
                       [&] { return ReplaceWithWorkingCopy(copy.c_str(), original.c_str()); }, kSaveLogPrefix,
                       "\r\nError renaming file \"notesTemp.QPS\" Iteration "))
        throw CGenericException("Error renaming notesTemp.qps to notes.qps");
    return block;
}
