#include "net/ReceivedMessage.h"

#include <windows.h>

#include "foundation/DataFolder.h"
#include "foundation/GenericFile.h"

namespace {
const size_t kSmallestMessage = 50;
}

CReceivedMessage ParseReceivedMessage(std::string&& bytes, size_t textLimit, const std::string& overLimit)
{
    CReceivedMessage message;
    if (bytes.size() < kSmallestMessage)
        return message;
    CWireParts parts;
    message.parseResult = ParseWireText(bytes.data(), bytes.size(), message.note, parts);
    if (message.parseResult != WireParseResult::kNote) {
        message.kind = ReceivedMessageKind::kRefused;
        message.refusal = DescribeWireParseResult(message.parseResult);
        return message;
    }
    if (parts.richTextLength > textLimit) {
        message.kind = ReceivedMessageKind::kRefused;
        message.refusal = overLimit;
        return message;
    }
    message.kind = ReceivedMessageKind::kNote;
    message.hasAttachment = parts.hasAttachment;
    if (parts.hasAttachment) {
        // The attached file is the end of the text: the bytes become the file.
        message.richText.assign(bytes.data() + parts.richTextOffset, parts.richTextLength);
        bytes.erase(0, parts.attachmentOffset);
        bytes.resize(parts.attachmentLength);
        message.attachment = std::move(bytes);
    } else {
        // Without one the bytes become the rich text, a large note not copied again.
        bytes.erase(0, parts.richTextOffset);
        bytes.resize(parts.richTextLength);
        message.richText = std::move(bytes);
    }
    return message;
}

void WriteReceivedAttachment(const CReceivedMessage& message)
{
    CreateDirectoryA(DataFilePath(DataName::kAttachedFolder).c_str(), nullptr);
    CGenericFile file;
    file.CreateOverwrite(DataFilePath(DataName::kReceivedAttachment).c_str());
    if (!message.attachment.empty())
        file.WriteToFile(message.attachment.data(), static_cast<DWORD>(message.attachment.size()));
}
