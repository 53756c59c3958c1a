// A note that was never stored gets its record when it is tied to another
// program's window: that record holds what the user typed, so a program that
// dies while the tie's dialog is up keeps the text.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "shell/UnstoredEditDriving.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"

namespace {
const char kAssociationDialogTitle[] = "Associate note with applications";
const char kTyped[] = "Typed before its tie";
}

TEST(NoteAssociationStore, ANewNoteTiedFromItsMenuIsStoredWithItsTypedText)
{
    ProgramInstall install("tiednew");
    InstallWithOneNote(install);
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    HWND note = NewNoteFromMainWindow(main, process);
    ASSERT_NE(note, nullptr);
    TypeAtStart(note, kTyped);
    ASSERT_EQ(WaitForNoteWithText(process, kTyped), note);

    // The note's menu, at the pointer in its body, and "Associate note with..." by its letter.
    const RECT body = RectOf(BodyOf(note));
    RightClickAt({(body.left + body.right) / 2, (body.top + body.bottom) / 2});
    HWND menu = WaitForOpenMenus(process, 1);
    ASSERT_NE(menu, nullptr);
    PressMenuKey(menu, 'W');
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (dialog = FindTopWindowTitled("#32770", kAssociationDialogTitle, process)) != nullptr; }));

    // The record the tie needs is on disk before the dialog asks anything,
    // with the typed text.
    EXPECT_TRUE(StoredNoteHas(install.Path(), kTyped));
    EXPECT_TRUE(StoredNoteHas(install.Path(), kStoredText));
}
