// Where the stored pictures come from: the memo texts of the settings table.
#include "store/SettingsPictures.h"

#include <string>

#include "foundation/DataFolder.h"
#include "foundation/ProcessHeap.h"
#include "foundation/bytes/MessageBoxes.h"
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

bool ReadConfigFile(COnDiskBitmap& bitmap, const char* imageCode)
{
    bitmap.SetImageCode(imageCode);
    std::string code = imageCode ? imageCode : "";
    try {
        CDbfFile config;
        config.SetTable(DataFilePath(DataName::kSettingsTable).c_str(), true);
        config.Open("READ");
        bool found = false;
        DWORD block = 0;
        for (config.GoTop(); !config.IsEOF(); config.Skip(1)) {
            if (TrimmedField(config, "CONFIG") == code) {
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
        return bitmap.LoadBitmapFile(work.GetBlock(), length);
    } catch (const CGenericException& failure) {
        ShowErrorMessage(nullptr, failure.GetErrorText(), ProgramTitle);
        return false;
    }
}
