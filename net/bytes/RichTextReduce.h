#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A note's rich text reduced to what an e-mail body can show: the characters,
// the line breaks, and for each run of text its colour, bold, italic and
// underline. Pictures, fonts, tables and every other part of the rich text are
// left out. Text that does not start as rich text is taken as plain text.
//
// The reduction reads each byte once, keeps at most kMaxGroupDepth nested
// groups (deeper ones are skipped) and at most kMaxReducedBytes of text (the
// rest is dropped and `cut` set), so hostile input costs no more than its size.

struct CTextRun {
    std::string text;         // windows-1252 bytes; '\n' ends a line, '\t' is a tab
    bool hasColour = false;   // false: the note's own text colour
    std::uint32_t colour = 0; // 0x00bbggrr
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

struct CReducedText {
    std::vector<CTextRun> runs;
    bool cut = false;
};

const size_t kMaxGroupDepth = 100;
const size_t kMaxReducedBytes = 4 * 1024 * 1024;

CReducedText ReduceRichText(const char* bytes, size_t length);

// The text alone, lines ended by CR LF.
std::string ReducedToPlainText(const CReducedText& text);

// An HTML page with the text, its colours and styles, on the given background
// colour (0x00bbggrr).
std::string ReducedToHtml(const CReducedText& text, std::uint32_t backColour);
