#include "xmlfiles/XmlWriter.h"

#include <cstdio>

#include "xmlfiles/bytes/XmlLines.h"

namespace {
// A line may hold a whole note's text, so it is built in memory of its own size
// rather than in the small pooled strings.
void WriteLineTo(CGenericFile& file, const std::string& line)
{
    file.WriteToFile(line.data(), static_cast<DWORD>(line.size()));
    file.WriteToFile(kXmlLineEnd, 2);
}
}

CXmlWriter::CXmlWriter(const char* headerLine, const char* rootName)
{
    std::snprintf(m_headerLine, sizeof m_headerLine, "%s", headerLine ? headerLine : "");
    std::snprintf(m_rootName, sizeof m_rootName, "%s", rootName ? rootName : "");
}

int CXmlWriter::Open(const char* fileName)
{
    if (m_file)
        return 0;
    m_file = std::make_unique<CWorkingCopy>(fileName ? fileName : "");
    WriteLine(m_headerLine);
    WriteStartTag(m_rootName, 0);
    return 1;
}

void CXmlWriter::Close()
{
    if (!m_file)
        return;
    // The writer is closed even when the last line fails; the old file then stays.
    std::unique_ptr<CWorkingCopy> file = std::move(m_file);
    WriteLineTo(file->File(), XmlEndTagLine(m_rootName, 0));
    file->Commit();
}

void CXmlWriter::WriteLine(const std::string& line)
{
    if (!m_file)
        throw CGenericException("CXmlWriter: no file is open");
    WriteLineTo(m_file->File(), line);
}
