#pragma once

#include <windows.h>

#include <string>

#include "foundation/bytes/GenericException.h"

// A text of the program's string table, at most 150 characters.
class CResourceString {
public:
    CResourceString() { m_text[0] = 0; }
    const char* LoadString(HINSTANCE module, UINT id);
    const char* LoadResource(HINSTANCE module, UINT id);
    // Appends when the whole still fits; otherwise throws and keeps the text.
    CResourceString& operator+=(const char* text);
    const char* GetText() const { return m_text; }

    enum { kCapacity = 151 };

private:
    const char* Load(HINSTANCE module, UINT id, const char* failureText);
    char m_text[kCapacity];
};

// A text of the program's string table, however long; empty when there is none.
std::string ResourceText(UINT id);

// A custom binary resource of the program file, such as the templates of an empty
// notes table and memo file (id 729, types "QPD" and "QPS").
class CResourceData {
public:
    CResourceData(WORD id, const char* type);
    bool LoadCustomResource(WORD id, const char* type);
    bool IsCustomResourceLoaded() const { return m_resource && m_loaded; }
    // Writes the resource's bytes as the new contents of the file, which is
    // replaced whole; false, and the file as it was, when that fails.
    bool CopyResourceToFile(const char* path);

private:
    void ReportFailure(const char* step);

    HRSRC m_resource = nullptr;
    HGLOBAL m_loaded = nullptr;
    WORD m_id = 0;
    char m_type[100] = "";
};
