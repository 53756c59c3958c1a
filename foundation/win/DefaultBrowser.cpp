#include "foundation/win/DefaultBrowser.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "foundation/DiagnosticLog.h"
#include "foundation/RegistryKey.h"
#include "foundation/ResourceData.h"
#include "foundation/bytes/QuotedLink.h"
#include "resources/ids/ShellIds.h"

namespace {
const char kLogPrefix[] = "GetDefaultBrowser(): ";

// The "open" command's text; false when the value is missing, not a string or
// longer than a path.
bool ReadCommand(CRegistryKey& key, std::string& command)
{
    DWORD type = 0;
    DWORD size = 0;
    char text[MAX_PATH * 2];
    if (!key.GetTypeAndSize(nullptr, &type, &size) || type != REG_SZ || size >= sizeof text)
        return false;
    DWORD read = sizeof text - 1;
    if (!key.Query(nullptr, &type, reinterpret_cast<BYTE*>(text), &read))
        return false;
    text[read < sizeof text ? read : sizeof text - 1] = 0;
    command = text;
    return true;
}

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
            WriteErrorLog(kLogPrefix, text.LoadString(GetModuleHandleA(nullptr), IDS_NO_DEFAULT_BROWSER));
            return false;
        }
    }
    std::string command;
    if (!ReadCommand(key, command)) {
        WriteErrorLog(kLogPrefix, "Could not read the default browser name");
        return false;
    }
    command = TrimmedLowered(command);
    if (command.find(".exe") == std::string::npos) {
        std::string entry =
            "\r\nThe registry key where the default browser name should be, does not refer to an EXE file ??\r\n" +
            command;
        AppendTextToFile(entry.c_str(), "error.txt");
        return false;
    }
    return ExtractProgramPath(command.c_str(), buffer, size);
}
