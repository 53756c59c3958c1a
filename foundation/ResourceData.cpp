#include "foundation/ResourceData.h"

#include <cstdio>
#include <cstring>

#include "foundation/DiagnosticLog.h"
#include "foundation/GenericFile.h"
#include "foundation/WorkingCopy.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"

const char* CResourceString::Load(HINSTANCE module, UINT id, const char* failureText)
{
    if (::LoadStringA(module, id, m_text, kCapacity) == 0)
        throw CGenericException(failureText);
    return m_text;
}

const char* CResourceString::LoadString(HINSTANCE module, UINT id)
{
    return Load(module, id, "CResourceString::LoadString failed");
}

const char* CResourceString::LoadResource(HINSTANCE module, UINT id)
{
    return Load(module, id, "CResourceString::LoadResource failed");
}

CResourceString& CResourceString::operator+=(const char* text)
{
    size_t length = std::strlen(m_text);
    size_t added = text ? std::strlen(text) : 0;
    if (length + added >= kCapacity)
        throw CGenericException("CResourceString:: concatenation failed");
    std::memcpy(m_text + length, text, added + 1);
    return *this;
}

CResourceData::CResourceData(WORD id, const char* type)
{
    LoadCustomResource(id, type);
}

void CResourceData::ReportFailure(const char* step)
{
    char description[400];
    FormatLastErrorText(GetLastError(), description, sizeof description);
    char text[700];
    std::snprintf(text, sizeof text, "%s%s (value=%d, type=%s)", description, step, m_id, m_type);
    ShowErrorMessage(ForegroundOwner(), text, ProgramTitle);
}

bool CResourceData::LoadCustomResource(WORD id, const char* type)
{
    m_id = id;
    std::snprintf(m_type, sizeof m_type, "%s", type ? type : "");
    m_resource = FindResourceA(nullptr, MAKEINTRESOURCEA(id), m_type);
    if (!m_resource) {
        ReportFailure("\r\nFindResource failed");
        return false;
    }
    m_loaded = ::LoadResource(nullptr, m_resource);
    if (!m_loaded) {
        ReportFailure("\r\nLoadResource failed");
        return false;
    }
    return true;
}

bool CResourceData::CopyResourceToFile(const char* path)
{
    if (!IsCustomResourceLoaded()) {
        char text[600];
        std::snprintf(text, sizeof text, "Sorry, the resource cannot be copied to %s (value=%d, type=%s)", path, m_id,
                      m_type);
        ShowErrorMessage(ForegroundOwner(), text, ProgramTitle);
        return false;
    }
    DWORD size = SizeofResource(nullptr, m_resource);
    const void* bytes = LockResource(m_loaded);
    if (size == 0 || !bytes)
        return false;
    // The new file replaces an existing one whole or not at all: one that cannot
    // be replaced (read-only, held by another program) stays as it was.
    try {
        CWorkingCopy file(path);
        file.File().WriteToFile(bytes, size);
        file.Commit();
        return true;
    } catch (const CGenericException&) {
        return false;
    }
}

std::string ResourceText(UINT id)
{
    char text[1024] = "";
    LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}
