#include "ProgramSender.h"

#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"

bool SendToProgram(unsigned short port, const std::string& bytes)
{
    SOCKET peer = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    bool taken = connect(peer, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                 send(peer, bytes.data(), static_cast<int>(bytes.size()), 0) == static_cast<int>(bytes.size()) &&
                 shutdown(peer, SD_SEND) == 0;
    if (taken) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(peer, &readable);
        timeval wait = {static_cast<long>(kDriverWaitMs / 1000), 0};
        char byte;
        taken = select(0, &readable, nullptr, nullptr, &wait) == 1 && recv(peer, &byte, 1, 0) == 0;
    }
    closesocket(peer);
    return taken;
}

CWireNote Sender(const std::string& title, const char* computer)
{
    CWireNote note;
    note.version = kWireVersion;
    note.computerName = computer;
    note.userName = "anna";
    note.replyPort = 40123;
    note.title = title;
    note.hasColours = true;
    note.backColour = 0x9FFFFF;
    note.textColour = 0x800000;
    note.fontName = "Tahoma";
    note.fontSize = 12;
    return note;
}

std::string WireNote(const std::string& title, const std::string& text, const std::string& fileName,
                     const std::string& file, const char* computer)
{
    CWireNote note = Sender(title, computer);
    note.attachedFileName = fileName;
    std::string rtf = "{\\rtf1\\ansi " + text + "\\par}";
    return WriteWireText(note, rtf.data(), rtf.size(), fileName.empty() ? nullptr : file.data(), file.size());
}

HWND NoteReading(DWORD process, const std::string& text)
{
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND note : NoteWindows(process))
            if (ReadWindowText(BodyOf(note)).find(text) != std::string::npos)
                found = note;
        return found != nullptr;
    });
    return found;
}
