#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "foundation/RegistryKey.h"
#include "foundation/ResourceData.h"
#include "resources/ids/StringIds.h"
#include "support/TempFolder.h"
#include "support/bytes/ErrorOf.h"
#include "support/bytes/MessageBoxRecorder.h"

TEST(ResourceString, LoadsRefusesMissingTextsAndStopsAt150Characters)
{
    CResourceString text;
    EXPECT_STREQ(text.LoadString(GetModuleHandleA(nullptr), IDS_SORRY), "Sorry...");
    EXPECT_EQ(ErrorOf([&] { text.LoadString(GetModuleHandleA(nullptr), 0); }), "CResourceString::LoadString failed");
    EXPECT_THROW(text.LoadResource(GetModuleHandleA(nullptr), 9999), CGenericException);

    text.LoadString(GetModuleHandleA(nullptr), IDS_PASTE_TOO_LONG);
    size_t length = std::strlen(text.GetText());
    ASSERT_LT(length, 141u);
    text += std::string(141 - length, 'a').c_str();
    EXPECT_THROW(text += std::string(10, 'b').c_str(), CGenericException);
    EXPECT_EQ(std::strlen(text.GetText()), 141u) << "a refused append keeps the text";
    text += std::string(9, 'c').c_str();
    EXPECT_EQ(std::strlen(text.GetText()), 150u);
}

TEST(ResourceData, MissingResourceIsReportedAndCannotBeCopied)
{
    MessageBoxRecorder boxes;
    TempFolder folder;
    CResourceData missing(4321, "QPD");
    EXPECT_FALSE(missing.IsCustomResourceLoaded());
    EXPECT_NE(boxes.LastText().find("\r\nFindResource failed (value=4321, type=QPD)"), std::string::npos);
    std::string path = folder.File("notes.QPD");
    WriteWholeFile(path, "the notes");
    EXPECT_FALSE(missing.CopyResourceToFile(path.c_str()));
    EXPECT_EQ(boxes.LastText(), "Sorry, the resource cannot be copied to " + path + " (value=4321, type=QPD)");
    EXPECT_EQ(ReadWholeFile(path), "the notes") << "nothing to write is no reason to delete";
}

TEST(RegistryKey, ValuesRoundTripAndMissingKeysAreReported)
{
    MessageBoxRecorder boxes;
    CRegistryKey missing(HKEY_CURRENT_USER, "Software\\QuillnetTests\\NoSuchKey");
    EXPECT_FALSE(missing.SetStringValue("name", "value"));
    EXPECT_EQ(boxes.LastText(), "CRegistryKey::SetStringValue failed gate 1\r\nname  value");

    CRegistryKey key(HKEY_CURRENT_USER, nullptr);
    ASSERT_TRUE(key.CreateNested("Software\\QuillnetTests", "Values"));
    EXPECT_TRUE(key.SetStringValue("Greeting", "hello"));
    key.Close();

    CRegistryKey reader(HKEY_CURRENT_USER, "Software\\QuillnetTests\\Values");
    ASSERT_TRUE(reader.Open(KEY_READ));
    DWORD type = 0;
    DWORD size = 0;
    ASSERT_TRUE(reader.GetTypeAndSize("Greeting", &type, &size));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 6u);
    char value[16] = {};
    size = sizeof value;
    ASSERT_TRUE(reader.ReadValue("Greeting", reinterpret_cast<BYTE*>(value), &size));
    EXPECT_STREQ(value, "hello");
    reader.Close();

    CRegistryKey root(HKEY_CURRENT_USER, nullptr);
    EXPECT_TRUE(root.DeleteFullKey("Software\\QuillnetTests\\Values"));
    EXPECT_FALSE(root.DeleteFullKey("Software\\QuillnetTests\\Values"));
    EXPECT_EQ(boxes.LastText(), "CRegistryKey::DeleteFullKey failed \r\nSoftware\\QuillnetTests\\Values  ");
}
