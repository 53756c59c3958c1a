#include "support/RegistryValues.h"

#include <stdexcept>

namespace {
void SetValue(HKEY root, const char* path, const char* name, DWORD type, const void* bytes, DWORD size)
{
    HKEY key;
    if (RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error(std::string("cannot create ") + path);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(bytes), size);
    RegCloseKey(key);
}
}

void SetRegistryText(HKEY root, const char* path, const char* name, const std::string& text)
{
    SetValue(root, path, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void SetRegistryExpandableText(HKEY root, const char* path, const char* name, const std::string& text)
{
    SetValue(root, path, name, REG_EXPAND_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void SetRegistryNumber(HKEY root, const char* path, const char* name, DWORD value)
{
    SetValue(root, path, name, REG_DWORD, &value, sizeof value);
}

std::string RegistryText(HKEY root, const char* path, const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "(no key)";
    char text[MAX_PATH] = "";
    DWORD size = sizeof text;
    DWORD type = 0;
    LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return "(no value)";
    return type == REG_SZ ? text : "(not text)";
}

void RemoveRegistryValue(HKEY root, const char* path, const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name);
        RegCloseKey(key);
    }
}

void DeleteRegistryTree(HKEY root, const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    char name[MAX_PATH];
    while (RegEnumKeyA(key, 0, name, sizeof name) == ERROR_SUCCESS)
        DeleteRegistryTree(key, name);
    RegCloseKey(key);
    RegDeleteKeyA(root, path.c_str());
}
