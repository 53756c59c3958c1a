// Reading a large backup-shaped XML file: the parse, then look-ups of every
// note. Beside the parse, its floor: "xmllint --noout" (when it is installed)
// reading the same file, which the benchmark writes; five pairs, the median.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "xmlfiles/bytes/XmlBufferDocument.h"

namespace {
const int kPairs = 5;
const char kXmllint[] = "Z:\\usr\\bin\\xmllint";

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

bool WriteWholeFile(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool whole = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                       written == text.size();
    CloseHandle(file);
    return whole;
}

// The file's name as xmllint, a program of the system under Wine, knows it;
// empty where there is no such system.
std::string SystemFileName(const std::string& path)
{
    using UnixFileName = char*(CDECL*)(LPCWSTR);
    auto unixFileName = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    wchar_t wide[MAX_PATH];
    if (!unixFileName || !MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH))
        return std::string();
    char* name = unixFileName(wide);
    if (!name)
        return std::string();
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// The whole run of "xmllint --noout" on the file, in seconds; below 0 when it
// could not be run.
double TimeXmllint(const std::string& path)
{
    const std::string systemPath = SystemFileName(path);
    if (systemPath.empty())
        return -1;
    std::string line = std::string("\"") + kXmllint + "\" --noout \"" + systemPath + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    LARGE_INTEGER start = BenchNow();
    if (!CreateProcessA(kXmllint, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    WaitForSingleObject(info.hProcess, 60000);
    const double seconds = SecondsBetween(start, BenchNow());
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return seconds;
}
}

int main()
{
    const int notes = 5000;
    std::string text = MakeBackupText(notes);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string path = std::string(temp) + "qn-xml-bench.xml";
    const bool written = WriteWholeFile(path, text);

    std::vector<double> parses, floors;
    CXMLBufferDocument document;
    for (int pair = 0; pair < kPairs; ++pair) {
        CXMLBufferDocument fresh;
        fresh.SetBuffer(text.data(), static_cast<int>(text.size()), "backup.QPK");
        LARGE_INTEGER start = BenchNow();
        if (!fresh.Parse()) {
            std::printf("parse failed: %s\n", fresh.GetErrorText());
            return 1;
        }
        parses.push_back(SecondsBetween(start, BenchNow()));
        const double floor = written ? TimeXmllint(path) : -1;
        if (floor >= 0)
            floors.push_back(floor);
    }
    document.SetBuffer(text.data(), static_cast<int>(text.size()), "backup.QPK");
    document.Parse();
    LARGE_INTEGER parsed = BenchNow();
    char value[64];
    char error[256];
    long found = 0;
    for (int k = 1; k <= notes; ++k)
        found += document.GetValue("backup", "note", k, "title", value, sizeof value, error, sizeof error) ? 1 : 0;
    LARGE_INTEGER looked = BenchNow();
    DeleteFileA(path.c_str());

    const double parse = Median(parses);
    std::printf("file: %.1f MB, %d notes\n", text.size() / 1048576.0, notes);
    std::printf("parse: %.1f ms (%.1f MB/s, median of %d)\n", parse * 1000, text.size() / 1048576.0 / parse, kPairs);
    if (floors.size() == static_cast<size_t>(kPairs)) {
        const double floor = Median(floors);
        std::printf("xmllint --noout: %.1f ms (median of %d), ratio %.2f\n", floor * 1000, kPairs, parse / floor);
    } else {
        std::printf("xmllint --noout: not run (it runs only where %s is installed, under Wine)\n", kXmllint);
    }
    std::printf("look-ups: %d in %.1f ms (%ld found)\n", notes, SecondsBetween(parsed, looked) * 1000, found);
    return 0;
}
