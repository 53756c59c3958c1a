#pragma once

#include <windows.h>

// One registry key below a predefined root. Failures are shown in boxes and
// answered with false, never thrown.
class CRegistryKey {
public:
    CRegistryKey(HKEY root, const char* path);
    ~CRegistryKey() { Close(); }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    bool Open(REGSAM access);
    bool Query(const char* valueName, DWORD* type, BYTE* data, DWORD* size);
    bool GetTypeAndSize(const char* valueName, DWORD* type, DWORD* size);
    bool ReadValue(const char* valueName, BYTE* data, DWORD* size);
    bool Create(const char* subKey);
    bool CreateNested(const char* subKey, const char* nestedSubKey);
    bool SetStringValue(const char* valueName, const char* text);
    bool DeleteFullKey(const char* subKey);
    void Close();
    void Reset(HKEY root, const char* path);

    bool IsOpen() const { return m_isOpen; }

private:
    bool RequireOpen(const char* reminder);
    void SetPath(const char* path);

    HKEY m_root;
    char m_path[201];
    bool m_isOpen = false;
    HKEY m_key = nullptr;
};
