// Wire texts from arbitrary bytes: each is refused or read into a note whose
// parts lie inside the bytes and whose values keep their bounds. A note read,
// written again and read back keeps every field, its rich text and attachment.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "net/bytes/WireText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AnswerBoxesQuietly();
    // A copy of exactly the input's size, so that any read past it is caught.
    std::vector<char> bytes(data, data + size);
    CWireNote note;
    CWireParts parts;
    if (ParseWireText(bytes.data(), bytes.size(), note, parts) != WireParseResult::kNote)
        return 0;
    FUZZ_CHECK(parts.richTextOffset + parts.richTextLength <= size);
    FUZZ_CHECK(!parts.hasAttachment || parts.attachmentOffset + parts.attachmentLength <= size);
    FUZZ_CHECK(note.computerName.size() <= WireLimit::kComputerName);
    FUZZ_CHECK(note.title.size() <= WireLimit::kTitle);
    FUZZ_CHECK(note.coRecipients.size() <= WireLimit::kCoRecipients);
    FUZZ_CHECK(note.attachedFileName.find_first_of("\\/:") == std::string::npos);
    FUZZ_CHECK(note.avatarName.size() <= WireLimit::kAvatarName);
    FUZZ_CHECK(note.avatarName.find_first_of("\\/:") == std::string::npos);
    FUZZ_CHECK(note.avatarData.size() <= WireLimit::kAvatarData);

    std::string again = WriteWireText(note, bytes.data() + parts.richTextOffset, parts.richTextLength,
                                      parts.hasAttachment ? bytes.data() + parts.attachmentOffset : nullptr,
                                      parts.attachmentLength);
    CWireNote reread;
    CWireParts rereadParts;
    FUZZ_CHECK(ParseWireText(again.data(), again.size(), reread, rereadParts) == WireParseResult::kNote);
    FUZZ_CHECK(note == reread);
    FUZZ_CHECK(reread.version == kWireVersion);
    FUZZ_CHECK(again.compare(rereadParts.richTextOffset, rereadParts.richTextLength,
                             bytes.data() + parts.richTextOffset, parts.richTextLength) == 0);
    FUZZ_CHECK(rereadParts.hasAttachment == parts.hasAttachment);
    FUZZ_CHECK(rereadParts.attachmentLength == parts.attachmentLength);
    return 0;
}
