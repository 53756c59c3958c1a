// Chat avatars: pictures of the data folder's CHAT folder loaded into an
// avatar record, measured, and sent as one Base64 line that decodes back to
// the file.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "foundation/bytes/Base64Codec.h"
#include "net/AvatarInfo.h"
#include "globals/ProgramGlobals.h"
#include "support/InFolder.h"
#include "support/PictureFiles.h"

namespace {
class AvatarInfo : public InFolder {};
}

TEST_F(AvatarInfo, LoadsMeasuresAndEncodesPicturesOfTheChatFolder)
{
    ASSERT_TRUE(CreateDirectoryA(File("CHAT").c_str(), nullptr));
    const std::string owl = SquareBitmap(37, RGB(200, 120, 40));
    WriteWholeFile(File("CHAT\\owl.bmp"), owl);
    // The pictures are found in the data folder whatever the current folder is.
    TempFolder elsewhere("elsewhere");
    // Back in the data folder before the other one goes: a current folder
    // cannot be removed.
    struct BackInDataFolder {
        std::string folder;
        ~BackInDataFolder() { SetCurrentDirectoryA(folder.c_str()); }
    } back{m_folder.Path()};
    ASSERT_TRUE(SetCurrentDirectoryA(elsewhere.Path().c_str()));

    CAvatarInfo slot(40);
    ASSERT_TRUE(slot.SetPictureFromFile("owl.bmp"));
    EXPECT_STREQ(slot.Name(), "owl.bmp");
    BITMAP bitmap = {};
    ASSERT_TRUE(GetObjectA(slot.Picture(), sizeof bitmap, &bitmap));
    EXPECT_EQ(bitmap.bmWidth, 37);
    EXPECT_EQ(bitmap.bmHeight, 37);
    EXPECT_EQ(AvatarFileSize("owl.bmp"), owl.size());

    size_t length = 0;
    const char* line = slot.EncodeAvatar("owl.bmp", &length);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(length, std::strlen(line));
    EXPECT_EQ(length % 4, 0u);
    EXPECT_EQ(std::strpbrk(line, "\r\n"), nullptr) << "one line";
    std::string decoded(CBase64Codec::DecodedLengthBound(length), '\0');
    size_t decodedLength = 0;
    ASSERT_TRUE(CBase64Codec().DecodeString(line, length, reinterpret_cast<unsigned char*>(&decoded[0]),
                                            decoded.size(), &decodedLength));
    decoded.resize(decodedLength);
    EXPECT_EQ(decoded, owl) << "byte for byte";

    // A missing file keeps the name but leaves no picture; an empty name
    // clears the slot; a name with a folder in it is not looked for.
    EXPECT_FALSE(slot.SetPictureFromFile("gone.bmp"));
    EXPECT_STREQ(slot.Name(), "gone.bmp");
    EXPECT_EQ(slot.Picture(), nullptr);
    EXPECT_EQ(AvatarFileSize("gone.bmp"), 0u);
    EXPECT_EQ(slot.EncodeAvatar("gone.bmp", &length), nullptr);
    EXPECT_EQ(length, 0u);
    EXPECT_TRUE(slot.SetPictureFromFile("owl.bmp"));
    EXPECT_TRUE(slot.SetPictureFromFile(""));
    EXPECT_STREQ(slot.Name(), "");
    EXPECT_EQ(slot.Picture(), nullptr);
    EXPECT_EQ(AvatarFileSize(""), 0u);
    EXPECT_EQ(slot.EncodeAvatar("", &length), nullptr);
    WriteWholeFile(File("outside.bmp"), owl);
    EXPECT_FALSE(slot.SetPictureFromFile("..\\outside.bmp"));
    EXPECT_EQ(AvatarFileSize("..\\outside.bmp"), 0u);
    EXPECT_EQ(slot.EncodeAvatar("../outside.bmp", &length), nullptr);

    // The program's two records start empty, 40 and 35 pixels.
    EXPECT_EQ(ProgramAvatar(0).Side(), 40);
    EXPECT_EQ(ProgramAvatar(1).Side(), 35);
    EXPECT_EQ(ProgramAvatar(1).Picture(), nullptr);
}
