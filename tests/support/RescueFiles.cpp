#include "support/RescueFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "foundation/FileHelpers.h"
#include "support/TempFolder.h"
#include "xmlfiles/XmlWriter.h"
#include "xmlfiles/bytes/BackupNames.h"
#include "xmlfiles/bytes/BackupWriting.h"

void WriteOneNoteBackup(const std::string& path, const std::string& text)
{
    BackupNote note;
    note.title = text;
    note.left = 300;
    note.top = 200;
    note.content = "{\\rtf1\\ansi " + text + "}";
    CXmlWriter writer(kBackupHeaderLine, kBackupRootName);
    writer.Open(path.c_str());
    WriteNoteXml(writer, note, 1);
    WriteComputersXml(writer, {}, 1);
    writer.Close();
}

void MarkAsUnstored(const ProgramInstall& install, const std::string& rescuePath)
{
    WIN32_FILE_ATTRIBUTE_DATA table{};
    ASSERT_TRUE(GetFileAttributesExA(install.File("notes.QPD").c_str(), GetFileExInfoStandard, &table));
    const unsigned long long written =
        (static_cast<unsigned long long>(table.ftLastWriteTime.dwHighDateTime) << 32) |
        table.ftLastWriteTime.dwLowDateTime;
    const std::string name = FileNameOf(rescuePath);
    const std::string mark = RescueMarkName(name);
    ASSERT_FALSE(mark.empty()) << name;
    WriteWholeFile(rescuePath.substr(0, rescuePath.size() - name.size()) + mark, RescueMarkText(name, written));
}

std::vector<std::string> RescueMarksIn(const std::string& folder)
{
    return FileNamesMatching(folder + "\\Unstored *.txt");
}
