#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "foundation/CryptProvider.h"
#include "foundation/EsentaSir.h"
#include "support/TempFolder.h"
#include "support/bytes/HexText.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
void KeyFrom(CEsentaSir& cipher, const char* password)
{
    ASSERT_TRUE(cipher.Hash(nullptr, password, static_cast<DWORD>(strlen(password))));
    ASSERT_TRUE(cipher.DeriveKey());
}

// Names a provider that does not exist for as long as it lives.
class MissingProviders {
public:
    MissingProviders(bool enhanced, bool base)
        : m_previous(SetCryptProviderNames({enhanced ? "Quillnet Missing Provider" : MS_ENHANCED_PROV_A,
                                            base ? "Quillnet Missing Provider" : MS_DEF_PROV_A}))
    {
    }
    ~MissingProviders() { SetCryptProviderNames(m_previous); }

private:
    CryptProviderNames m_previous;
};

class Crypto : public testing::Test {
protected:
    std::string File(const char* name) const { return m_folder.File(name); }
    // "Hello" enciphered with the key of "password", as hex digits.
    std::string CipheredHello(CEsentaSir& cipher)
    {
        WriteWholeFile(File("plain.txt"), "Hello");
        EXPECT_TRUE(cipher.EncodeFile(File("ciphered").c_str(), File("plain.txt").c_str()));
        return HexText(ReadWholeFile(File("ciphered")));
    }

    TempFolder m_folder;
    MessageBoxRecorder m_boxes;
};
}

TEST_F(Crypto, Md5AndRc4KnownValues)
{
    CCryptProvider provider;
    ASSERT_NE(provider.GetHandle(), 0u);
    CEsentaSir cipher(CALG_MD5, provider.GetHandle());
    BYTE value[CEsentaSir::kHashValueBytes];
    ASSERT_TRUE(cipher.Hash(value, "secret", 6, "Marovinth+ ...", 14));
    EXPECT_EQ(HexText(value, 4), "426897c0");
    ASSERT_TRUE(cipher.Hash(value, "password", 8));
    EXPECT_EQ(HexText(value, sizeof value), "5f4dcc3b5aa765d61d8327deb882cf99");

    ASSERT_TRUE(cipher.DeriveKey());
    EXPECT_EQ(CipheredHello(cipher), "a09d47511a");
    // Every call starts the key stream afresh, so a buffer deciphers on its own.
    std::string ciphered = ReadWholeFile(File("ciphered"));
    BYTE out[8];
    ASSERT_TRUE(cipher.DecodeBuffer(out, sizeof out, reinterpret_cast<const BYTE*>(ciphered.data()), 5,
                                    File("again.txt").c_str()));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out)), "Hello");
    EXPECT_EQ(ReadWholeFile(File("again.txt")), "Hello");
    EXPECT_EQ(m_boxes.Count(), 0u);
}

TEST_F(Crypto, AFileComesBackByteForByte)
{
    CCryptProvider provider;
    std::string contents(200000, '\0');
    for (size_t i = 0; i < contents.size(); ++i)
        contents[i] = static_cast<char>(i % 5 == 0 ? 0 : i * 17 % 251);
    WriteWholeFile(File("note.rtf"), contents);
    WriteWholeFile(File("old.bin"), "an older and longer destination file");
    {
        CEsentaSir cipher(CALG_MD5, provider.GetHandle());
        KeyFrom(cipher, "a key");
        ASSERT_TRUE(cipher.EncodeFile(File("old.bin").c_str(), File("note.rtf").c_str()));
    }
    std::string ciphered = ReadWholeFile(File("old.bin"));
    ASSERT_EQ(ciphered.size(), contents.size());
    EXPECT_NE(ciphered, contents);

    CEsentaSir cipher(CALG_MD5, provider.GetHandle());
    KeyFrom(cipher, "a key");
    ASSERT_TRUE(cipher.DecodeFile(File("back.rtf").c_str(), File("old.bin").c_str()));
    EXPECT_EQ(ReadWholeFile(File("back.rtf")), contents);

    // In place, twice: the file is what it was.
    ASSERT_TRUE(cipher.EncodeFile(File("back.rtf").c_str(), File("back.rtf").c_str()));
    EXPECT_EQ(ReadWholeFile(File("back.rtf")), ciphered);
    ASSERT_TRUE(cipher.DecodeFile(File("back.rtf").c_str(), File("back.rtf").c_str()));
    EXPECT_EQ(ReadWholeFile(File("back.rtf")), contents);
    EXPECT_EQ(m_boxes.Count(), 0u);

    // A program that holds the file while sharing its deletion (a scanner) lets
    // no new file take its place: the cipher fails and the only copy stays whole.
    HANDLE scanner = CreateFileA(File("back.rtf").c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                 nullptr);
    ASSERT_NE(scanner, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(cipher.EncodeFile(File("back.rtf").c_str(), File("back.rtf").c_str()));
    CloseHandle(scanner);
    EXPECT_EQ(ReadWholeFile(File("back.rtf")), contents);
    EXPECT_FALSE(FileExists(File("back.rtf.new")));
    ASSERT_EQ(m_boxes.Count(), 1u);
    EXPECT_EQ(m_boxes.LastText().find("The file could not be replaced: "), 0u);
}

TEST_F(Crypto, EmptySourcesBuffersAndMissingKeys)
{
    CCryptProvider provider;
    CEsentaSir cipher(CALG_MD5, provider.GetHandle());
    WriteWholeFile(File("empty"), "");
    EXPECT_FALSE(cipher.EncodeFile(File("out").c_str(), File("empty").c_str())) << "no key yet";
    EXPECT_FALSE(FileExists(File("out")));

    KeyFrom(cipher, "k");
    ASSERT_TRUE(cipher.EncodeFile(File("out").c_str(), File("empty").c_str()));
    EXPECT_TRUE(FileExists(File("out")));
    EXPECT_EQ(ReadWholeFile(File("out")), "");
    WriteWholeFile(File("kept"), "kept");
    ASSERT_TRUE(cipher.EncodeFile(File("kept").c_str(), File("empty").c_str()));
    EXPECT_EQ(ReadWholeFile(File("kept")), "kept");

    BYTE out[10];
    BYTE data[11] = {1, 2, 3};
    EXPECT_FALSE(cipher.DecodeBuffer(out, sizeof out, data, sizeof data, nullptr));
    ASSERT_TRUE(cipher.DecodeBuffer(nullptr, 0, nullptr, 0, File("none").c_str()));
    EXPECT_TRUE(FileExists(File("none")));

    EXPECT_FALSE(cipher.EncodeFile(File("x").c_str(), File("missing").c_str()));
    ASSERT_EQ(m_boxes.Count(), 1u);
    EXPECT_EQ(m_boxes.LastText().find("Open ReadOnly failed - "), 0u);
    EXPECT_EQ(m_boxes.Boxes()[0].flags, 0u);
}

TEST_F(Crypto, WithoutTheEnhancedProviderTheBaseOneServes)
{
    MissingProviders missing(true, false);
    CCryptProvider provider;
    ASSERT_NE(provider.GetHandle(), 0u);
    EXPECT_EQ(m_boxes.Count(), 0u);

    CEsentaSir cipher(CALG_MD5, provider.GetHandle());
    KeyFrom(cipher, "password");
    EXPECT_EQ(CipheredHello(cipher), "fe3ba72041") << "a 40-bit key: five bytes of the hash and eleven zero bytes";
    ASSERT_TRUE(cipher.DecodeFile(File("back.txt").c_str(), File("ciphered").c_str()));
    EXPECT_EQ(ReadWholeFile(File("back.txt")), "Hello");

    // A cipher object of its own asks for the Enhanced provider only.
    CEsentaSir alone(CALG_MD5, 0);
    EXPECT_EQ(alone.GetProvider(), 0u);
    ASSERT_EQ(m_boxes.Count(), 1u);
    EXPECT_NE(m_boxes.LastText().find(" \r\nCEsentaSir constructor failed\r\n , Error number: "), std::string::npos);
    EXPECT_EQ(m_boxes.Boxes()[0].caption, "Quillnet+");
    EXPECT_FALSE(alone.Hash(nullptr, "x", 1));
    EXPECT_FALSE(alone.EncodeFile(File("y").c_str(), File("plain.txt").c_str()));
    EXPECT_FALSE(FileExists(File("y")));
}

TEST_F(Crypto, WithNeitherProviderABoxTellsAndNothingIsCiphered)
{
    MissingProviders missing(true, true);
    CCryptProvider provider;
    EXPECT_EQ(provider.GetHandle(), 0u);
    ASSERT_EQ(m_boxes.Count(), 1u);
    EXPECT_NE(m_boxes.LastText().find(" \r\nLoading the MS ENHANCED CRYPTOGRAPHIC PROVIDER has failed.\r\n"
                                      "Loading the MS BASE CRYPTOGRAPHIC PROVIDER has also failed ??\r\n\r\n"
                                      " , Error number: "),
              std::string::npos);
    EXPECT_EQ(m_boxes.Boxes()[0].flags, 0x10u);
    CEsentaSir cipher(CALG_MD5, provider.GetHandle());
    EXPECT_FALSE(cipher.Hash(nullptr, "x", 1));
}
