#include "support/HeldFile.h"

namespace {
HoldAtSaveStep* g_watching = nullptr;
}

bool HeldFile::Hold(const std::string& path, DWORD sharing, DWORD access)
{
    Release();
    m_handle = CreateFileA(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return Held();
}

void HeldFile::Release()
{
    if (Held())
        CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

HoldAtSaveStep::HoldAtSaveStep(SaveStep step, const std::string& path) : m_step(step), m_path(path)
{
    g_watching = this;
    SetSaveStepObserver(&HoldAtSaveStep::OnStep);
}

HoldAtSaveStep::~HoldAtSaveStep()
{
    SetSaveStepObserver(nullptr);
    g_watching = nullptr;
}

void HoldAtSaveStep::OnStep(SaveStep step)
{
    if (!g_watching || step != g_watching->m_step || g_watching->m_taken)
        return;
    g_watching->m_taken = true;
    g_watching->m_file.Hold(g_watching->m_path, kHolderSharesReadWrite);
}
