#pragma once

#include <string>

#include "net/bytes/WireText.h"

// A wire text read back; its rich text and attachment empty unless it was a note.
struct ParsedWire {
    WireParseResult result;
    CWireNote note;
    CWireParts parts;
    std::string richText;
    std::string attachment;
};

inline ParsedWire ParseWire(const std::string& text)
{
    ParsedWire p;
    p.result = ParseWireText(text.data(), text.size(), p.note, p.parts);
    if (p.result == WireParseResult::kNote) {
        p.richText = text.substr(p.parts.richTextOffset, p.parts.richTextLength);
        if (p.parts.hasAttachment)
            p.attachment = text.substr(p.parts.attachmentOffset, p.parts.attachmentLength);
    }
    return p;
}
