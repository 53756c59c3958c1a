#pragma once

// The parts of the program that lower folders reach only through an interface
// or a function they were given, connected before anything else runs: the
// program at its start, each test program and benchmark at theirs.
void ConnectProgramParts();
