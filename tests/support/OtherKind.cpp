#include "support/OtherKind.h"

#include <windows.h>

#include <stdexcept>

#include "support/InFolder.h"
#include "support/TempFolder.h"
#include "support/UnixProgram.h"

namespace {
// The other kind's build folder, a Unix path given by the build.
const char kOtherKindBuild[] = QN_OTHER_KIND_BUILD;

std::string WindowsPathOfUnixPath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string OtherKindProgramPath()
{
    return WindowsPathOfUnixPath(std::string(kOtherKindBuild) + "/qnpost.exe");
}

// What "wine-kind.sh wine32-trouble" says, and a mark file once it has.
std::string AskWhy32BitWineCannotStart()
{
    TempFolder folder("kind");
    const std::string answer = folder.File("trouble.txt");
    const std::string mark = folder.File("asked.mark");
    const std::string script = UnixPathBesideSource(__FILE__, "../../scripts/wine-kind.sh");
    StartShellScript("bash '" + script + "' wine32-trouble >'" + UnixPath(answer) + "' 2>&1; touch '" +
                     UnixPath(mark) + "'");
    if (!WaitUntil([&] { return FileExists(mark); }, 60000))
        return "the check of 32-bit Wine did not answer";
    std::string said = ReadWholeFile(answer);
    while (!said.empty() && (said.back() == '\n' || said.back() == '\r'))
        said.pop_back();
    return said;
}

void UseProgram(const ProgramInstall& install, const std::string& program)
{
    if (!CopyFileA(program.c_str(), install.File("qnpost.exe").c_str(), FALSE))
        throw std::runtime_error("cannot copy " + program + " into " + install.Path());
}
}

int OwnKindBits()
{
    return sizeof(void*) == 8 ? 64 : 32;
}

int OtherKindBits()
{
    return OwnKindBits() == 64 ? 32 : 64;
}

const std::string& OtherKindTrouble()
{
    static const std::string trouble = [] {
        // A 32-bit Windows, which a 32-bit prefix is, runs no 64-bit program.
        if (OwnKindBits() == 32)
            return std::string("a 32-bit Windows runs no 64-bit program");
        if (!FileExists(OtherKindProgramPath()))
            return "it is not built (" + OtherKindProgramPath() + ")";
        return AskWhy32BitWineCannotStart();
    }();
    return trouble;
}

void UseOtherKindProgram(const ProgramInstall& install)
{
    UseProgram(install, OtherKindProgramPath());
}

void UseOwnKindProgram(const ProgramInstall& install)
{
    UseProgram(install, ProgramFolder() + "\\qnpost.exe");
}
