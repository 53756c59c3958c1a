#pragma once

#include <cstdio>

#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"

// Runs an operation whose failures end in a box without owner or icon, captioned
// with the program title: a CGenericException shows its text, followed by a blank
// and the detail when one is given; anything else shows the fixed text. The
// operation's answer is false after a failure.
template <class Body>
bool RunShowingFailures(const char* detail, const char* unknownFailureText, Body&& body)
{
    try {
        return body();
    } catch (const CGenericException& failure) {
        char text[CGenericException::kMaxTextLength + 400];
        if (detail)
            std::snprintf(text, sizeof text, "%s %s", failure.GetErrorText(), detail);
        else
            std::snprintf(text, sizeof text, "%s", failure.GetErrorText());
        ShowMessageBox(nullptr, text, ProgramTitle, kMbOk);
    } catch (...) {
        ShowMessageBox(nullptr, unknownFailureText, ProgramTitle, kMbOk);
    }
    return false;
}
