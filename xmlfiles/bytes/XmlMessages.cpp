#include "xmlfiles/bytes/XmlMessages.h"

#include <cstdio>
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

void FormatXmlErrorText(char* target, const char* fileName, const char* message, int line, const char* columnMark,
                        int column, std::initializer_list<const char*> more)
{
    size_t length = fileName ? std::strlen(fileName) : 0;
    if (length > kXmlErrorTextMax)
        length = kXmlErrorTextMax;
    if (length)
        std::memcpy(target, fileName, length);
    target[length] = '\0';

    char position[64];
    std::snprintf(position, sizeof position, "\r\nin line %d%s%d\r\n", line, columnMark, column);
    auto append = [&](const char* piece) {
        size_t pieceLength = piece ? std::strlen(piece) : 0;
        if (length + pieceLength > kXmlErrorTextMax)
            return false;
        std::memcpy(target + length, piece ? piece : "", pieceLength + 1);
        length += pieceLength;
        return true;
    };
    for (const char* piece : {". ", XmlMessageText(IDS_XML_CANNOT_WORK), message, static_cast<const char*>(position)})
        if (!append(piece))
            return;
    for (const char* piece : more)
        if (!append(piece))
            return;
}
