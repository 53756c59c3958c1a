// The protected-content codec on real files: password texts and digests made
// by CryptoAPI, stored bodies opened with or without the right password, an
// enciphered attached file deciphered in place with nothing left behind, and
// a long protected note written to the notes table, read back and opened.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "foundation/bytes/Base64Codec.h"
#include "note/NoteController.h"
#include "noteprops/ProtectedContent.h"
#include "noteprops/bytes/ProtectedBody.h"
#include "globals/ProgramGlobals.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/InFolder.h"
#include "support/StoredNotes.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
const char kHello[] = "{\\rtf1 Hello}";
const char kHelloBody[] = "T25ETF8GQ3hRXlpXRA==08190f7344fdfba35e45522072770002\xAD\x05\xFE";
const char kSecretText[] = "426897c0";

// The user's password text while it lives.
class UserPassword {
public:
    explicit UserPassword(const char* text)
    {
        std::snprintf(m_saved, sizeof m_saved, "%s", UserSettings().passwordCode);
        std::snprintf(UserSettings().passwordCode, sizeof UserSettings().passwordCode, "%s", text);
    }
    ~UserPassword() { std::snprintf(UserSettings().passwordCode, sizeof UserSettings().passwordCode, "%s", m_saved); }
    UserPassword(const UserPassword&) = delete;
    UserPassword& operator=(const UserPassword&) = delete;

private:
    char m_saved[sizeof UserSettings().passwordCode];
};

// The files of the folder whose names end with the text.
int FilesEndingWith(const std::string& folder, const std::string& ending)
{
    int count = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        const std::string name = found.cFileName;
        count += name.size() >= ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

class ProtectedContent : public InFolder {};
}

TEST_F(ProtectedContent, PasswordTextsDigestsAndStoredBodies)
{
    MessageBoxRecorder boxes;
    EXPECT_EQ(PasswordText(nullptr, "secret", "failed"), kSecretText);
    EXPECT_EQ(PasswordText(nullptr, "  secret  ", "failed"), kSecretText);
    EXPECT_EQ(PasswordText(nullptr, "426897c0#", "failed"), kSecretText);
    EXPECT_EQ(PasswordText(nullptr, "AbCd1234#", "failed"), "abcd1234") << "a code in capitals is the same code";
    EXPECT_EQ(PasswordText(nullptr, "AbCd-234#", "failed"), "76a99270") << "not a code: hashed";
    EXPECT_EQ(ContentDigestText(kHello), "08190f7344fdfba35e45522072770002");

    const std::string body = kHelloBody;
    std::string rtf;
    EXPECT_EQ(RPB(rtf, "secret", body.data(), body.size(), nullptr), 0) << "a password, not its text";
    EXPECT_EQ(RPB(rtf, kSecretText, body.data(), body.size(), nullptr), 1);
    EXPECT_EQ(rtf, kHello);
    EXPECT_EQ(RPB(rtf, "426897c009d0ace762b6037caba82f87", body.data(), body.size(), nullptr), 1);
    EXPECT_EQ(RPB(rtf, "00000000", body.data(), body.size(), nullptr), 0);
    EXPECT_EQ(boxes.Count(), 0u) << "a wrong password is said by the prompt, not the codec";
    const std::string garbled = "T25E*F8GQ3hRXlpXRA==08190f7344fdfba35e45522072770002\xAD\x05\xFE";
    EXPECT_EQ(RPB(rtf, kSecretText, garbled.data(), garbled.size(), nullptr), 0);
    EXPECT_EQ(boxes.LastText(), "RPB::DecodeString failed");
    EXPECT_EQ(RPB(rtf, kSecretText, body.data(), 35, nullptr), 0);
    EXPECT_TRUE(rtf.empty());
}

TEST_F(ProtectedContent, AnEncipheredAttachmentIsDecipheredInPlaceAndNothingIsLeftBehind)
{
    MessageBoxRecorder boxes;
    const std::string plain = File("plain.bin");
    const std::string sent = File("sent.bin");
    WriteWholeFile(plain, "ABC");
    ASSERT_NE(XorEncodeFile(File("mixed.bin").c_str(), plain.c_str(), kSecretText), 0);
    ASSERT_TRUE(CBase64Codec().EncodeFileToBase64(sent.c_str(), File("mixed.bin").c_str()));
    WriteWholeFile(sent, ReadWholeFile(sent) + "\xAD\x05\xFE");
    EXPECT_EQ(ReadWholeFile(sent), "dXB1\xAD\x05\xFE");

    const int filesBefore = FilesEndingWith(m_folder.Path(), "");
    EXPECT_EQ(DAF(sent.c_str(), kSecretText), 1);
    EXPECT_EQ(ReadWholeFile(sent), "ABC");
    EXPECT_EQ(FilesEndingWith(m_folder.Path(), ""), filesBefore) << "no temporary file stays";
    EXPECT_EQ(FilesEndingWith(m_folder.Path(), ".txt"), 0);

    // A file without the mark, a missing one, the mark alone.
    EXPECT_EQ(DAF(sent.c_str(), kSecretText), 0);
    EXPECT_EQ(ReadWholeFile(sent), "ABC");
    EXPECT_EQ(DAF(File("missing.bin").c_str(), kSecretText), 0);
    WriteWholeFile(sent, "\xAD\x05\xFE");
    EXPECT_EQ(DAF(sent.c_str(), kSecretText), 1);
    EXPECT_EQ(ReadWholeFile(sent), "");
    // Base64 that does not decode leaves the file as it was, after a box.
    WriteWholeFile(sent, "dX*1\xAD\x05\xFE");
    EXPECT_EQ(DAF(sent.c_str(), kSecretText), 0);
    EXPECT_EQ(ReadWholeFile(sent), "dX*1\xAD\x05\xFE");
    EXPECT_TRUE(boxes.Saw("DAF::DecodeString failed"));
    EXPECT_EQ(FilesEndingWith(m_folder.Path(), ".txt"), 0);
}

TEST_F(ProtectedContent, ALongProtectedNoteIsStoredPackedAndEncipheredAndOpensWhenReadBack)
{
    CopyTemplate("notes.QPD");
    CopyTemplate("notes.QPS");
    NotesFreeSlots().Clear();
    std::string rtf = "{\\rtf1\\ansi\\deff0 ";
    for (int i = 0; rtf.size() < 300 * 1024; ++i)
        rtf += "Line " + std::to_string(i) + " of the long secret\\par\n";
    rtf += "}";

    {
        UserPassword password(kSecretText);
        CNoteController note;
        note.m_userId = 1;
        note.m_hidden = true;
        std::snprintf(note.m_title, sizeof note.m_title, "%s", "Long secret");
        note.SetRichText(rtf.data(), rtf.size());
        note.m_protected = true;
        SaveNote(note);
        ASSERT_NE(note.m_noteId, 9999u);
        // The payload that went out is packed: "PK" once deciphered.
        const std::string& body = note.m_protectedContent;
        const std::string text = body.substr(0, body.size() - kProtectedTailBytes);
        std::string payload(CBase64Codec::DecodedLengthBound(text.size()) + 1, '\0');
        size_t length = 0;
        ASSERT_TRUE(CBase64Codec().DecodeString(text.data(), text.size(),
                                                reinterpret_cast<unsigned char*>(&payload[0]), payload.size(),
                                                &length));
        EXPECT_EQ(payload[0] ^ kSecretText[0], 'P');
        EXPECT_EQ(payload[1] ^ kSecretText[1], 'K');
    }
    // Nothing of the text is in the memo file.
    EXPECT_EQ(Read("notes.QPS").find("of the long secret"), std::string::npos);

    // Read back as at the next start: masked, and the body opens to the same text.
    StoredNoteList stored = LoadEveryNote(m_folder.Path());
    ASSERT_EQ(stored.size(), 1u);
    const CNoteController& loaded = *stored[0];
    EXPECT_TRUE(loaded.m_protected);
    EXPECT_TRUE(loaded.m_masked);
    EXPECT_EQ(loaded.RichText(), " ...PROTECTED  NOTE... ");
    std::string opened;
    ASSERT_EQ(RPB(opened, kSecretText, loaded.m_protectedContent.data(), loaded.m_protectedContent.size(), nullptr),
              1);
    EXPECT_TRUE(opened == rtf);
}
