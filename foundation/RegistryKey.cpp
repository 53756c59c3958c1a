#include "foundation/RegistryKey.h"

#include <cstdio>
#include <cstring>

#include "foundation/bytes/MessageBoxes.h"

CRegistryKey::CRegistryKey(HKEY root, const char* path) : m_root(root)
{
    SetPath(path);
}

void CRegistryKey::SetPath(const char* path)
{
    std::snprintf(m_path, sizeof m_path, "%s", path ? path : "");
}

bool CRegistryKey::Open(REGSAM access)
{
    Close();
    m_isOpen = RegOpenKeyExA(m_root, m_path[0] ? m_path : nullptr, 0, access, &m_key) == ERROR_SUCCESS;
    if (!m_isOpen)
        m_key = nullptr;
    return m_isOpen;
}

bool CRegistryKey::RequireOpen(const char* reminder)
{
    if (m_isOpen)
        return true;
    ShowErrorMessage(ForegroundOwner(), reminder, ProgramTitle);
    return false;
}

bool CRegistryKey::Query(const char* valueName, DWORD* type, BYTE* data, DWORD* size)
{
    if (!RequireOpen("You forgot to open the registry key before Query"))
        return false;
    return RegQueryValueExA(m_key, valueName, nullptr, type, data, size) == ERROR_SUCCESS;
}

bool CRegistryKey::GetTypeAndSize(const char* valueName, DWORD* type, DWORD* size)
{
    *type = 0;
    *size = 0;
    if (!RequireOpen("You forgot to open the registry key before GetTypeAndSize"))
        return false;
    return RegQueryValueExA(m_key, valueName, nullptr, type, nullptr, size) == ERROR_SUCCESS;
}

bool CRegistryKey::ReadValue(const char* valueName, BYTE* data, DWORD* size)
{
    if (!RequireOpen("You forgot to open the registry key before ReadValue"))
        return false;
    return RegQueryValueExA(m_key, valueName, nullptr, nullptr, data, size) == ERROR_SUCCESS;
}

bool CRegistryKey::Create(const char* subKey)
{
    Close();
    DWORD disposition = 0;
    char keyClass[] = "REG_SZ";
    m_isOpen = RegCreateKeyExA(m_root, subKey, 0, keyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &m_key,
                               &disposition) == ERROR_SUCCESS;
    if (!m_isOpen)
        m_key = nullptr;
    return m_isOpen;
}

bool CRegistryKey::CreateNested(const char* subKey, const char* nestedSubKey)
{
    if (!Create(subKey))
        return false;
    HKEY outer = m_key;
    HKEY nested = nullptr;
    DWORD disposition = 0;
    char keyClass[] = "REG_SZ";
    m_isOpen = RegCreateKeyExA(outer, nestedSubKey, 0, keyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                               &nested, &disposition) == ERROR_SUCCESS;
    RegCloseKey(outer);
    m_key = m_isOpen ? nested : nullptr;
    return m_isOpen;
}

bool CRegistryKey::SetStringValue(const char* valueName, const char* text)
{
    char message[600];
    if (!m_key && !Open(KEY_WRITE)) {
        std::snprintf(message, sizeof message, "CRegistryKey::SetStringValue failed gate 1\r\n%s  %s",
                      valueName ? valueName : "", text);
        ShowMessageBox(nullptr, message, ProgramTitle, kMbOk);
        return false;
    }
    DWORD size = static_cast<DWORD>(std::strlen(text)) + 1;
    if (RegSetValueExA(m_key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) != ERROR_SUCCESS) {
        std::snprintf(message, sizeof message, "CRegistryKey::SetStringValue failed gate 2\r\n%s  %s",
                      valueName ? valueName : "", text);
        ShowMessageBox(nullptr, message, ProgramTitle, kMbOk);
        return false;
    }
    return true;
}

bool CRegistryKey::DeleteFullKey(const char* subKey)
{
    if (RegDeleteKeyA(m_root, subKey) != ERROR_SUCCESS) {
        char message[300];
        std::snprintf(message, sizeof message, "CRegistryKey::DeleteFullKey failed \r\n%s  ", subKey);
        ShowMessageBox(nullptr, message, ProgramTitle, kMbOk);
        return false;
    }
    return true;
}

void CRegistryKey::Close()
{
    if (m_key)
        RegCloseKey(m_key);
    m_key = nullptr;
    m_isOpen = false;
}

void CRegistryKey::Reset(HKEY root, const char* path)
{
    Close();
    m_root = root;
    SetPath(path);
}
