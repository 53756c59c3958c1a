#include "shell/bytes/HotkeyClashText.h"

#include <algorithm>

namespace {
const char kChooseAnother[] = " Please make sure that you choose different hotkey combinations.";

std::string WithoutBlanks(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}
}

std::string GroupClashText(const std::string& combination, const std::string& name, bool forGroup,
                           const std::string& otherGroup, bool* warning)
{
    // A one-letter group name reads better as "hotkey", and sharing it is refused.
    const bool namedGroup = forGroup && name.size() >= 2;
    if (warning)
        *warning = namedGroup;
    return "The hotkey combination (" + WithoutBlanks(combination) + ") you've selected for the '" + name +
           (namedGroup ? "' group\r\n" : "' hotkey\r\n") + "  is already used for the '" + otherGroup +
           "' group.\r\n\r\n" +
           (namedGroup ? "If this is what you want then it's ok, but usually each group uses a different \r\n"
                         "  hotkey combination."
                       : kChooseAnother);
}

std::string ActionClashText(const std::string& combination, const std::string& name, bool forGroup,
                            const std::string& actionName)
{
    return "The hotkey combination (" + WithoutBlanks(combination) +
           (forGroup ? ") you've selected for the group\r\n" : ") you've selected for \r\n") + "  '" + name +
           "' is already in use for the '" + actionName + "' hotkey.\r\n\r\n" + kChooseAnother;
}
