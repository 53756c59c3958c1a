#include "xmlfiles/bytes/XmlLineSink.h"

#include "xmlfiles/bytes/XmlLines.h"

void CXmlLineSink::WriteStartTag(const char* name, int level)
{
    WriteLine(XmlStartTagLine(name, level));
}

void CXmlLineSink::WriteEndTag(const char* name, int level)
{
    WriteLine(XmlEndTagLine(name, level));
}

void CXmlLineSink::WriteElement(const char* name, const char* value, int level, int inCdata)
{
    WriteLine(XmlElementLine(name, value, level, inCdata != 0));
}

void CXmlLineSink::WriteCDataElement(const char* name, const char* text, int level)
{
    WriteLine(XmlCDataElementLine(name, text, level));
}

void CXmlLineSink::WriteComment(const char* text, int level)
{
    WriteLine(XmlCommentLine(text, level));
}

void CXmlTextSink::WriteLine(const std::string& line)
{
    m_text.append(line).append(kXmlLineEnd);
}
