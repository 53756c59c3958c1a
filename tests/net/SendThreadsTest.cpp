// Closing stops every send at once: real send threads held by peers on
// 127.0.0.1 that take a connection and never answer end within the bound, and
// keep their delivery records as they were. A notice that the user left a
// chat is let finish within the bound instead. A thread that cannot end in
// time is cut off: what it learns afterwards lands in no list or table, which
// by then may be emptied or loaded anew.
#include "NetDriving.h"
#include "NoteCatcher.h"

#include <gtest/gtest.h>

#include "store/DestinationListOps.h"
#include "net/NoteSendThread.h"
#include "store/DbfFile.h"
#include "support/InFolder.h"

namespace {
class SendThreads : public InFolder {
protected:
    void SetUp() override
    {
        CopyTemplate("sentto.QPD");
        CopyTemplate("transact.QPD");
    }

    std::unique_ptr<CSendJob> JobTo(unsigned short port, DWORD noteId)
    {
        auto job = std::make_unique<CSendJob>();
        job->noteId = noteId;
        job->transactionId = noteId;
        job->wire.version = kWireVersion;
        job->wire.title = "held";
        job->richText = "{\\rtf1 held by a silent peer\\par}";
        job->recipients = {LoopbackRecipient(port)};
        job->control = std::make_shared<CSendControl>();
        return job;
    }

    WinsockSession winsock;
};

// A thread that waits for the event, not for its stop flag (as one held by a
// name lookup of the system does), then records when it still may.
struct DeafThread {
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::shared_ptr<CSendControl> control = std::make_shared<CSendControl>();
    volatile LONG recorded = 0;
    HANDLE thread = nullptr;

    DeafThread()
    {
        thread = CreateThread(nullptr, 0, &Run, this, 0, nullptr);
        RegisterSendThread(thread, control);
    }
    ~DeafThread()
    {
        SetEvent(go);
        WaitForSingleObject(thread, kDriverWaitMs);
        CloseHandle(thread);
        CloseHandle(go);
    }
    static DWORD WINAPI Run(void* self)
    {
        auto* deaf = static_cast<DeafThread*>(self);
        WaitForSingleObject(deaf->go, kDriverWaitMs);
        RecordUnlessCutOff(*deaf->control, [deaf] { InterlockedExchange(&deaf->recorded, 1); });
        return 0;
    }
};

// A send that reports to a window of the closing thread, which answers only
// while closing waits for the send threads: the window notes whether the
// send's stop flag was set by then.
struct ReportingThread {
    std::shared_ptr<CSendControl> control = std::make_shared<CSendControl>();
    HWND window;
    LONG stopSeen = -1;
    HANDLE thread = nullptr;

    ReportingThread(HWND reportTo, bool finishBeforeClose) : window(reportTo)
    {
        control->finishBeforeClose = finishBeforeClose;
        thread = CreateThread(nullptr, 0, &Run, this, 0, nullptr);
        RegisterSendThread(thread, control);
    }
    ~ReportingThread()
    {
        WaitForSingleObject(thread, kDriverWaitMs);
        CloseHandle(thread);
    }
    static DWORD WINAPI Run(void* self)
    {
        SendMessageA(static_cast<ReportingThread*>(self)->window, WM_APP, 0, reinterpret_cast<LPARAM>(self));
        return 0;
    }
};

LRESULT CALLBACK NoteStopSeen(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_APP)
        return DefWindowProcA(window, message, wParam, lParam);
    auto* reporting = reinterpret_cast<ReportingThread*>(lParam);
    reporting->stopSeen = reporting->control->stop;
    return 0;
}
}

TEST_F(SendThreads, ClosingEndsEverySendHeldByASilentPeerAndItsRecordsStayAsTheyWere)
{
    const unsigned short ports[2] = {FindFreePort(), FindFreePort()};
    LoopbackPeer first(ports[0]), second(ports[1]);
    ASSERT_TRUE(first.IsListening() && second.IsListening());
    HANDLE threads[2][2] = {};
    for (int k = 0; k < 2; ++k)
        ASSERT_TRUE(StartSendThreads(JobTo(ports[k], 71 + k), threads[k][0], threads[k][1]));
    // Each peer takes the note's connection and says nothing.
    ASSERT_TRUE(first.AcceptAndStall());
    ASSERT_TRUE(second.AcceptAndStall());

    EXPECT_TRUE(EndSendThreads(kSendThreadsEndMs));
    for (auto& pair : threads) {
        EXPECT_EQ(WaitForSingleObject(pair[0], 0), WAIT_OBJECT_0) << "a send thread still runs";
        EXPECT_EQ(WaitForSingleObject(pair[1], kDriverWaitMs), WAIT_OBJECT_0) << "an animation thread still runs";
        CloseHandle(pair[0]);
        CloseHandle(pair[1]);
    }
    // A send cut short by closing is neither sent nor failed: nothing is kept.
    for (const CDestination& record : CopyOfTransactList())
        EXPECT_TRUE(record.m_noteId != 71 && record.m_noteId != 72);
    for (const CDestination& entry : CopyOfSentToList())
        EXPECT_TRUE(entry.m_port != ports[0] && entry.m_port != ports[1]);
    EXPECT_EQ(CountTableRecords("transact.QPD"), 0u);
    EXPECT_EQ(CountTableRecords("sentto.QPD"), 0u);
}

TEST_F(SendThreads, AThreadThatDoesNotEndInTimeIsCutOffFromTheRecords)
{
    DeafThread deaf;
    EXPECT_FALSE(EndSendThreads(300));
    SetEvent(deaf.go);
    ASSERT_EQ(WaitForSingleObject(deaf.thread, kDriverWaitMs), WAIT_OBJECT_0);
    EXPECT_EQ(deaf.recorded, 0) << "a thread cut off recorded after closing";

    // Threads that start later record as ever; once ended, nothing waits for them.
    DeafThread later;
    SetEvent(later.go);
    ASSERT_EQ(WaitForSingleObject(later.thread, kDriverWaitMs), WAIT_OBJECT_0);
    EXPECT_EQ(later.recorded, 1);
    EXPECT_TRUE(EndSendThreads(0));
}

TEST_F(SendThreads, ANoticeOfLeavingAChatIsLetFinishWhileEveryOtherSendStopsAtOnce)
{
    const char kClass[] = "QnStopSeen";
    WNDCLASSA type = {};
    type.lpfnWndProc = &NoteStopSeen;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = kClass;
    ASSERT_NE(RegisterClassA(&type), 0);
    HWND window = CreateWindowExA(0, kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, type.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    {
        ReportingThread send(window, false);
        ReportingThread notice(window, true);
        EXPECT_TRUE(EndSendThreads(kDriverWaitMs));
        EXPECT_EQ(send.stopSeen, 1);
        EXPECT_EQ(notice.stopSeen, 0);
    }
    DestroyWindow(window);
    UnregisterClassA(kClass, type.hInstance);
}
