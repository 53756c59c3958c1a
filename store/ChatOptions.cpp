#include "store/ChatOptions.h"

#include <cstdio>
#include <string>

#include "foundation/Clock.h"
#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "globals/ProgramGlobals.h"
#include "store/DataFolderImages.h"

namespace {
struct SwitchKey {
    const char* key;
    DWORD CChatOptions::*member;
};
const SwitchKey kSwitches[5] = {
    {"ShowSenderComputer", &CChatOptions::showSenderComputer},
    {"ShowSenderName", &CChatOptions::showSenderName},
    {"ShowReceivedDate", &CChatOptions::showReceivedDate},
    {"ShowReceivedTime", &CChatOptions::showReceivedTime},
    {"MyOwnMessagesInBold", &CChatOptions::myOwnMessagesInBold},
};

std::string Section()
{
    return std::to_string(UserSettings().userId);
}

std::string ProfilePath()
{
    return DataFilePath(DataName::kChatOptions);
}

// One of the CHAT folder's bitmaps, chosen by the clock; none when there are none.
void PickAvatar(CChatOptions& options)
{
    std::snprintf(options.avatar, sizeof options.avatar, "%s", kNoImageName);
    std::string folder = DataFilePath(DataName::kChatFolder);
    int count = CountFilesByExtension(folder.c_str(), "", "BMP");
    if (count <= 0)
        return;
    SYSTEMTIME now = GetLocalNow();
    int index = (now.wMilliseconds + now.wSecond + now.wMinute + now.wHour) % count;
    CGenericString name;
    if (GetNthFileByExtension(name, folder.c_str(), "", "BMP", index) == index)
        std::snprintf(options.avatar, sizeof options.avatar, "%s", name.GetString());
}
}

CChatOptions& ChatOptions()
{
    static CChatOptions options;
    return options;
}

void LoadChatOptions()
{
    CChatOptions& options = ChatOptions();
    const std::string path = ProfilePath();
    const std::string section = Section();
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        char avatar[CChatOptions::kAvatarSize] = "";
        if (GetPrivateProfileStringA(section.c_str(), "Avatar", "", avatar, sizeof avatar, path.c_str()) > 0) {
            std::snprintf(options.avatar, sizeof options.avatar, "%s",
                          AvatarFileExists(avatar) ? avatar : kNoImageName);
            for (const SwitchKey& entry : kSwitches) {
                const UINT missing = 0xFFFFFFFFu;
                UINT value = GetPrivateProfileIntA(section.c_str(), entry.key, static_cast<int>(missing), path.c_str());
                if (value != missing)
                    options.*entry.member = value ? 1 : 0;
            }
            return;
        }
    }
    PickAvatar(options);
    SaveChatOptions();
}

void SaveChatOptions()
{
    const CChatOptions& options = ChatOptions();
    const std::string path = ProfilePath();
    const std::string section = Section();
    WritePrivateProfileStringA(section.c_str(), "Avatar", options.avatar, path.c_str());
    for (const SwitchKey& entry : kSwitches)
        WritePrivateProfileStringA(section.c_str(), entry.key, options.*entry.member ? "1" : "0", path.c_str());
}
