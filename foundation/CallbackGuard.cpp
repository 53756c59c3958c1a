#include "foundation/CallbackGuard.h"

#include <atomic>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/MessageBoxes.h"

const char kInternalErrorText[] =
    "Quillnet+ Internal Error.\r\n\r\nPlease check the error.txt file in the Quillnet+ folder.";

namespace {
// A plain pointer: a thread-local object with a destructor can hang the process
// at exit under this runtime.
thread_local std::exception_ptr* t_creationFailure = nullptr;
std::atomic<HWND> g_quietTarget{nullptr};
std::atomic<UINT> g_quietMessage{0};
}

void ReportCallbackException(const CGenericException& failure)
{
    // The refusal is in error.txt, and the user was told why nothing is written.
    if (IsSealedRefusal(failure))
        return;
    try {
        ShowErrorMessage(ForegroundOwner(), failure.GetErrorText(), ProgramTitle);
    } catch (...) {
    }
}

void ReportUnexpectedFailure(const char* what)
{
    try {
        WriteErrorLog("Internal error: ", what ? what : "unknown exception", nullptr);
        ShowErrorMessage(ForegroundOwner(), kInternalErrorText, ProgramTitle);
    } catch (...) {
    }
}

void ReportQuietFailure(const char* text) noexcept
{
    try {
        WriteErrorLog("Internal error: ", text, nullptr);
        HWND target = g_quietTarget.load();
        if (!target)
            return;
        std::unique_ptr<std::string> payload(new std::string(text ? text : ""));
        if (PostMessageA(target, g_quietMessage.load(), 0, reinterpret_cast<LPARAM>(payload.get())))
            payload.release();
    } catch (...) {
    }
}

void ReportQuietException(const CGenericException& failure) noexcept
{
    if (!IsSealedRefusal(failure))
        ReportQuietFailure(failure.GetErrorText());
}

void SetQuietFailureTarget(HWND window, UINT message)
{
    g_quietMessage = message;
    g_quietTarget = window;
}

std::unique_ptr<std::string> TakeQuietFailure(LPARAM lParam)
{
    return std::unique_ptr<std::string>(reinterpret_cast<std::string*>(lParam));
}

void KeepCreationFailure(std::exception_ptr failure) noexcept
{
    ClearCreationFailure();
    try {
        t_creationFailure = new std::exception_ptr(failure);
    } catch (...) {
    }
}

void ClearCreationFailure() noexcept
{
    delete t_creationFailure;
    t_creationFailure = nullptr;
}

void RethrowCreationFailure()
{
    std::exception_ptr failure = t_creationFailure ? *t_creationFailure : nullptr;
    ClearCreationFailure();
    if (failure)
        std::rethrow_exception(failure);
}
