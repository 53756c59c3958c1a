#include "shell/bytes/ForwardedRequest.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "shell/bytes/UserArgument.h"

const char kSendSeparator[] = "!#%@";

namespace {
const unsigned kDelayBetweenPathsMs = 100;
const char kIndent[] = "                 qnPost.exe ";

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool Contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

// The text cut to fit, zero-padded to the block's size.
std::vector<unsigned char> Block(const std::string& text, std::size_t blockSize)
{
    std::vector<unsigned char> block(blockSize, 0);
    std::size_t length = std::min(text.size(), blockSize - 1);
    std::memcpy(block.data(), text.data(), length);
    return block;
}

// The text and its terminator.
std::vector<unsigned char> Terminated(const std::string& text)
{
    std::vector<unsigned char> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

ForwardedRequest Request(std::uint32_t code, std::uint32_t flag, std::vector<unsigned char> payload = {})
{
    ForwardedRequest request;
    request.code = code;
    request.flag = flag;
    request.payload = std::move(payload);
    return request;
}

std::string WrongCountText(const char* option)
{
    return std::string("Sorry, wrong number of arguments.\r\n\r\nThe correct command line is:\r\n") + kIndent + option +
           " \"text\" or\r\n" + kIndent + option + " \"full path file\" \r\n\r\n " + UserGuideLines();
}

// A text that would not fit its block is refused rather than cut: cut, it would
// be another text, or the name of another file.
std::string TooLongText(const std::string& what, const char* option, std::size_t length, std::size_t limit)
{
    return "Sorry, the " + what + " given to " + option + " is too long: " + std::to_string(length) +
           " characters, and the running Quillnet+ can take at most " + std::to_string(limit) +
           ".\r\n\r\nNothing was sent. Please give a shorter one.";
}

// The text of a /new, /append, /backup, /import or /replace block; false with
// the refusal when it is too long for the block.
bool FitsTextBlock(const std::string& text, const std::string& what, const char* option, ForwardPlan& plan)
{
    if (text.size() < kTextBlockSize)
        return true;
    plan.refusal = TooLongText(what, option, text.size(), kTextBlockSize - 1);
    return false;
}

std::string WrongSendCountText(const char* option)
{
    std::string lines;
    const char* const forms[] = {"computerName \"text\" attachedFile or", "emailAddress \"text\" attachedFile or",
                                 "computerName textfileName attachedFile or", "emailAddress textfileName attachedFile "};
    for (const char* form : forms)
        lines += std::string(kIndent) + option + " " + form + "\r\n";
    return "Sorry, wrong number of arguments.\r\n\r\nThe correct command line is:\r\n" + lines + "\r\n" +
           UserGuideLines();
}

void PlanSend(const std::vector<std::string>& arguments, std::uint32_t code, const char* option, ForwardPlan& plan)
{
    std::size_t count = arguments.size();
    if (count != 4 && count != 5) {
        plan.refusal = WrongSendCountText(option);
        return;
    }
    std::string payload = arguments[2] + kSendSeparator + arguments[3];
    if (count == 5)
        payload += kSendSeparator + arguments[4];
    if (payload.size() >= kSendBlockSize) {
        // The user counts what was typed; the separators take their share of the block.
        const std::size_t separators = (count - 3) * (sizeof kSendSeparator - 1);
        plan.refusal = TooLongText(count == 5 ? "destination, text and attached file" : "destination and text", option,
                                   payload.size() - separators, kSendBlockSize - 1 - separators);
        return;
    }
    plan.requests.push_back(Request(code, 0, Block(payload, kSendBlockSize)));
}

// /backup, /import and /replace carry their file only as the one further argument.
void PlanFileRequest(const std::vector<std::string>& arguments, std::uint32_t code, std::uint32_t flag,
                     ForwardPlan& plan)
{
    if (arguments.size() == 3 && !arguments[2].empty()) {
        if (FitsTextBlock(arguments[2], "file name", arguments[1].c_str(), plan))
            plan.requests.push_back(Request(code, flag, Block(arguments[2], kTextBlockSize)));
    }
    else
        plan.requests.push_back(Request(code, flag));
}

void PlanPaths(const std::vector<std::string>& arguments, const std::string& option, const LongPathFunction& longPath,
               ForwardPlan& plan)
{
    const std::string& first = arguments[1];
    bool firstIsPath = Contains(first, ":\\");
    if (arguments.size() == 2 && !firstIsPath) {
        plan.refusal = std::string("Sorry, missing arguments.\r\n\r\nThe correct command line is:\r\n") + kIndent +
                       first + " \"full path file or folder\"\r\n" + UserGuideLines();
        return;
    }
    bool newNote = !firstIsPath && option == "/newonlyshortcut";
    bool favourites = !firstIsPath && option == "/addtofavourites";
    for (std::size_t i = firstIsPath ? 1 : 2; i < arguments.size(); ++i) {
        std::string path = arguments[i].substr(0, kMaxForwardedPath);
        if (Contains(path, ":\\") && (Contains(path, "~1") || Contains(path, "~2"))) {
            std::string longForm = longPath ? longPath(path) : path;
            if (!longForm.empty())
                path = longForm.substr(0, kMaxForwardedPath);
        }
        bool firstPath = plan.requests.empty();
        ForwardedRequest request;
        if (favourites) {
            request = Request(kRequestAddToFavourites, 0, Terminated(path));
        } else {
            request = Request(firstPath && newNote ? kRequestNewNote : kRequestAppend, 0, Terminated(MakePathLine(path)));
            request.bringForward = firstPath && newNote;
            request.delayBeforeMs = firstPath ? 0 : kDelayBetweenPathsMs;
        }
        plan.requests.push_back(std::move(request));
    }
}
}

std::string MakePathLine(const std::string& path)
{
    if (path.find(' ') != std::string::npos)
        return " \"" + path + "\" \r\n";
    return " " + path + " \r\n";
}

ForwardPlan PlanForwarding(const std::vector<std::string>& arguments, const LongPathFunction& longPath)
{
    ForwardPlan plan;
    if (arguments.size() < 2)
        return plan;
    const std::string& first = arguments[1];
    std::string option = Lower(first);
    std::size_t count = arguments.size();

    if (option == "/close") {
        plan.requests.push_back(Request(kRequestClose, 0));
    } else if (Contains(first, "/u") || Contains(first, "/U")) {
        plan.refusal = "Sorry, Quillnet+ is already running. You are not allowed to use the \"" + first +
                       "\" option at this moment.\r\nUse the /u command line argument only when Quillnet+ is run for "
                       "the first time.\r\n\r\n" +
                       UserGuideLines();
        plan.refusalOwnedByRunningWindow = true;
    } else if (option == "/new") {
        if (count == 2)
            plan.requests.push_back(Request(kRequestNewNote, 0));
        else if (count == 3 && FitsTextBlock(arguments[2], "text", "/new", plan))
            plan.requests.push_back(Request(kRequestNewNote, 0, Block(arguments[2], kTextBlockSize)));
        else if (count > 3)
            plan.refusal = WrongCountText("/new");
    } else if (option == "/append") {
        if (count == 3 && FitsTextBlock(arguments[2], "text", "/append", plan))
            plan.requests.push_back(Request(kRequestAppend, 1, Block(arguments[2], kTextBlockSize)));
        else if (count != 3)
            plan.refusal = WrongCountText("/append");
    } else if (option == "/newonlyshortcut" || option == "/appendonlyshortcut" || option == "/addtofavourites" ||
               Contains(first, ":\\")) {
        PlanPaths(arguments, option, longPath, plan);
    } else if (option == "/send") {
        PlanSend(arguments, kRequestSend, "/send", plan);
    } else if (option == "/backup") {
        PlanFileRequest(arguments, kRequestBackup, 0, plan);
    } else if (option == "/import" || option == "/importsilently") {
        PlanFileRequest(arguments, kRequestImport, option == "/import" ? 1 : 0, plan);
    } else if (option == "/replace" || option == "/replacesilently") {
        PlanFileRequest(arguments, kRequestReplace, option == "/replace" ? 1 : 0, plan);
    } else if (option == "/sendd") {
        PlanSend(arguments, kRequestSendDirect, "/sendd", plan);
    } else {
        plan.refusal = "Sorry, the command line is incorrect.\r\n\r\nThe command line options are: /u=, /new, "
                       "/newOnlyShortcut,/append, /appendOnlyShortcut,/send, /sendd, /backup, /import, /replace and "
                       "/close\r\n\r\n" +
                       UserGuideLines();
    }
    return plan;
}

ReceivedRequest ReadForwardedRequest(std::uint32_t code, const void* data, std::uint32_t size)
{
    ReceivedRequest request;
    request.code = code;
    if (size > 0 && !data)
        return request;
    std::size_t limit = 0;
    switch (code) {
    case kRequestNewNote:
    case kRequestAppend:
        limit = std::max(kTextBlockSize, kMaxPathLineSize);
        break;
    case kRequestSend:
    case kRequestSendDirect:
        limit = kSendBlockSize;
        break;
    case kRequestBackup:
    case kRequestImport:
    case kRequestReplace:
        limit = kTextBlockSize;
        break;
    case kRequestAddToFavourites:
        limit = kMaxForwardedPath + 1;
        break;
    case kRequestClose:
        request.valid = true;
        return request;
    default:
        return request;
    }
    if (size > limit)
        return request;
    const char* bytes = static_cast<const char*>(data);
    const void* end = size ? std::memchr(bytes, 0, size) : nullptr;
    std::size_t length = end ? static_cast<std::size_t>(static_cast<const char*>(end) - bytes) : size;
    request.text.assign(bytes ? bytes : "", length);
    if (code == kRequestAddToFavourites && request.text.empty())
        return request;
    request.valid = true;
    return request;
}
