#include "xmlfiles/XmlWriter.h"

#include <cstdio>

#include "xmlfiles/bytes/XmlLines.h"

CXmlWriter::CXmlWriter(const char* headerLine, const char* rootName) : m_open(0)
{
    std::snprintf(m_headerLine, sizeof m_headerLine, "%s", headerLine ? headerLine : "");
    std::snprintf(m_rootName, sizeof m_rootName, "%s", rootName ? rootName : "");
    m_fileName[0] = '\0';
}

int CXmlWriter::Open(const char* fileName)
{
    if (m_open)
        return 0;
    std::snprintf(m_fileName, sizeof m_fileName, "%s", fileName ? fileName : "");
    m_file.CreateOverwrite(m_fileName);
    m_open = 1;
    WriteLine(m_headerLine);
    WriteStartTag(m_rootName, 0);
    return 1;
}

void CXmlWriter::Close()
{
    if (!m_open)
        return;
    m_open = 0;
    WriteEndTag(m_rootName, 0);
    m_file.Close();
}

// A line may hold a whole note's text, so it is built in memory of its own size
// rather than in the small pooled strings.
void CXmlWriter::WriteLine(const std::string& line)
{
    m_file.WriteToFile(line.data(), static_cast<DWORD>(line.size()));
    m_file.WriteToFile(kXmlLineEnd, 2);
}

void CXmlWriter::WriteStartTag(const char* name, int level)
{
    WriteLine(XmlStartTagLine(name, level));
}

void CXmlWriter::WriteEndTag(const char* name, int level)
{
    WriteLine(XmlEndTagLine(name, level));
}

void CXmlWriter::WriteElement(const char* name, const char* value, int level, int inCdata)
{
    WriteLine(XmlElementLine(name, value, level, inCdata != 0));
}

void CXmlWriter::WriteCDataElement(const char* name, const char* text, int level)
{
    WriteLine(XmlCDataElementLine(name, text, level));
}

void CXmlWriter::WriteComment(const char* text, int level)
{
    WriteLine(XmlCommentLine(text, level));
}
