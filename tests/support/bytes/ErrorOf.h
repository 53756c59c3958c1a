#pragma once

#include <functional>
#include <string>

#include "foundation/bytes/GenericException.h"

// The text of the CGenericException that the body throws, "" when none.
inline std::string ErrorOf(const std::function<void()>& body)
{
    try {
        body();
    } catch (const CGenericException& e) {
        return e.GetErrorText();
    }
    return "";
}
