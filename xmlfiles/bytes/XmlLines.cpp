#include "xmlfiles/bytes/XmlLines.h"

namespace {
const int kIndentWidth = 3;

std::string Indent(int level)
{
    return std::string(level > 0 ? static_cast<size_t>(level) * kIndentWidth : 0, ' ');
}

const char* OrEmpty(const char* text)
{
    return text ? text : "";
}
}

const char kXmlLineEnd[] = "\r\n";

std::string XmlStartTagLine(const char* name, int level)
{
    return Indent(level) + "<" + OrEmpty(name) + ">";
}

std::string XmlEndTagLine(const char* name, int level)
{
    return Indent(level) + "</" + OrEmpty(name) + ">";
}

std::string XmlElementLine(const char* name, const char* value, int level, bool inCdata)
{
    std::string line = XmlStartTagLine(name, level);
    if (inCdata)
        line.append("<![CDATA[").append(OrEmpty(value)).append("]]>");
    else
        line.append(OrEmpty(value));
    return line.append("</").append(OrEmpty(name)).append(">");
}

std::string XmlCDataElementLine(const char* name, const char* text, int level)
{
    return XmlElementLine(name, text, level, text && text[0]);
}

std::string XmlCommentLine(const char* text, int level)
{
    return Indent(level) + "<!--" + OrEmpty(text) + "-->";
}

void ToggleCdataEscape(char* text, int encode)
{
    if (!text)
        return;
    const char from = encode ? ']' : '`';
    const char to = encode ? '`' : ']';
    for (char* c = text; c[0]; ++c)
        if (c[0] == ']' && c[1] == from && c[2] == '>')
            c[1] = to;
}

void AppendXmlStartTag(std::string& out, const char* name, int level)
{
    out.append(XmlStartTagLine(name, level)).append(kXmlLineEnd);
}

void AppendXmlEndTag(std::string& out, const char* name, int level)
{
    out.append(XmlEndTagLine(name, level)).append(kXmlLineEnd);
}

void AppendXmlElement(std::string& out, const char* name, const char* value, int level)
{
    out.append(XmlElementLine(name, value, level, false)).append(kXmlLineEnd);
}

void AppendXmlCDataElement(std::string& out, const char* name, const char* text, int level)
{
    std::string escaped = OrEmpty(text);
    ToggleCdataEscape(&escaped[0], 1);
    out.append(XmlCDataElementLine(name, escaped.c_str(), level)).append(kXmlLineEnd);
}
