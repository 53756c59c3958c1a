#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

// A chat avatar: the name of a picture file in the data folder's CHAT folder,
// the picture loaded from it and, when asked for, the file as one Base64 line
// for the chat wire text. The record owns its bitmap, icon and encoded text.
class CAvatarInfo {
public:
    // The side, in pixels, of the square the picture is shown in.
    explicit CAvatarInfo(int side) : m_side(side) {}
    ~CAvatarInfo() { FreeImageData(); }
    CAvatarInfo(const CAvatarInfo&) = delete;
    CAvatarInfo& operator=(const CAvatarInfo&) = delete;

    // An empty name clears the picture and answers true. Otherwise the old
    // picture goes, the name is kept (cut to 99 characters) and the file of
    // that name in CHAT is loaded; false when it is missing or unreadable.
    bool SetPictureFromFile(const char* name);
    // The file of that name in CHAT as one Base64 line, kept in this record
    // until the next call; size receives its length. Null, and size 0, when
    // the name is empty or the file is missing, unreadable or too large.
    const char* EncodeAvatar(const char* name, size_t* size);
    // Deletes the bitmap and drops the encoded text.
    void FreeImageData();

    const char* Name() const { return m_name; }
    HBITMAP Picture() const { return m_picture; }
    int Side() const { return m_side; }

    enum { kNameCapacity = 100, kLargestFileBytes = 1 << 20 };

private:
    int m_side;
    char m_name[kNameCapacity] = "";
    HBITMAP m_picture = nullptr;
    std::vector<char> m_encoded;
};

// The two chat avatar records, program-wide objects: 0 the user's own (40
// pixels), 1 a participant's (35 pixels).
CAvatarInfo& ProgramAvatar(int index);

// The size in bytes of the file of that name in CHAT; 0 when the name is empty
// or the file is missing.
DWORD AvatarFileSize(const char* name);

// The file of that name in CHAT, whole, when it has at most limit bytes.
bool ReadAvatarFile(const char* name, DWORD limit, std::vector<unsigned char>& bytes);
