#pragma once

#include <initializer_list>

// Texts of the XML reader's error reports. The numbers are the ids of the same
// texts in the program's string table.
enum XmlMessageId {
    IDS_XML_FIRST_LETTER = 252,
    IDS_XML_END_AFTER_LESS = 253,
    IDS_XML_END_OF_FILE = 254,
    IDS_XML_PROLOG_END = 255,
    IDS_XML_COMMENT_END = 256,
    IDS_XML_ELEMENT_END = 257,
    IDS_XML_INVALID_NAME_CHAR = 258,
    IDS_XML_PROLOG_NOT_CLOSED = 259,
    IDS_XML_PROLOG_CLOSE_MISSING = 261,
    IDS_XML_MISSING_LESS = 262,
    IDS_XML_CONTENT_END = 263,
    IDS_XML_CDATA_END = 264,
    IDS_XML_PROLOG_MISSING_CLOSE = 265,
    IDS_XML_EXPECT_PROLOG_OPEN = 266,
    IDS_XML_EXPECT_PROLOG_CONTENT = 267,
    IDS_XML_EXPECT_PROLOG_CLOSE = 268,
    IDS_XML_EXPECT_COMMENT_OPEN = 269,
    IDS_XML_EXPECT_COMMENT_CONTENT = 270,
    IDS_XML_EXPECT_COMMENT_CLOSE = 271,
    IDS_XML_EXPECT_START_TAG_OPEN = 272,
    IDS_XML_EXPECT_START_TAG_CLOSE = 273,
    IDS_XML_EXPECT_END_TAG_OPEN = 274,
    IDS_XML_EXPECT_END_TAG_CLOSE = 275,
    IDS_XML_EXPECT_TAG_NAME = 276,
    IDS_XML_EXPECT_CONTENT = 277,
    IDS_XML_END_TAG_MISMATCH = 278,
    IDS_XML_CANNOT_WORK = 279,
    IDS_XML_EXPECTING = 280,
    IDS_XML_BUT_FOUND = 281,
};

// The text of a message id; an empty text for an unknown id.
const char* XmlMessageText(int id);

// Refusal of a file whose elements nest deeper than the reader follows.
extern const char kXmlTooDeepText[];

// Error texts of the reader hold at most this many characters.
enum { kXmlErrorTextMax = 300 };

// The text of a refused file: the file name, ". ", the cannot-work text, the
// message, "\r\nin line L column C\r\n" (the grammar's errors write "column=C")
// and any further pieces, into a target of kXmlErrorTextMax + 1 bytes. The file
// name is cut to fit; once a later piece does not fit whole, no more are added.
void FormatXmlErrorText(char* target, const char* fileName, const char* message, int line, const char* columnMark,
                        int column, std::initializer_list<const char*> more = {});
