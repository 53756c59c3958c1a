// Reading a large backup-shaped XML file: the parse, then look-ups of every note.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/BenchClock.h"
#include "xmlfiles/bytes/XmlBufferDocument.h"

namespace {
std::string MakeBackupText(int notes)
{
    std::string text = "<?xml version=\"1.0\"?>\r\n<backup>\r\n";
    for (int i = 0; i < notes; ++i) {
        text += "   <note>\r\n      <id>" + std::to_string(i) + "</id>\r\n      <title>Note " + std::to_string(i) +
                "</title>\r\n      <text><![CDATA[{\\rtf1 " + std::string(1200, 'x') + "}]]></text>\r\n   </note>\r\n";
    }
    return text + "</backup>\r\n";
}
}

int main()
{
    const int notes = 5000;
    std::string text = MakeBackupText(notes);
    CXMLBufferDocument document;
    document.SetBuffer(text.data(), static_cast<int>(text.size()), "backup.QPK");

    LARGE_INTEGER start = BenchNow();
    if (!document.Parse()) {
        std::printf("parse failed: %s\n", document.GetErrorText());
        return 1;
    }
    LARGE_INTEGER parsed = BenchNow();
    char value[64];
    char error[256];
    long found = 0;
    for (int k = 1; k <= notes; ++k)
        found += document.GetValue("backup", "note", k, "title", value, sizeof value, error, sizeof error) ? 1 : 0;
    LARGE_INTEGER looked = BenchNow();

    std::printf("file: %.1f MB, %d notes\n", text.size() / 1048576.0, notes);
    std::printf("parse: %.1f ms (%.1f MB/s)\n", SecondsBetween(start, parsed) * 1000,
                text.size() / 1048576.0 / SecondsBetween(start, parsed));
    std::printf("look-ups: %d in %.1f ms (%ld found)\n", notes, SecondsBetween(parsed, looked) * 1000, found);
    return 0;
}
