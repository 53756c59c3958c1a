// Reading a large backup-shaped XML file: the parse (median of five), then
// look-ups of every note. Given a file name, the benchmark also writes the
// text there and leaves it, so that scripts/bench.sh can time
// "xmllint --noout" on the same file beside the parse.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "xmlfiles/bytes/XmlBufferDocument.h"

namespace {
const int kRounds = 5;

std::string MakeBackupText(int notes)
{
    std::string text = "<?xml version=\"1.0\"?>\r\n<backup>\r\n";
    for (int i = 0; i < notes; ++i) {
        text += "   <note>\r\n      <id>" + std::to_string(i) + "</id>\r\n      <title>Note " + std::to_string(i) +
                "</title>\r\n      <text><![CDATA[{\\rtf1 " + std::string(1200, 'x') + "}]]></text>\r\n   </note>\r\n";
    }
    return text + "</backup>\r\n";
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool WriteWholeFile(const char* path, const std::string& text)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool whole = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                       written == text.size();
    CloseHandle(file);
    return whole;
}
}

int main(int argc, char** argv)
{
    const int notes = 5000;
    std::string text = MakeBackupText(notes);
    if (argc > 1 && !WriteWholeFile(argv[1], text)) {
        std::printf("could not write %s\n", argv[1]);
        return 1;
    }

    std::vector<double> parses;
    for (int round = 0; round < kRounds; ++round) {
        CXMLBufferDocument document;
        document.SetBuffer(text.data(), static_cast<int>(text.size()), "backup.QPK");
        LARGE_INTEGER start = BenchNow();
        if (!document.Parse()) {
            std::printf("parse failed: %s\n", document.GetErrorText());
            return 1;
        }
        parses.push_back(SecondsBetween(start, BenchNow()));
    }
    CXMLBufferDocument document;
    document.SetBuffer(text.data(), static_cast<int>(text.size()), "backup.QPK");
    document.Parse();
    LARGE_INTEGER parsed = BenchNow();
    char value[64];
    char error[256];
    long found = 0;
    for (int k = 1; k <= notes; ++k)
        found += document.GetValue("backup", "note", k, "title", value, sizeof value, error, sizeof error) ? 1 : 0;
    LARGE_INTEGER looked = BenchNow();

    const double parse = Median(parses);
    std::printf("file: %.1f MB, %d notes\n", text.size() / 1048576.0, notes);
    std::printf("parse: %.1f ms (%.1f MB/s, median of %d)\n", parse * 1000, text.size() / 1048576.0 / parse, kRounds);
    std::printf("look-ups: %d in %.1f ms (%ld found)\n", notes, SecondsBetween(parsed, looked) * 1000, found);
    return 0;
}
