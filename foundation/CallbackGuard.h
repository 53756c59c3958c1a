#pragma once

#include <windows.h>

#include <exception>
#include <memory>
#include <string>

#include "foundation/bytes/GenericException.h"

// The one guard at every place where Windows calls the program: window and dialog
// procedures, thread functions, stream, enumeration, hook and timer callbacks.
// An exception cannot unwind through the system's frames, so none may leave.
//  - A CGenericException is shown in an error box with its text, except a write
//    refused because the data files are sealed: that is only logged.
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

// The quiet guard, for worker threads and callbacks that run inside C code: no
// box (a worker must not wait on one, and a box's message loop must not run
// inside a library's frames). The failure is logged to "error.txt" as
// "Internal error: <text>" and its text is posted to the window chosen by
// SetQuietFailureTarget, which tells the user when it suits.
void ReportQuietFailure(const char* text) noexcept;
void ReportQuietException(const CGenericException& failure) noexcept;

template <class R, class Body>
R GuardQuietly(R safeResult, Body&& body) noexcept
{
    try {
        return body();
    } catch (const CGenericException& failure) {
        ReportQuietException(failure);
    } catch (const std::exception& failure) {
        ReportQuietFailure(failure.what());
    } catch (...) {
        ReportQuietFailure("unknown exception");
    }
    return safeResult;
}

// The main window sets itself as the target at start (and null at close). Each
// quiet failure posts the message with a heap copy of its text as lParam
// (wParam 0); the window takes it with TakeQuietFailure, which frees it. A post
// that cannot be made frees the copy at once.
void SetQuietFailureTarget(HWND window, UINT message);
std::unique_ptr<std::string> TakeQuietFailure(LPARAM lParam);

// WM_CREATE: a failure is kept (for this thread) and the creation refused with -1;
// CFrameWindow::Create rethrows it after CreateWindowEx returns.
template <class Body>
long GuardCreate(Body&& body) noexcept;

void KeepCreationFailure(std::exception_ptr failure) noexcept;
// Forgets a kept failure that nobody asked for (a window created without the
// frame class): called at the start of each creation, so that an old failure
// can never stand in for a new one.
void ClearCreationFailure() noexcept;
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
