#pragma once

#include <windows.h>

#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"

class CNoteController;

// A note creation whose failure is told to the user; the program goes on.
template <class Body>
CNoteController* CreateReporting(HWND owner, Body&& body)
{
    try {
        return body();
    } catch (const CGenericException& failure) {
        ShowMessageBox(owner, failure.GetErrorText(), "Note creation failed", kMbIconExclamation);
    } catch (...) {
        ShowMessageBox(owner, "Unknown Error", "Note creation failed", kMbIconExclamation);
    }
    return nullptr;
}
