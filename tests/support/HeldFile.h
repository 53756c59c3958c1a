#pragma once

#include <windows.h>

#include <string>

#include "store/SaveSteps.h"

// A file held open as another program (a virus scanner, a backup) holds it,
// so that the program's own steps on the file fail as they would then.

// Others may read and write the file, but not rename, replace or delete it.
const DWORD kHolderSharesReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
// Others may only read the file.
const DWORD kHolderSharesReading = FILE_SHARE_READ;
// Others may read, write, rename, replace or delete the file (a scanner that
// reads a file in the way of nobody).
const DWORD kHolderSharesEverything = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Others may not open the file at all.
const DWORD kHolderSharesNothing = 0;

class HeldFile {
public:
    HeldFile() = default;
    // Held for reading, or with GENERIC_WRITE as a program that writes it.
    HeldFile(const std::string& path, DWORD sharing, DWORD access = GENERIC_READ) { Hold(path, sharing, access); }
    ~HeldFile() { Release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    bool Hold(const std::string& path, DWORD sharing, DWORD access = GENERIC_READ);
    bool Held() const { return m_handle != INVALID_HANDLE_VALUE; }
    void Release();

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

// While alive, the file is taken hold of (sharing read and write) the first
// time a notes save of this process passes the step; it stays held until the
// object goes or Release is called.
class HoldAtSaveStep {
public:
    HoldAtSaveStep(SaveStep step, const std::string& path);
    ~HoldAtSaveStep();
    HoldAtSaveStep(const HoldAtSaveStep&) = delete;
    HoldAtSaveStep& operator=(const HoldAtSaveStep&) = delete;

    bool Held() const { return m_file.Held(); }
    void Release() { m_file.Release(); }

private:
    static void OnStep(SaveStep step);

    SaveStep m_step;
    std::string m_path;
    bool m_taken = false;
    HeldFile m_file;
};
