#pragma once

#include <cstddef>

// The default web browser's program path from the registry's "open" command for
// http (or for HTML files when http has none), trimmed and lower-cased. False,
// with a line in "error.txt", when none can be found.
bool GetDefaultBrowser(char* buffer, size_t size);
