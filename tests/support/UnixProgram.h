#pragma once

#include <string>

// Starts a Linux program from a test (a shell, Python), whose end no Windows
// handle tells: callers watch what it writes instead. The application may be
// null, the command line's first word naming the program. False when it could
// not be started.
bool StartUnixProgram(const char* application, const std::string& commandLine);
// Starts a shell script (one holding no double quotes) with its output sent
// nowhere, so that the Wine processes it starts never hold the test's output
// open; a script whose end matters leaves a mark file. Throws when it cannot
// be started.
void StartShellScript(const std::string& script);

// The Linux path of a Windows path, as a program outside Wine must be told it;
// empty when Wine cannot tell it.
std::string UnixPath(const std::string& windowsPath);

// The Linux path of a file beside a test's source file (sourceFile: its
// __FILE__), for a script the test runs. The compiler may have been given the
// source by a path relative to the build folder, where the test program lies
// (a compiler cache with a base folder does so).
std::string UnixPathBesideSource(const char* sourceFile, const char* name);
