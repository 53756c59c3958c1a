#include "xmlfiles/XmlDocument.h"

#include <windows.h>

#include "foundation/DataFolder.h"

CXMLDocument::CXMLDocument(const char* fileName)
{
    if (fileName && fileName[0])
        Open(fileName);
}

int CXMLDocument::Open(const char* fileName)
{
    CloseFile();
    m_file.OpenReadOnly(fileName);
    if (!m_file.CreateMappingReadOnly()) {
        SetErrorText("Invalid XML file ");
        return 0;
    }
    SetBuffer(reinterpret_cast<const char*>(m_file.GetView()), static_cast<int32_t>(m_file.GetViewSize()), fileName);
    return 1;
}

int CXMLDocument::Parse()
{
    // Dumps of the reader's passes left by older versions of the program.
    if (HasBuffer()) {
        DeleteFileA(DataFilePath(DataName::kXmlTokenDump).c_str());
        DeleteFileA(DataFilePath(DataName::kXmlTreeDump).c_str());
    }
    return CXMLBufferDocument::Parse();
}

void CXMLDocument::CloseFile()
{
    ClearBuffer();
    m_file.Close();
}
