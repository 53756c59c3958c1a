#pragma once

#include <string>

// Where the lines of an XML file go, one at a time: CXmlWriter sends them to a
// file, CXmlTextSink keeps them in memory. Each line is given without its
// CR LF, which the sink adds; the indentation is three blanks per level.
class CXmlLineSink {
public:
    virtual ~CXmlLineSink() = default;

    virtual bool IsOpen() const = 0;
    virtual void WriteLine(const std::string& line) = 0;

    void WriteStartTag(const char* name, int level);
    void WriteEndTag(const char* name, int level);
    void WriteElement(const char* name, const char* value, int level, int inCdata);
    // As WriteElement in CDATA, but an empty text gives the two tags only.
    void WriteCDataElement(const char* name, const char* text, int level);
    void WriteComment(const char* text, int level);
};

// The lines joined in memory, each ended by CR LF.
class CXmlTextSink : public CXmlLineSink {
public:
    bool IsOpen() const override { return true; }
    void WriteLine(const std::string& line) override;
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};
