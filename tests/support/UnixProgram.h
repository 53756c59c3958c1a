#pragma once

#include <string>

// Starts a Linux program from a test (a shell, Python), whose end no Windows
// handle tells: callers watch what it writes instead. The application may be
// null, the command line's first word naming the program. False when it could
// not be started.
bool StartUnixProgram(const char* application, const std::string& commandLine);

// The Linux path of a Windows path, as a program outside Wine must be told it;
// empty when Wine cannot tell it.
std::string UnixPath(const std::string& windowsPath);
