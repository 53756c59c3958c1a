#pragma once

#include <exception>

#include "foundation/bytes/GenericException.h"

// The one guard at every place where Windows calls the program: window and dialog
// procedures, thread functions, stream, enumeration, hook and timer callbacks.
// An exception cannot unwind through the system's frames, so none may leave.
//  - A CGenericException is shown in an error box with its text.
//  - Anything else is logged to "error.txt" and reported as an internal error.
// The callback then answers its safe value.

// What the user is told of a failure that is not the program's own exception.
extern const char kInternalErrorText[];

void ReportCallbackException(const CGenericException& failure);
void ReportUnexpectedFailure(const char* what);

template <class R, class Body>
R GuardCallback(R safeResult, Body&& body) noexcept
{
    try {
        return body();
    } catch (const CGenericException& failure) {
        ReportCallbackException(failure);
    } catch (const std::exception& failure) {
        ReportUnexpectedFailure(failure.what());
    } catch (...) {
        ReportUnexpectedFailure(nullptr);
    }
    return safeResult;
}

template <class Body>
void GuardCallback(Body&& body) noexcept
{
    GuardCallback(0, [&] {
        body();
        return 0;
    });
}

// WM_CREATE: a failure is kept (for this thread) and the creation refused with -1;
// CreateWindowChecked rethrows it after CreateWindowEx returns.
template <class Body>
long GuardCreate(Body&& body) noexcept;

void KeepCreationFailure(std::exception_ptr failure) noexcept;
// Rethrows the failure kept during the last window creation on this thread, if any.
void RethrowCreationFailure();

template <class Body>
long GuardCreate(Body&& body) noexcept
{
    try {
        return body();
    } catch (...) {
        KeepCreationFailure(std::current_exception());
        return -1;
    }
}
