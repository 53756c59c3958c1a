#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A second start of the program hands its command line to the running
// instance as requests (the data of WM_COPYDATA). This file turns an argument
// vector into those requests, and a received request back into its text with
// every size checked, so that no sender can make the receiver read past what
// it was given.

enum ForwardedRequestCode : std::uint32_t {
    kRequestNewNote = 0,
    kRequestSend = 1,
    kRequestBackup = 2,
    kRequestImport = 3,
    kRequestReplace = 4,
    kRequestClose = 5,
    kRequestSendDirect = 6,
    kRequestAppend = 7,
    kRequestAddToFavourites = 8,
};

// Fixed blocks and bounds of the payloads.
const std::size_t kTextBlockSize = 255;       // /new, /append, /backup, /import texts
const std::size_t kSendBlockSize = 510;       // /send and /sendd
const std::size_t kMaxForwardedPath = 259;    // one path
// A path line: a blank, the path in double quotes, " \r\n" and a terminator.
const std::size_t kMaxPathLineSize = 1 + 2 + kMaxForwardedPath + 3 + 1;
extern const char kSendSeparator[];           // "!#%@"

struct ForwardedRequest {
    std::uint32_t code = 0;
    std::uint32_t flag = 0;                   // the message's wParam
    std::vector<unsigned char> payload;       // empty: no data (cbData 0)
    unsigned delayBeforeMs = 0;               // wait before sending this one
    bool bringForward = false;                // foreground the running window first
};

struct ForwardPlan {
    std::vector<ForwardedRequest> requests;
    std::string refusal;                      // shown instead of sending
    bool refusalOwnedByRunningWindow = false;
};

// Long form of a short ("~1") path; returns the path unchanged when it fails.
using LongPathFunction = std::function<std::string(const std::string&)>;

// arguments[0] is the program, arguments[1] the command.
ForwardPlan PlanForwarding(const std::vector<std::string>& arguments, const LongPathFunction& longPath);

// A blank, the path (quoted when it holds a blank) and " \r\n".
std::string MakePathLine(const std::string& path);

// What the receiver takes from a request: the text, copied with a bound and a
// terminator. Oversized or malformed data, and unknown codes, are not valid.
struct ReceivedRequest {
    bool valid = false;
    std::uint32_t code = 0;
    std::string text;
};
ReceivedRequest ReadForwardedRequest(std::uint32_t code, const void* data, std::uint32_t size);
