#include "foundation/CallbackGuard.h"

#include <windows.h>

#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/MessageBoxes.h"

const char kInternalErrorText[] =
    "Quillnet+ Internal Error.\r\n\r\nPlease check the error.txt file in the Quillnet+ folder.";

namespace {
thread_local std::exception_ptr t_creationFailure;
}

void ReportCallbackException(const CGenericException& failure)
{
    try {
        ShowErrorMessage(GetForegroundWindow(), failure.GetErrorText(), ProgramTitle);
    } catch (...) {
    }
}

void ReportUnexpectedFailure(const char* what)
{
    try {
        WriteErrorLog("Internal error: ", what ? what : "unknown exception", nullptr);
        ShowErrorMessage(GetForegroundWindow(), kInternalErrorText, ProgramTitle);
    } catch (...) {
    }
}

void KeepCreationFailure(std::exception_ptr failure) noexcept
{
    t_creationFailure = failure;
}

void RethrowCreationFailure()
{
    std::exception_ptr failure = t_creationFailure;
    t_creationFailure = nullptr;
    if (failure)
        std::rethrow_exception(failure);
}
