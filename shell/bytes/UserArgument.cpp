#include "shell/bytes/UserArgument.h"

#include <cctype>
#include <cstring>

#include "foundation/bytes/WebAddresses.h"

const char kUserGuideAddress[] = QN_USER_GUIDE_PAGE;

namespace {
const char kThankYou[] = "              Thank you.";
const char* const kReservedFolders[] = {"backup", "attached", "qldata", "install-data"};
const size_t kTruncationWarningLength = 101;
const size_t kMaxFullPath = 260;

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}
}

std::string UserGuideLines()
{
    return std::string("Please check the Quillnet+/PLX Advanced user guide.\r\n(") + kUserGuideAddress + ")\r\n\r\n" +
           kThankYou;
}

namespace {
std::string CorrectUsageLines()
{
    return "The correct command line is: qnPost.exe /u=ANameWithoutSpaces or\r\n"
           "                                              qnpost.exe /u=\"A Name With Spaces\" \r\n\r\n" +
           UserGuideLines();
}

bool IsDeviceName(const std::string& name)
{
    std::string base = Lower(name.substr(0, name.find('.')));
    if (base == "con" || base == "prn" || base == "aux" || base == "nul")
        return true;
    if (base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0))
        return base[3] >= '1' && base[3] <= '9';
    return false;
}
}

std::string FirstStartUsageText()
{
    return "The first time you run Quillnet+, please use the following syntax:\r\n qnpost.exe or\r\n qnpost.exe /u \r\n"
           " qnpost.exe /u=ANameWithoutSpaces or \r\n qnpost.exe /u=\"A Name With Spaces\" \r\n\r\n"
           "Then you can use the other command line arguments you need, such as these:\r\n qnpost.exe /new or\r\n"
           " qnpost.exe /send computerName \"text\", etc. \r\n\r\n" +
           UserGuideLines();
}

bool IsInvalidFolderName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return true;
    char last = name.back();
    if (last == '.' || last == ' ')
        return true;
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 32 || std::strchr("\\/:*?<>|\"", c))
            return true;
    }
    return IsDeviceName(name);
}

UserArgumentCheck CheckUserArgument(const std::string& argument, int argumentCount, const std::string& windowsUser,
                                    size_t programPathLength)
{
    UserArgumentCheck check;
    std::string text = argument;
    if (Lower(text) == "/u")
        text += "=" + windowsUser;
    else if (Lower(text) == "/u=")
        text += windowsUser;

    size_t start = text.find("/u=");
    if (start == std::string::npos)
        start = text.find("/U=");
    if (argumentCount >= 3 || start == std::string::npos) {
        check.outcome = UserArgumentCheck::kUsage;
        check.refusal = FirstStartUsageText();
        return check;
    }
    std::string name = text.substr(start + 3);

    if (IsInvalidFolderName(name)) {
        check.outcome = UserArgumentCheck::kInvalidName;
        check.refusal = "The " + Quoted(text) +
                        " parameter is incorrect because it contains characters not allowed in a folder name "
                        "(\\ / : * ? < > |)\r\n\r\n" +
                        CorrectUsageLines();
        return check;
    }
    size_t fullLength = name.size() + 1 + programPathLength;
    if (fullLength >= kMaxFullPath) {
        check.outcome = UserArgumentCheck::kPathTooLong;
        check.refusal = "The " + Quoted(text) + " parameter is too long(" + std::to_string(fullLength) +
                        "), exceeds 260 characters.\r\n\r\nPlease use a shorter character string for the /u= "
                        "argument.\r\n\r\n" +
                        kThankYou;
        return check;
    }
    if (name.size() >= kTruncationWarningLength)
        check.warning = "The " + Quoted(text) + " parameter is too long. It will be truncated to 100 characters.";
    for (const char* reserved : kReservedFolders) {
        if (Lower(name) == reserved) {
            check.outcome = UserArgumentCheck::kReserved;
            check.refusal = "The " + Quoted(text) + " command line argument is incorrect because the folder " +
                            Quoted(name) + " is reserved by Quillnet+.\r\n\r\n" + CorrectUsageLines();
            return check;
        }
    }
    if (name.size() > kMaxUserFolderName) {
        check.outcome = UserArgumentCheck::kNameTooLong;
        check.refusal = "The " + Quoted(text) + " command line argument is incorrect because the " + Quoted(name) +
                        " name is longer than 25 characters.\r\n\r\n"
                        "Please limit the length of the /u=... argument to maximum 25 characters. Thank you.\r\n";
        return check;
    }
    check.outcome = UserArgumentCheck::kAccepted;
    check.folderName = name;
    return check;
}
