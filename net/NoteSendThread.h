#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "store/Destination.h"
#include "net/NoteEmail.h"
#include "net/NoteTransmit.h"
#include "net/SendThreads.h"
#include "net/bytes/WireText.h"
#include "store/RowOwnership.h"

// One send of a note to its recipients, on a thread of its own, with a second
// thread that turns the note's "sending" picture. The threads never send a
// message to a window and hold no lock while they post one: they report to the
// note window with posted messages (NoteSendMessage) whose payloads are on the
// heap and freed by the receiver, or at once when the post fails.
//
// Each recipient's result goes into the "SentTo" and "Transact" lists and the
// sent-to and transaction tables, here on the send thread, under the lists'
// and tables' own locks, so that it is kept even when the note window is gone
// before the thread ends.

// What the note window is told by its send threads.
enum NoteSendMessage : UINT {
    kNoteMsgSendFrame = 0x80D0,     // wParam: the picture to show, 0 to 5
    kNoteMsgSendProgress = 0x80D1,  // lParam: CSendProgress*, freed by the note
    kNoteMsgSendOutcome = 0x80D2,   // lParam: CSendOutcome*, freed by the note
    kNoteMsgSendFinished = 0x80D3,  // wParam: the send's number
};

struct CSendJob {
    DWORD sendNumber = 0;       // told back in kNoteMsgSendFinished
    HWND noteWindow = nullptr;
    DWORD noteId = 0;
    DWORD transactionId = 0;
    bool resend = false;        // an automatic resend: the attempts go on counting
    bool autoResend = false;    // a failed recipient is to be tried again
    BYTE resendUnit = 1;
    CWireNote wire;             // the header; transaction id and co-recipients are set here
    std::string richText;       // streamed out of the note by the main thread
    std::string attachedFile;   // path, empty for none
    std::string attachmentKey;  // 8 bytes: the attachment goes enciphered
    std::vector<CDestination> recipients;
    CEmailSettings email;       // for recipients with an e-mail address
    RowOwnership owners;        // whose table rows the records may update
    std::shared_ptr<CSendControl> control;
};

struct CSendProgress {
    std::string recipient;  // the name shown for the recipient
    size_t sent = 0;        // bytes so far; 0 when the send to it starts
    size_t total = 0;
};

struct CSendOutcome {
    CDestination record;    // as kept in "Transact"
    TransmitResult result = TransmitResult::kSent;
    std::string reason;     // set when something other than the transmission failed
};

// Starts the two threads, the send thread registered with its control; the
// job is theirs. False when a thread could not be started (the job is then
// freed and nothing was sent or recorded).
bool StartSendThreads(std::unique_ptr<CSendJob> job, HANDLE& sendThread, HANDLE& animationThread);

// The largest attached file a note takes along: a receiver keeps at most 32 MB.
const size_t kMaxAttachedFileBytes = 24 * 1024 * 1024;

// The name the user knows a recipient by: computer name, alias, e-mail address
// or IP address, with the IP address beside a name.
std::string RecipientName(const CDestination& recipient);
