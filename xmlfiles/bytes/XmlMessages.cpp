#include "xmlfiles/bytes/XmlMessages.h"

#include <cstring>

namespace {
struct MessageEntry {
    int id;
    const char* text;
};

const MessageEntry kMessages[] = {
    {IDS_XML_FIRST_LETTER, "Unexpected character as the first letter of the tag name"},
    {IDS_XML_END_AFTER_LESS, "Unexpected end of file after \"<\""},
    {IDS_XML_END_OF_FILE, "End of the XML file"},
    {IDS_XML_PROLOG_END, "Processing instruction \"<?\" not closed.Unexpected end of file"},
    {IDS_XML_COMMENT_END, "Opened comment tag not closed. Unexpected end of file"},
    {IDS_XML_ELEMENT_END, "Element not closed. Missing \">\". Unexpected end of file"},
    {IDS_XML_INVALID_NAME_CHAR, "Invalid character in the tag name.Missing \">\""},
    {IDS_XML_PROLOG_NOT_CLOSED, "Processing instruction not closed. Unexpected  end of file"},
    {IDS_XML_PROLOG_CLOSE_MISSING, "Processing instruction \"?>\" not closed"},
    {IDS_XML_MISSING_LESS, "Unexpected character encountered. Missing \"<\""},
    {IDS_XML_CONTENT_END, "End tag is missing \"/>\". Unexpected end of file"},
    {IDS_XML_CDATA_END, "CDATA section not closed. \"]]>\" is missing"},
    {IDS_XML_PROLOG_MISSING_CLOSE, "Processing instruction \"<?\" not closed.Missing \"?>\""},
    {IDS_XML_EXPECT_PROLOG_OPEN, "\"<?\" expected"},
    {IDS_XML_EXPECT_PROLOG_CONTENT, "Declaration content expected. Something between <? ... ?>"},
    {IDS_XML_EXPECT_PROLOG_CLOSE, "\"?>\" expected"},
    {IDS_XML_EXPECT_COMMENT_OPEN, "\"<!--\" expected"},
    {IDS_XML_EXPECT_COMMENT_CONTENT, "Comment content expected. Something between <!-- ... -->"},
    {IDS_XML_EXPECT_COMMENT_CLOSE, "End of comment \"-->\" expected"},
    {IDS_XML_EXPECT_START_TAG_OPEN, "\"<\" expected"},
    {IDS_XML_EXPECT_START_TAG_CLOSE, "\">\" expected"},
    {IDS_XML_EXPECT_END_TAG_OPEN, "\"</\" expected"},
    {IDS_XML_EXPECT_END_TAG_CLOSE, "\">\" expected"},
    {IDS_XML_EXPECT_TAG_NAME, "A tag name was expected. Something like <name>"},
    {IDS_XML_EXPECT_CONTENT, "A tag content was expected. Something like <name>Alex</name>"},
    {IDS_XML_END_TAG_MISMATCH, "The end tag does not match the start tag"},
    {IDS_XML_CANNOT_WORK, "Can't work with this XML file. A lexical error was found: \r\n"},
    {IDS_XML_EXPECTING, "expecting \""},
    {IDS_XML_BUT_FOUND, "\" but found \""},
};
}

const char kXmlTooDeepText[] = "The elements are nested deeper than 64 levels";

const char* XmlMessageText(int id)
{
    for (const MessageEntry& entry : kMessages)
        if (entry.id == id)
            return entry.text;
    return "";
}

CXmlErrorTextBuilder::CXmlErrorTextBuilder(char* target, const char* first)
    : m_target(target), m_length(0), m_full(false)
{
    if (first) {
        size_t length = std::strlen(first);
        const size_t limit = kXmlErrorTextMax;
        m_length = static_cast<int>(length < limit ? length : limit);
        std::memcpy(m_target, first, m_length);
    }
    m_target[m_length] = '\0';
}

void CXmlErrorTextBuilder::Append(const char* piece)
{
    if (m_full || !piece)
        return;
    size_t length = std::strlen(piece);
    if (m_length + length > kXmlErrorTextMax) {
        m_full = true;
        return;
    }
    std::memcpy(m_target + m_length, piece, length + 1);
    m_length += static_cast<int>(length);
}
