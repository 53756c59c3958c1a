#include "MailServer.h"

#include <string>

#include "support/ProgramDriver.h"
#include "support/UnixProgram.h"

namespace {
// The script lies beside this file in the sources.
std::string ScriptPath()
{
    return UnixPathBesideSource(__FILE__, "mail_server.py");
}

bool WaitFor(const std::string& path, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(50))
        if (FileExists(path))
            return true;
    return FileExists(path);
}
}

MailServer::MailServer(const std::string& options)
{
    std::string command = "python3 " + ScriptPath() + " " + UnixPath(m_folder.Path()) + " " + options;
    // Wine starts a Linux program from its path on the Z: drive; the server is
    // watched through its folder.
    if (!StartUnixProgram("Z:\\usr\\bin\\python3", command))
        return;
    if (WaitFor(m_folder.File("port"), kDriverWaitMs))
        m_port = static_cast<unsigned short>(std::stoi(ReadWholeFile(m_folder.File("port"))));
}

MailServer::~MailServer()
{
    WriteWholeFile(m_folder.File("stop"), "");
    WaitFor(m_folder.File("stopped"), 5000);
}

bool MailServer::WaitForMessage(int n, DWORD timeoutMs) const
{
    return WaitFor(m_folder.File("message-" + std::to_string(n) + ".facts"), timeoutMs);
}

std::string MailServer::Fact(int n, const std::string& key) const
{
    std::string facts = "\n" + Read("message-" + std::to_string(n) + ".facts");
    size_t at = facts.find("\n" + key + "=");
    if (at == std::string::npos)
        return "(none)";
    at += key.size() + 2;
    return facts.substr(at, facts.find('\n', at) - at);
}

std::string MailServer::Read(const std::string& name) const
{
    return FileExists(m_folder.File(name)) ? ReadWholeFile(m_folder.File(name)) : std::string();
}

bool MailServer::Has(const std::string& name) const
{
    return FileExists(m_folder.File(name));
}
