#pragma once

// Some things belong to the main thread alone: the pools' movable blocks, the
// GDI caches, the lists of notes. They check where they are called, so that a
// use from a worker thread fails at once instead of reading bytes that the main
// thread is moving.
//
// The main thread is recorded while the program's static objects are built,
// before WinMain (or a test's main) runs and before any other thread exists.

bool OnMainThread();

// Does nothing on the main thread. Elsewhere it logs
// "<what> called from a thread other than the main thread" to "error.txt" and
// throws it as a CGenericException, in every build: the caller is wrong, and
// going on could corrupt memory.
void RequireMainThread(const char* what);
