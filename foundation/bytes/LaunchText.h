#pragma once

#include <cstddef>

// The texts handed to other programs when the program opens links, documents
// and programs. Each is built within its buffer; a text that would not fit is
// refused whole rather than cut, since a cut command could mean something else.

enum class LaunchTextResult {
    kBuilt,
    kQuoteInArgument, // a quotation mark inside the argument would end it early
    kTooLong,
};

// The command, a blank and the argument; the argument goes in quotation marks
// when it holds a blank or a tab or came in them. No argument leaves the
// command as it is.
LaunchTextResult BuildLaunchCommandLine(const char* command, const char* argument, char* out, size_t size);

// A link made safe to pass on: an enclosing pair of quotation marks is dropped
// and every quotation mark inside becomes "%22", which addresses read as the
// same character. Paths never hold one, so they pass unchanged.
LaunchTextResult EscapeLinkQuotes(const char* link, char* out, size_t size);

// A link for the shell when no browser is known: in quotation marks when it
// holds a blank and no comma.
LaunchTextResult QuoteLinkForShell(const char* link, char* out, size_t size);
