// Entry point of every Windows test program.
// - A box that no test expected is answered as Enter would answer it and named on
//   the error stream, so no test ever waits on a modal window.
// - Each program works in a fresh folder of its own, because the program's code
//   writes its reports ("error.txt", ...) into the working folder.
#include <windows.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "foundation/bytes/MessageBoxes.h"
#include "support/TempFolder.h"

namespace {
int UnexpectedBox(void*, const char* text, const char* caption, unsigned flags)
{
    std::fprintf(stderr, "Unexpected message box [%s]: %s\n", caption ? caption : "", text ? text : "");
    return DefaultButtonAnswer(flags);
}
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    SetMessageBoxHandler(&UnexpectedBox);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);

    TempFolder workFolder("run");
    SetCurrentDirectoryA(workFolder.Path().c_str());
    int result = RUN_ALL_TESTS();
    char root[MAX_PATH];
    GetTempPathA(sizeof root, root);
    SetCurrentDirectoryA(root);
    return result;
}
