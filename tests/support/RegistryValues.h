#pragma once

#include <windows.h>

#include <string>

// Registry values set, read and removed directly, to prepare and check what the
// program reads and writes. A null name stands for the key's default value.
void SetRegistryText(HKEY root, const char* path, const char* name, const std::string& text);
// A REG_EXPAND_SZ value, whose "%NAME%" parts the reader expands.
void SetRegistryExpandableText(HKEY root, const char* path, const char* name, const std::string& text);
void SetRegistryNumber(HKEY root, const char* path, const char* name, DWORD value);
// The text, or "(no key)", "(no value)" or "(not text)".
std::string RegistryText(HKEY root, const char* path, const char* name);
void RemoveRegistryValue(HKEY root, const char* path, const char* name);
void DeleteRegistryTree(HKEY root, const std::string& path);
