#pragma once

#include <windows.h>

#include <string>

#include "store/Destination.h"

class CNoteController;

// Texts that tell of a note's sends, for the Note Manager's status bar.

// The note's latest delivery record in "Transact"; false when it has none.
bool FindSendRecord(DWORD noteId, CDestination& record);
// "Sent to " + the recipient's name + " on " + the date and time of the send.
std::string DescribeSendRecord(const CDestination& record);
// The note's next automatic send: "Send again at next alarm time" when a
// failed send waits for the alarm, else "Next send at alarm time," and when.
std::string DescribeNextSendTime(const CNoteController& note, bool resending);
