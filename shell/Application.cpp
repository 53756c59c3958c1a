#include "shell/Application.h"

#include <windows.h>
#include <ole2.h>

#include "foundation/bytes/MessageBoxes.h"

CApplication::CApplication()
{
    DeleteFileA("log.txt");
    m_oleInitialized = SUCCEEDED(OleInitialize(nullptr));
    if (!m_oleInitialized)
        ShowMessageBox(nullptr, "OleInitialize failed ?", ProgramTitle, kMbOk);
}

CApplication::~CApplication()
{
    if (m_oleInitialized)
        OleUninitialize();
}
