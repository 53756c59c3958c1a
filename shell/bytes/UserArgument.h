#pragma once

#include <string>

// The "/u=" argument that chooses a user's own data folder beside the program.
// Only the first start of the program may carry a command line, and only this
// one; every refusal comes with the text the user is shown.

// Where the user guide lives; the usage texts point there.
extern const char kUserGuideAddress[];

// The longest user folder name.
const size_t kMaxUserFolderName = 25;

struct UserArgumentCheck {
    enum Outcome {
        kAccepted,
        kUsage,           // not a "/u=" argument, or too many arguments
        kInvalidName,     // characters or a name no folder may have
        kPathTooLong,     // program path, "\" and name reach 260 characters
        kReserved,        // a folder the program keeps for itself
        kNameTooLong,     // more than 25 characters
    };
    Outcome outcome = kUsage;
    std::string folderName;   // the accepted name
    std::string warning;      // shown first, when the name is very long
    std::string refusal;      // the error text of a refusal
};

// argument: the first command-line argument; argumentCount counts the program
// itself; windowsUser: the name "/u" and "/u=" stand for; programPathLength:
// the length of the program file's full path.
UserArgumentCheck CheckUserArgument(const std::string& argument, int argumentCount, const std::string& windowsUser,
                                    size_t programPathLength);

// The closing lines of every usage text: where the guide is, and thanks.
std::string UserGuideLines();

// The text of the first-start refusal, also used by the running instance.
std::string FirstStartUsageText();

// A name that a folder cannot have or that stands for a device: ".", "..",
// a trailing dot or blank, CON, PRN, AUX, NUL, COM1-9, LPT1-9 (also with an
// extension), or any of \ / : * ? < > | and control characters.
bool IsInvalidFolderName(const std::string& name);
