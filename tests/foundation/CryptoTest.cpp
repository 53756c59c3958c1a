#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "foundation/CryptProvider.h"
#include "foundation/EsentaSir.h"
#include "support/TempFolder.h"
#include "support/bytes/HexText.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
const char kFixedText[] = "Marovinth+ ...";

void KeyFrom(CEsentaSir& cipher, const char* password)
{
    ASSERT_TRUE(cipher.Hash(nullptr, password, static_cast<DWORD>(strlen(password))));
    ASSERT_TRUE(cipher.DeriveKey());
}

std::string BinaryContents(size_t n)
{
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<char>(i % 5 == 0 ? 0 : i * 17 % 251);
    return bytes;
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
}

TEST(Crypto, TheDigestOfAPasswordAndTheFixedText)
{
    MessageBoxRecorder boxes;
    CCryptProvider provider;
    ASSERT_NE(provider.GetHandle(), 0u);
    CEsentaSir cipher(CALG_MD5, provider.GetHandle());
    BYTE value[CEsentaSir::kHashValueBytes];
    ASSERT_TRUE(cipher.Hash(value, "secret", 6, kFixedText, 14));
    EXPECT_EQ(HexText(value, 4), "426897c0");
    ASSERT_TRUE(cipher.Hash(value, "password", 8));
    EXPECT_EQ(HexText(value, sizeof value), "5f4dcc3b5aa765d61d8327deb882cf99");
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST(Crypto, Rc4KeyedFromTheMd5OfAPassword)
{
    TempFolder folder;
    MessageBoxRecorder boxes;
    CCryptProvider provider;
    CEsentaSir cipher(CALG_MD5, provider.GetHandle());
    KeyFrom(cipher, "password");
    WriteWholeFile(folder.File("plain.txt"), "Hello");
    ASSERT_TRUE(cipher.EncodeFile(folder.File("ciphered").c_str(), folder.File("plain.txt").c_str()));
    std::string ciphered = ReadWholeFile(folder.File("ciphered"));
    EXPECT_EQ(HexText(ciphered), "a09d47511a");

    // Every call starts the key stream afresh, so a buffer deciphers on its own.
    BYTE out[8];
    ASSERT_TRUE(cipher.DecodeBuffer(out, sizeof out, reinterpret_cast<const BYTE*>(ciphered.data()), 5,
                                    folder.File("again.txt").c_str()));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out)), "Hello");
    EXPECT_EQ(ReadWholeFile(folder.File("again.txt")), "Hello");
}

TEST(Crypto, AFileComesBackByteForByte)
{
    TempFolder folder;
    MessageBoxRecorder boxes;
    CCryptProvider provider;
    std::string contents = BinaryContents(200000);
    WriteWholeFile(folder.File("note.rtf"), contents);
    WriteWholeFile(folder.File("old.bin"), "an older and longer destination file");
    {
        CEsentaSir cipher(CALG_MD5, provider.GetHandle());
        KeyFrom(cipher, "a key");
        ASSERT_TRUE(cipher.EncodeFile(folder.File("old.bin").c_str(), folder.File("note.rtf").c_str()));
    }
    std::string ciphered = ReadWholeFile(folder.File("old.bin"));
    ASSERT_EQ(ciphered.size(), contents.size());
    EXPECT_NE(ciphered, contents);

    CEsentaSir cipher(CALG_MD5, provider.GetHandle());
    KeyFrom(cipher, "a key");
    ASSERT_TRUE(cipher.DecodeFile(folder.File("back.rtf").c_str(), folder.File("old.bin").c_str()));
    EXPECT_EQ(ReadWholeFile(folder.File("back.rtf")), contents);

    // In place, twice: the file is what it was.
    ASSERT_TRUE(cipher.EncodeFile(folder.File("back.rtf").c_str(), folder.File("back.rtf").c_str()));
    EXPECT_EQ(ReadWholeFile(folder.File("back.rtf")), ciphered);
    ASSERT_TRUE(cipher.DecodeFile(folder.File("back.rtf").c_str(), folder.File("back.rtf").c_str()));
    EXPECT_EQ(ReadWholeFile(folder.File("back.rtf")), contents);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST(Crypto, EmptySourcesBuffersAndMissingKeys)
{
    TempFolder folder;
    MessageBoxRecorder boxes;
    CCryptProvider provider;
    CEsentaSir cipher(CALG_MD5, provider.GetHandle());
    WriteWholeFile(folder.File("empty"), "");
    EXPECT_FALSE(cipher.EncodeFile(folder.File("out").c_str(), folder.File("empty").c_str())) << "no key yet";
    EXPECT_FALSE(FileExists(folder.File("out")));

    KeyFrom(cipher, "k");
    ASSERT_TRUE(cipher.EncodeFile(folder.File("out").c_str(), folder.File("empty").c_str()));
    EXPECT_TRUE(FileExists(folder.File("out")));
    EXPECT_EQ(ReadWholeFile(folder.File("out")), "");
    WriteWholeFile(folder.File("kept"), "kept");
    ASSERT_TRUE(cipher.EncodeFile(folder.File("kept").c_str(), folder.File("empty").c_str()));
    EXPECT_EQ(ReadWholeFile(folder.File("kept")), "kept");

    BYTE out[10];
    BYTE data[11] = {1, 2, 3};
    EXPECT_FALSE(cipher.DecodeBuffer(out, sizeof out, data, sizeof data, nullptr));
    ASSERT_TRUE(cipher.DecodeBuffer(nullptr, 0, nullptr, 0, folder.File("none").c_str()));
    EXPECT_TRUE(FileExists(folder.File("none")));

    EXPECT_FALSE(cipher.EncodeFile(folder.File("x").c_str(), folder.File("missing").c_str()));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.LastText().find("Open ReadOnly failed - "), 0u);
    EXPECT_EQ(boxes.Boxes()[0].flags, 0u);
}

TEST(Crypto, WithoutTheEnhancedProviderTheBaseOneServes)
{
    TempFolder folder;
    MessageBoxRecorder boxes;
    MissingProviders missing(true, false);
    CCryptProvider provider;
    ASSERT_NE(provider.GetHandle(), 0u);
    EXPECT_EQ(boxes.Count(), 0u);

    CEsentaSir cipher(CALG_MD5, provider.GetHandle());
    KeyFrom(cipher, "password");
    WriteWholeFile(folder.File("plain.txt"), "Hello");
    ASSERT_TRUE(cipher.EncodeFile(folder.File("ciphered").c_str(), folder.File("plain.txt").c_str()));
    std::string ciphered = ReadWholeFile(folder.File("ciphered"));
    EXPECT_EQ(HexText(ciphered), "fe3ba72041") << "a 40-bit key: five bytes of the hash and eleven zero bytes";
    ASSERT_TRUE(cipher.DecodeFile(folder.File("back.txt").c_str(), folder.File("ciphered").c_str()));
    EXPECT_EQ(ReadWholeFile(folder.File("back.txt")), "Hello");

    // A cipher object of its own asks for the Enhanced provider only.
    CEsentaSir alone(CALG_MD5, 0);
    EXPECT_EQ(alone.GetProvider(), 0u);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_NE(boxes.LastText().find(" \r\nCEsentaSir constructor failed\r\n , Error number: "), std::string::npos);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Quillnet+");
    EXPECT_FALSE(alone.Hash(nullptr, "x", 1));
    EXPECT_FALSE(alone.EncodeFile(folder.File("y").c_str(), folder.File("plain.txt").c_str()));
    EXPECT_FALSE(FileExists(folder.File("y")));
}

TEST(Crypto, WithNeitherProviderABoxTellsAndNothingIsCiphered)
{
    MessageBoxRecorder boxes;
    MissingProviders missing(true, true);
    CCryptProvider provider;
    EXPECT_EQ(provider.GetHandle(), 0u);
    ASSERT_EQ(boxes.Count(), 1u);
    std::string text = boxes.LastText();
    EXPECT_NE(text.find(" \r\nLoading the MS ENHANCED CRYPTOGRAPHIC PROVIDER has failed.\r\n"
                        "Loading the MS BASE CRYPTOGRAPHIC PROVIDER has also failed ??\r\n\r\n , Error number: "),
              std::string::npos);
    EXPECT_EQ(boxes.Boxes()[0].flags, 0x10u);
    CEsentaSir cipher(CALG_MD5, provider.GetHandle());
    EXPECT_FALSE(cipher.Hash(nullptr, "x", 1));
}
