#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/bytes/ForwardedRequest.h"

namespace {
ForwardPlan Plan(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), "qnpost.exe");
    return PlanForwarding(arguments, [](const std::string& path) { return path + "-long"; });
}

std::string Text(const ForwardedRequest& request)
{
    return std::string(reinterpret_cast<const char*>(request.payload.data()),
                       strnlen(reinterpret_cast<const char*>(request.payload.data()), request.payload.size()));
}
}

TEST(ForwardedRequest, EachCommandBecomesItsRequest)
{
    ForwardPlan plan = Plan({"/new", "t"});
    ASSERT_EQ(plan.requests.size(), 1u);
    EXPECT_EQ(plan.requests[0].code, kRequestNewNote);
    EXPECT_EQ(plan.requests[0].payload.size(), kTextBlockSize);
    EXPECT_EQ(Text(plan.requests[0]), "t");

    EXPECT_TRUE(Plan({"/new"}).requests[0].payload.empty());
    EXPECT_EQ(Text(Plan({"/new", std::string(254, 'a')}).requests[0]).size(), 254u);
    EXPECT_EQ(Plan({"/new", "a", "b"}).refusal.rfind("Sorry, wrong number of arguments.", 0), 0u);

    ForwardPlan append = Plan({"/append", "more"});
    EXPECT_EQ(append.requests[0].code, kRequestAppend);
    EXPECT_EQ(append.requests[0].flag, 1u);
    EXPECT_NE(Plan({"/append"}).refusal.find("qnPost.exe /append \"text\""), std::string::npos);

    ForwardPlan send = Plan({"/send", "PC2", "hi", "f.txt"});
    EXPECT_EQ(send.requests[0].code, kRequestSend);
    EXPECT_EQ(send.requests[0].payload.size(), kSendBlockSize);
    EXPECT_EQ(Text(send.requests[0]), "PC2!#%@hi!#%@f.txt");
    EXPECT_EQ(Plan({"/sendd", "PC2", "hi"}).requests[0].code, kRequestSendDirect);
    EXPECT_NE(Plan({"/sendd", "PC2"}).refusal.find("qnPost.exe /sendd emailAddress"), std::string::npos);
    EXPECT_EQ(Text(Plan({"/send", "PC2", std::string(502, 'h')}).requests[0]).size(), 509u);

    EXPECT_EQ(Plan({"/backup"}).requests[0].code, kRequestBackup);
    EXPECT_EQ(Text(Plan({"/backup", "name"}).requests[0]), "name");
    ForwardPlan import = Plan({"/import", "f.qpk"});
    EXPECT_EQ(import.requests[0].code, kRequestImport);
    EXPECT_EQ(import.requests[0].flag, 1u);
    EXPECT_EQ(Plan({"/ImportSilently", "f.qpk"}).requests[0].flag, 0u);
    EXPECT_EQ(Plan({"/replace", "f.qpk"}).requests[0].code, kRequestReplace);
    EXPECT_EQ(Plan({"/close"}).requests[0].code, kRequestClose);
    EXPECT_TRUE(Plan({"/close"}).requests[0].payload.empty());

    ForwardPlan user = Plan({"/backup/u"});
    EXPECT_TRUE(user.requests.empty());
    EXPECT_TRUE(user.refusalOwnedByRunningWindow);
    EXPECT_EQ(user.refusal.rfind("Sorry, Quillnet+ is already running. You are not allowed to use the \"/backup/u\" "
                                 "option at this moment.\r\n",
                                 0),
              0u);
    EXPECT_EQ(Plan({"/what", "x"}).refusal.rfind("Sorry, the command line is incorrect.", 0), 0u);
}

TEST(ForwardedRequest, PathsGoAsLinesOneRequestEach)
{
    ForwardPlan bare = Plan({"C:\\x\\f.txt"});
    ASSERT_EQ(bare.requests.size(), 1u);
    EXPECT_EQ(bare.requests[0].code, kRequestAppend);
    EXPECT_EQ(bare.requests[0].flag, 0u);
    EXPECT_EQ(bare.requests[0].payload.size(), std::strlen(" C:\\x\\f.txt \r\n") + 1);
    EXPECT_EQ(Text(bare.requests[0]), " C:\\x\\f.txt \r\n");

    ForwardPlan shortcut = Plan({"/newOnlyShortcut", "C:\\a b", "C:\\PROGRA~1\\c", "C:\\d"});
    ASSERT_EQ(shortcut.requests.size(), 3u);
    EXPECT_EQ(shortcut.requests[0].code, kRequestNewNote);
    EXPECT_TRUE(shortcut.requests[0].bringForward);
    EXPECT_EQ(Text(shortcut.requests[0]), " \"C:\\a b\" \r\n");
    EXPECT_EQ(shortcut.requests[1].code, kRequestAppend);
    EXPECT_EQ(shortcut.requests[1].delayBeforeMs, 100u);
    EXPECT_EQ(Text(shortcut.requests[1]), " C:\\PROGRA~1\\c-long \r\n");

    ForwardPlan favourites = Plan({"/addToFavourites", "C:\\x"});
    EXPECT_EQ(favourites.requests[0].code, kRequestAddToFavourites);
    EXPECT_EQ(favourites.requests[0].payload, std::vector<unsigned char>({'C', ':', '\\', 'x', 0}));
    EXPECT_EQ(Plan({"/appendOnlyShortcut"}).refusal.find("Sorry, missing arguments."), 0u);

    // However long the path, its line fits what the receiver accepts.
    ForwardPlan longPath = Plan({"C:\\" + std::string(400, 'p') + " q"});
    ReceivedRequest received = ReadForwardedRequest(longPath.requests[0].code, longPath.requests[0].payload.data(),
                                                    static_cast<std::uint32_t>(longPath.requests[0].payload.size()));
    EXPECT_TRUE(received.valid);
    EXPECT_EQ(received.text.size(), 1 + kMaxForwardedPath + 3);
}

TEST(ForwardedRequest, TheReceiverTakesOnlyBoundedWellFormedData)
{
    const char block[kTextBlockSize] = "note text";
    ReceivedRequest note = ReadForwardedRequest(kRequestNewNote, block, sizeof block);
    EXPECT_TRUE(note.valid);
    EXPECT_EQ(note.text, "note text");
    EXPECT_TRUE(ReadForwardedRequest(kRequestNewNote, nullptr, 0).valid);

    // No terminator inside the data: the text ends where the data ends.
    const char unterminated[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(ReadForwardedRequest(kRequestBackup, unterminated, 4).text, "abcd");

    std::vector<char> big(kMaxPathLineSize + 1, 'x');
    EXPECT_FALSE(ReadForwardedRequest(kRequestAppend, big.data(), static_cast<std::uint32_t>(big.size())).valid);
    EXPECT_FALSE(ReadForwardedRequest(kRequestImport, big.data(), kTextBlockSize + 1).valid);
    EXPECT_FALSE(ReadForwardedRequest(kRequestAddToFavourites, big.data(), kMaxForwardedPath + 2).valid);
    EXPECT_FALSE(ReadForwardedRequest(kRequestNewNote, nullptr, 10).valid);
    EXPECT_FALSE(ReadForwardedRequest(9, block, sizeof block).valid);
    // A send without its separator reaches the receiver, which reports it.
    EXPECT_EQ(ReadForwardedRequest(kRequestSend, "no separator", 13).text, "no separator");
    EXPECT_FALSE(ReadForwardedRequest(kRequestAddToFavourites, "", 1).valid);
    std::vector<char> send(kSendBlockSize + 1, 0);
    std::memcpy(send.data(), "PC2!#%@hi", 9);
    EXPECT_FALSE(ReadForwardedRequest(kRequestSend, send.data(), static_cast<std::uint32_t>(send.size())).valid);
    EXPECT_TRUE(ReadForwardedRequest(kRequestSend, send.data(), kSendBlockSize).valid);
    EXPECT_TRUE(ReadForwardedRequest(kRequestClose, big.data(), 99999).valid);
}

// Cut, a text would lose its end and a file name would name another file: a
// request too long for its block is refused with the limit the user can keep to.
TEST(ForwardedRequest, ARequestTooLongForItsBlockIsRefusedWithItsLimit)
{
    struct Case {
        std::vector<std::string> arguments;
        const char* refusal;
    };
    const Case cases[] = {
        {{"/new", std::string(255, 'a')}, "Sorry, the text given to /new is too long: 255 characters, and the running "
                                          "Quillnet+ can take at most 254.\r\n\r\nNothing was sent."},
        {{"/append", std::string(300, 'a')}, "the text given to /append is too long: 300 characters, "},
        {{"/backup", "C:\\" + std::string(260, 'b')}, "the file name given to /backup is too long: 263 characters, "},
        {{"/ImportSilently", std::string(255, 'i')}, "the file name given to /ImportSilently is too long"},
        {{"/replace", std::string(999, 'r')}, "can take at most 254."},
        // The separators are the program's, not the user's: they are not counted.
        {{"/send", "PC2", std::string(503, 'h')}, "the destination and text given to /send is too long: 506 characters, "
                                                  "and the running Quillnet+ can take at most 505."},
        {{"/sendd", "PC2", "hi", std::string(500, 'f')},
         "the destination, text and attached file given to /sendd is too long: 505 characters, and the running "
         "Quillnet+ can take at most 501."},
    };
    for (const Case& c : cases) {
        ForwardPlan plan = Plan(c.arguments);
        EXPECT_TRUE(plan.requests.empty()) << c.arguments[0];
        EXPECT_FALSE(plan.refusalOwnedByRunningWindow);
        EXPECT_NE(plan.refusal.find(c.refusal), std::string::npos) << plan.refusal;
    }
    // Just within the limits, each goes as it is.
    EXPECT_EQ(Text(Plan({"/append", std::string(254, 'a')}).requests[0]).size(), 254u);
    EXPECT_EQ(Text(Plan({"/backup", std::string(254, 'b')}).requests[0]).size(), 254u);
    EXPECT_EQ(Text(Plan({"/sendd", "PC2", "hi", std::string(496, 'f')}).requests[0]).size(), 509u);
}
