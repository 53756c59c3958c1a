#include "net/ReceivedMessage.h"

#include <windows.h>

#include <vector>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/GenericFile.h"

namespace {
const DWORD kSmallestMessage = 50;

void WriteAttachment(const char* bytes, size_t length)
{
    CreateDirectoryA(DataFilePath(DataName::kAttachedFolder).c_str(), nullptr);
    CGenericFile file;
    file.CreateOverwrite(DataFilePath(DataName::kReceivedAttachment).c_str());
    if (length > 0)
        file.WriteToFile(bytes, static_cast<DWORD>(length));
}
}

const char* ReceiveFileName(int portNumber)
{
    return portNumber == 2 ? DataName::kPort2ReceiveFile : DataName::kPort1ReceiveFile;
}

CReceivedMessage ReadReceivedMessage(int portNumber, unsigned long sizeLimit)
{
    CReceivedMessage message;
    std::vector<char> bytes;
    {
        CGenericFile file;
        file.OpenReadOnly(DataFilePath(ReceiveFileName(portNumber)).c_str());
        DWORD size = file.GetSize();
        if (size < kSmallestMessage)
            return message;
        if (size > sizeLimit) {
            message.kind = ReceivedMessageKind::kRefused;
            WriteErrorLog("A received message was refused: ", "it is larger than the size limit");
            return message;
        }
        bytes.resize(size);
        if (file.ReadFromFile(bytes.data(), size) != size)
            throw CGenericException("ReadReceivedMessage: the received message could not be read whole");
    }
    CWireParts parts;
    message.parseResult = ParseWireText(bytes.data(), bytes.size(), message.note, parts);
    if (message.parseResult != WireParseResult::kNote) {
        message.kind = ReceivedMessageKind::kRefused;
        WriteErrorLog("A received message was refused: ", DescribeWireParseResult(message.parseResult));
        return message;
    }
    message.kind = ReceivedMessageKind::kNote;
    message.richText.assign(bytes.data() + parts.richTextOffset, parts.richTextLength);
    message.hasAttachment = parts.hasAttachment;
    if (parts.hasAttachment)
        WriteAttachment(bytes.data() + parts.attachmentOffset, parts.attachmentLength);
    return message;
}
