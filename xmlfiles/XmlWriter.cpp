#include "xmlfiles/XmlWriter.h"

#include <cstdio>

#include "xmlfiles/bytes/XmlLines.h"

namespace {
// The lines go to the file in pieces of about this size rather than one write
// each: a backup of many notes is tens of thousands of lines.
const size_t kWritePiece = 64 * 1024;
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
    std::string rest = std::move(m_pending);
    m_pending.clear();
    rest += XmlEndTagLine(m_rootName, 0);
    rest += kXmlLineEnd;
    file->File().WriteToFile(rest.data(), static_cast<DWORD>(rest.size()));
    file->Commit();
}

// A line may hold a whole note's text, so it is gathered in memory of its own
// size rather than in the small pooled strings.
void CXmlWriter::WriteLine(const std::string& line)
{
    if (!m_file)
        throw CGenericException("CXmlWriter: no file is open");
    m_pending += line;
    m_pending += kXmlLineEnd;
    if (m_pending.size() >= kWritePiece)
        WritePending();
}

void CXmlWriter::WritePending()
{
    // Emptied before the write: after a failure the writer holds nothing the
    // file did not get, and its Close leaves the old file.
    std::string piece = std::move(m_pending);
    m_pending.clear();
    m_file->File().WriteToFile(piece.data(), static_cast<DWORD>(piece.size()));
}
