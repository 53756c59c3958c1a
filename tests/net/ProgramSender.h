#pragma once

#include <winsock2.h>

#include <string>

#include "net/bytes/WireText.h"

// Notes sent to the running program as another computer's program sends
// them, and found on its desktop once they have arrived.

// Connects to the port on 127.0.0.1, sends the bytes, ends its side and waits
// for the program to close the connection: the sign that the message was taken.
bool SendToProgram(unsigned short port, const std::string& bytes);
// A note from "anna" on the computer, in her colours and font.
CWireNote Sender(const std::string& title, const char* computer = "PC-ANNA");
// The wire text of such a note with its text and, when named, an attached file.
std::string WireNote(const std::string& title, const std::string& text, const std::string& fileName = "",
                     const std::string& file = "", const char* computer = "PC-ANNA");
// The note window of the process whose body holds the text, once there is one.
HWND NoteReading(DWORD process, const std::string& text);
