#include "foundation/win/DefaultBrowser.h"

#include <windows.h>

#include <string>

#include "foundation/DiagnosticLog.h"
#include "foundation/ResourceData.h"
#include "foundation/bytes/QuotedLink.h"
#include "foundation/win/RegistryString.h"
#include "resources/ids/ShellIds.h"

namespace {
const char kDefaultBrowserLogPrefix[] = "GetDefaultBrowser(): ";

std::string TrimmedLowered(std::string text)
{
    size_t first = text.find_first_not_of(' ');
    size_t last = text.find_last_not_of(' ');
    text = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    if (!text.empty())
        CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}
}

bool GetDefaultBrowser(char* buffer, size_t size)
{
    if (!buffer || size == 0)
        return false;
    buffer[0] = 0;
    CRegistryKey key(HKEY_CLASSES_ROOT, "http\\shell\\open\\command");
    if (!key.Open(KEY_READ)) {
        key.Reset(HKEY_CLASSES_ROOT, "htmlfile\\shell\\open\\command");
        if (!key.Open(KEY_READ)) {
            CResourceString text;
            WriteErrorLog(kDefaultBrowserLogPrefix, text.LoadString(GetModuleHandleA(nullptr), IDS_NO_DEFAULT_BROWSER));
            return false;
        }
    }
    char command[MAX_PATH * 2];
    if (ReadRegistryString(key, nullptr, command, sizeof command) != RegistryStringRead::kRead) {
        WriteErrorLog(kDefaultBrowserLogPrefix, "Could not read the default browser name");
        return false;
    }
    std::string program = TrimmedLowered(command);
    if (program.find(".exe") == std::string::npos) {
        std::string entry =
            "\r\nThe registry key where the default browser name should be, does not refer to an EXE file ??\r\n" +
            program;
        AppendTextToFile(entry.c_str(), "error.txt");
        return false;
    }
    return ExtractProgramPath(program.c_str(), buffer, size);
}
