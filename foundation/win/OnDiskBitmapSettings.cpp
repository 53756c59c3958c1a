// Where the stored pictures come from: the memo texts of the settings table.
#include <cstdio>
#include <string>

#include "foundation/ProcessHeap.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/OnDiskBitmap.h"
#include "store/DbfFile.h"

namespace {
// The largest picture the settings table holds.
const DWORD kWorkBlockBytes = 51200;

std::string TrimmedField(CDbfFile& table, const char* field)
{
    std::string text = table.GetStringValue(field).GetString();
    return text.substr(0, text.find_last_not_of(' ') + 1);
}
}

bool COnDiskBitmap::ReadConfigFile(const char* imageCode)
{
    std::snprintf(m_imageCode, sizeof m_imageCode, "%s", imageCode ? imageCode : "");
    m_dib.Free();
    try {
        CDbfFile config;
        config.SetTable("config.QPD", true);
        config.Open("READ");
        bool found = false;
        DWORD block = 0;
        for (config.GoTop(); !config.IsEOF(); config.Skip(1)) {
            if (TrimmedField(config, "CONFIG") == m_imageCode) {
                block = static_cast<DWORD>(config.GetLongValue("TEXT"));
                found = true;
                break;
            }
        }
        config.Close();
        DWORD offset = 0;
        DWORD fileSize = 0;
        DWORD length = 0;
        if (!found || !config.GetSizeOfMemoField(block, offset, fileSize, length)) {
            ShowErrorMessage(nullptr, "No image found", ProgramTitle);
            return false;
        }
        CProcessHeap work(kWorkBlockBytes);
        // A memo longer than the block is refused by the read itself.
        config.ReadMemoField(reinterpret_cast<char*>(work.GetBlock()), kWorkBlockBytes, block);
        return LoadBitmapFile(work.GetBlock(), length);
    } catch (const CGenericException& failure) {
        ShowErrorMessage(nullptr, failure.GetErrorText(), ProgramTitle);
        return false;
    }
}
