#include "net/AvatarInfo.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/bytes/Base64Codec.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/win/LoadedBitmap.h"
#include "globals/ProgramGlobals.h"

namespace {
// The full path of a picture in CHAT; empty for an empty name, a name with a
// folder in it (a name may come from another computer) or a path too long.
std::string AvatarPath(const char* name)
{
    if (!name || !*name || std::strpbrk(name, "\\/:"))
        return std::string();
    std::string path = DataFilePath(DataName::kChatFolder) + "\\" + name;
    return path.size() < MAX_PATH ? path : std::string();
}
}

bool CAvatarInfo::SetPictureFromFile(const char* name)
{
    if (!name || !*name) {
        FreeImageData();
        m_name[0] = '\0';
        return true;
    }
    FreeImageData();
    std::snprintf(m_name, sizeof m_name, "%s", name);
    const std::string path = AvatarPath(m_name);
    if (path.empty() || !FileExists(path.c_str()))
        return false;
    CLoadedBitmap loaded;
    m_picture = loaded.LoadImageFromFile(GetModuleHandleA(nullptr), path.c_str());
    if (!m_picture)
        return false;
    loaded.SetBorrowed();
    return true;
}

bool ReadAvatarFile(const char* name, DWORD limit, std::vector<unsigned char>& bytes)
{
    const std::string path = AvatarPath(name);
    if (path.empty())
        return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    bool whole = size != INVALID_FILE_SIZE && high == 0 && size <= limit;
    if (whole) {
        bytes.resize(size);
        DWORD read = 0;
        whole = size == 0 || (ReadFile(file, bytes.data(), size, &read, nullptr) && read == size);
    }
    CloseHandle(file);
    return whole;
}

const char* CAvatarInfo::EncodeAvatar(const char* name, size_t* size)
{
    m_encoded.clear();
    if (size)
        *size = 0;
    std::vector<unsigned char> bytes;
    if (!ReadAvatarFile(name, kLargestFileBytes, bytes) || bytes.empty())
        return nullptr;
    m_encoded.resize(CBase64Codec::EncodedLength(bytes.size()) + 1);
    size_t length = 0;
    if (!CBase64Codec().EncodeString(bytes.data(), bytes.size(), m_encoded.data(), m_encoded.size(), &length)) {
        m_encoded.clear();
        return nullptr;
    }
    if (size)
        *size = length;
    return m_encoded.data();
}

void CAvatarInfo::FreeImageData()
{
    if (m_picture)
        DeleteObject(m_picture);
    m_picture = nullptr;
    m_encoded.clear();
    m_encoded.shrink_to_fit();
}

DWORD AvatarFileSize(const char* name)
{
    const std::string path = AvatarPath(name);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    return data.nFileSizeHigh ? INVALID_FILE_SIZE : data.nFileSizeLow;
}

CAvatarInfo& ProgramAvatar(int index)
{
    static CAvatarInfo avatars[2] = {CAvatarInfo(40), CAvatarInfo(35)};
    if (index < 0 || index > 1)
        throw CGenericException("ProgramAvatar: no avatar record of that index");
    return LiveGlobal(avatars[index], kRowAvatars);
}
