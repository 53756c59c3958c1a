#include <winsock2.h>

#include "net/NoteSending.h"

#include <cstdio>
#include <map>
#include <memory>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/MainThread.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/MessageBoxes.h"
#include "store/DestinationListOps.h"
#include "store/FileStepRetries.h"
#include "net/NoteSendRecords.h"
#include "net/NoteSendStrip.h"
#include "net/NoteSendThread.h"
#include "store/TransactTable.h"
#include "net/bytes/SendTarget.h"
#include "note/NoteController.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "store/NoteSaving.h"
#include "store/RowOwnership.h"

namespace {
// What a note's sending keeps between the messages of its threads.
struct NoteSendState {
    HANDLE sendThread = nullptr;
    HANDLE animationThread = nullptr;
    std::shared_ptr<CSendControl> control;
    DWORD sendNumber = 0;
    std::vector<std::string> results;  // one line per recipient of the running send
    bool anyFailed = false;
    std::map<DWORD, int> resendTicks;  // computer id -> ticks until the next attempt
    std::vector<CDestination> waiting; // a request to send at the next tick
    std::string waitingAttachment;
};

std::map<const CNoteController*, std::unique_ptr<NoteSendState>>& States()
{
    static std::map<const CNoteController*, std::unique_ptr<NoteSendState>> states;
    return states;
}

NoteSendState* FindState(const CNoteController& note)
{
    auto found = States().find(&note);
    return found == States().end() ? nullptr : found->second.get();
}

NoteSendState& NoteSendingStateOf(const CNoteController& note)
{
    std::unique_ptr<NoteSendState>& state = States()[&note];
    if (!state)
        state = std::make_unique<NoteSendState>();
    return *state;
}

void ShowRefusal(const CNoteController& note, const std::string& text)
{
    ShowMessageBox(note.m_window, text.c_str(), ProgramTitle, kMbIconExclamation);
}

std::string TrimmedTitle(const char* title)
{
    std::string text = title;
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::string AlarmText(const CDateTime& alarm)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04u%02u%02u%02u%02u%02u", alarm.m_year % 10000u, alarm.m_month % 100u,
                  alarm.m_day % 100u, alarm.m_hour % 100u, alarm.m_minute % 100u, alarm.m_second % 100u);
    return text;
}

CWireNote WireHeaderOf(const CNoteController& note)
{
    const CUserSettings& user = UserSettings();
    CWireNote wire;
    wire.computerName = GetStartupValues().computerName;
    wire.userName = user.userName[0] ? user.userName : GetStartupValues().userName;
    wire.replyPort = user.listenPort;
    wire.title = TrimmedTitle(note.m_title);
    wire.hasColours = true;
    wire.backColour = note.m_bodyColor & 0xFFFFFF;
    wire.textColour = note.m_textColor & 0xFFFFFF;
    wire.fontName = note.m_bodyFont.lfFaceName;
    const LONG height = note.m_bodyFont.lfHeight < 0 ? -note.m_bodyFont.lfHeight : note.m_bodyFont.lfHeight;
    wire.fontSize = static_cast<std::uint32_t>(MulDiv(height, 72, 96));
    wire.width = static_cast<std::uint32_t>(note.m_rolledUp ? note.m_unrolledWidth : note.m_width);
    wire.height = static_cast<std::uint32_t>(note.m_rolledUp ? note.m_unrolledHeight : note.m_height);
    wire.stayOnTop = note.m_stayOnTop;
    if (note.m_alarmSet && !note.m_alarmRung)
        wire.alarm = AlarmText(note.m_alarm);
    wire.isProtected = note.m_protected;
    return wire;
}

// The note gets its record and its latest text into the notes table first:
// a delivery record names the note by its record.
bool SaveBeforeSend(CNoteController& note)
{
    note.SyncFromWindow();
    try {
        if (note.m_noteId == 9999 || note.m_noteId == 9988) {
            SaveNoteBeforeSend(note);
        } else if (note.m_modified) {
            SaveNote(note);
        }
    } catch (const CGenericException&) {
        return false;  // the save has told the user
    }
    return note.m_noteId != 9999 && note.m_noteId != 9988 && note.m_noteId != 0;
}

std::string WaitText(int ticks)
{
    const int minutes = (ticks + 3) / 4;
    if (minutes < 120)
        return std::to_string(minutes) + (minutes == 1 ? " minute" : " minutes");
    const int hours = (minutes + 59) / 60;
    return std::to_string(hours) + " hours";
}

std::string SizeText(size_t bytes)
{
    return std::to_string((bytes + 1023) / 1024) + " KB";
}

void CloseHandleOf(HANDLE& handle)
{
    if (handle)
        CloseHandle(handle);
    handle = nullptr;
}

void OnProgress(CNoteController& note, std::unique_ptr<CSendProgress> progress)
{
    std::string text = "Sending to " + progress->recipient;
    text += progress->sent == 0 ? "..." : ": " + SizeText(progress->sent) + " of " + SizeText(progress->total);
    ShowSendStrip(note.m_window, text, false, 0);
}

void OnOutcome(CNoteController& note, NoteSendState& state, std::unique_ptr<CSendOutcome> outcome)
{
    const CDestination& record = outcome->record;
    const std::string name = RecipientName(record);
    if (record.m_status == 1) {
        state.resendTicks.erase(record.m_computerId);
        state.results.push_back("Sent to " + name + ".");
        note.m_sent = true;
        lstrcpynA(note.m_lastSentTo, record.m_computerName[0] ? record.m_computerName : record.m_ipAddress,
                  sizeof note.m_lastSentTo);
    } else {
        state.anyFailed = true;
        std::string line = "Not sent to " + name + ": " +
                           (outcome->reason.empty() ? DescribeTransmitResult(outcome->result) : outcome->reason);
        if (record.m_retry) {
            const CUserSettings& user = UserSettings();
            const int ticks = ResendDelayTicks(record.m_retryCount, user.retry.amount,
                                               static_cast<BYTE>(record.m_retryUnit));
            state.resendTicks[record.m_computerId] = ticks;
            SetTimer(note.m_window, kNoteResendTimerId, kNoteResendTimerMs, nullptr);
            line += ". Tried " + std::to_string(record.m_retryCount) + (record.m_retryCount == 1 ? " time" : " times") +
                    "; trying again in " + WaitText(ticks);
        }
        state.results.push_back(line + ".");
    }
    note.m_modified = true;
}

void OnFinished(CNoteController& note, NoteSendState& state, DWORD sendNumber)
{
    if (sendNumber != state.sendNumber || !state.sendThread)
        return;
    AwaitThread(state.sendThread, 5000);
    if (state.animationThread)
        AwaitThread(state.animationThread, 2000);
    CloseHandleOf(state.sendThread);
    CloseHandleOf(state.animationThread);
    state.control.reset();
    std::string text;
    for (const std::string& line : state.results)
        text += (text.empty() ? "" : "  ") + line;
    if (state.results.empty())
        text = "The send was stopped.";
    note.m_sendState = state.anyFailed || state.results.empty() ? 2 : 1;
    ShowSendStrip(note.m_window, text, note.m_sendState == 2, -1);
    if (note.m_sendState == 1)
        HideSendStripLater(note.m_window);
    if (note.m_window)
        SendMessageA(note.m_window, WM_NCPAINT, 1, 0);
}

// A destination of a send request: the "SentTo" entry of that name or
// address when there is one (its address and port stand unless the request
// gives them), else a new destination.
CDestination DestinationOf(const SendTarget& target)
{
    for (const CDestination& entry : CopyOfSentToList()) {
        const bool byName = !target.computerName.empty() && (lstrcmpiA(entry.m_computerName, target.computerName.c_str()) == 0 ||
                                                             lstrcmpiA(entry.m_alias, target.computerName.c_str()) == 0);
        const bool byAddress = !target.ipAddress.empty() && lstrcmpA(entry.m_ipAddress, target.ipAddress.c_str()) == 0 &&
                               (target.port == 0 || target.port == entry.m_port);
        const bool byEmail = !target.email.empty() && lstrcmpiA(entry.m_email, target.email.c_str()) == 0;
        if (byName || byAddress || byEmail) {
            CDestination known = entry;
            if (target.port)
                known.m_port = target.port;
            return known;
        }
    }
    return CDestination(target.computerName.c_str(), target.ipAddress.c_str(), "", target.email.c_str(), "", 0, 0,
                        0, 0, target.port);
}
}

bool StartNoteSend(CNoteController& note, const std::vector<CDestination>& recipients, const std::string& attachedFile)
{
    RequireMainThread("StartNoteSend");
    if (recipients.empty() || !note.m_window)
        return false;
    NoteSendState& state = NoteSendingStateOf(note);
    if (state.sendThread) {
        ShowRefusal(note, "This note is being sent right now.\r\n\r\nPlease send it again when that send has ended.");
        return false;
    }
    bool saved = false;
    std::string held;
    {
        // The files this save finds held are named in the refusal.
        CHeldFilesMetOnce thisSave(HeldFileWork::kPartOfWorkUnderWay);
        saved = SaveBeforeSend(note);
        held = thisSave.HeldFilesText();
    }
    if (!saved) {
        ShowRefusal(note, held.empty() ? std::string("The note could not be saved, so it was not sent.")
                                       : "The note could not be saved, so it was not sent; " + held +
                                             "\r\n\r\nPlease close that program and try again.");
        return false;
    }
    const CUserSettings& user = UserSettings();
    auto job = std::make_unique<CSendJob>();
    job->sendNumber = ++state.sendNumber;
    job->noteWindow = note.m_window;
    job->noteId = note.m_noteId;
    const bool resend = recipients.front().m_noteId == note.m_noteId && recipients.front().m_transactionId != 0;
    job->resend = resend;
    job->transactionId = resend ? recipients.front().m_transactionId : NextTransactionId();
    job->autoResend = user.retry.on != 0;
    job->resendUnit = user.retry.unit >= 1 && user.retry.unit <= 3 ? user.retry.unit : 1;
    job->wire = WireHeaderOf(note);
    // A protected note travels as its enciphered body only, and its attached
    // file with the same key.
    std::string notPrepared;
    if (note.m_protected && !note.m_masked && !note.PrepareContentForSend(&notPrepared)) {
        ShowRefusal(note, "The note could not be sent: " + notPrepared + ".");
        return false;
    }
    job->richText = note.m_protected ? note.m_protectedContent : note.RichText();
    job->attachedFile = attachedFile;
    if (note.m_protected)
        job->attachmentKey = note.m_masked ? std::string(user.passwordCode) : note.m_passwordText;
    job->recipients = recipients;
    job->email = EmailSettingsFromConfig(ConfigSettings(), GetStartupValues().computerName);
    for (CDestination& recipient : job->recipients)
        recipient.m_status = 0;
    job->owners = CurrentRowOwnership();
    job->control = std::make_shared<CSendControl>();
    // The mail session stops with the send, as the other recipients' do.
    job->email.server.stopFlag = &job->control->stop;
    const std::shared_ptr<CSendControl> control = job->control;
    HANDLE sendThread = nullptr, animationThread = nullptr;
    if (!StartSendThreads(std::move(job), sendThread, animationThread)) {
        ShowRefusal(note, "The note could not be sent: its send could not be started.");
        return false;
    }
    state.sendThread = sendThread;
    state.animationThread = animationThread;
    state.control = control;
    state.results.clear();
    state.anyFailed = false;
    ShowSendStrip(note.m_window, "Sending...", false, 0);
    return true;
}

void OnSendRequest(CNoteController& note, WPARAM mode, const char* destinationText)
{
    const std::string text = destinationText ? destinationText : "";
    SendTarget target;
    std::string reason;
    if (!ParseSendRequestTarget(text, target, reason)) {
        const std::string message = "The note was not sent: " + reason + ".";
        WriteErrorLog("Send request:", (message + " (" + text.substr(0, 300) + ")").c_str(),
                      DataName::kCommandLineSendErrors);
        ShowRefusal(note, message);
        return;
    }
    const std::vector<CDestination> recipients = {DestinationOf(target)};
    if (mode == 0) {
        StartNoteSend(note, recipients, target.attachedFile);
        return;
    }
    NoteSendState& state = NoteSendingStateOf(note);
    state.waiting = recipients;
    state.waitingAttachment = target.attachedFile;
    SetTimer(note.m_window, kNoteResendTimerId, kNoteResendTimerMs, nullptr);
    ShowSendStrip(note.m_window, "This note will be sent to " + RecipientName(recipients.front()) + " in a moment.",
                  false, -1);
}

namespace {
// Nothing of the note waits for the resend timer any more.
void DropWaitingSends(CNoteController& note)
{
    if (NoteSendState* state = FindState(note)) {
        state->resendTicks.clear();
        state->waiting.clear();
        if (note.m_window)
            KillTimer(note.m_window, kNoteResendTimerId);
    }
}
}

void ClearNoteSendIcon(CNoteController& note)
{
    note.m_sendState = 0;
    DropWaitingSends(note);
    if (note.m_noteId != 9999 && note.m_noteId != 9988)
        ResetDestinationFlags(note.m_noteId);
    // A running send keeps its strip until it ends.
    if (note.m_window && !IsNoteTransmitting(note))
        HideSendStrip(note.m_window);
}

void ForgetNoteDeliveries(CNoteController& note)
{
    DropWaitingSends(note);
    if (note.m_noteId == 9999 || note.m_noteId == 9988)
        return;
    RemoveNoteTransacts(note.m_noteId);
    try {
        DeleteTransactRowsOfNote(note.m_noteId);
    } catch (const CGenericException& failure) {
        WriteErrorLog("DeleteNote() delivery records:", failure.GetErrorText());
    }
}

bool IsNoteTransmitting(const CNoteController& note)
{
    const NoteSendState* state = FindState(note);
    return state && state->sendThread;
}

bool OnNoteSendMessage(CNoteController& note, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kNoteMsgSendFrame:
        SetSendStripFrame(note.m_window, static_cast<int>(wParam));
        return true;
    case kNoteMsgSendProgress:
        OnProgress(note, std::unique_ptr<CSendProgress>(reinterpret_cast<CSendProgress*>(lParam)));
        return true;
    case kNoteMsgSendOutcome:
        OnOutcome(note, NoteSendingStateOf(note), std::unique_ptr<CSendOutcome>(reinterpret_cast<CSendOutcome*>(lParam)));
        return true;
    case kNoteMsgSendFinished:
        OnFinished(note, NoteSendingStateOf(note), static_cast<DWORD>(wParam));
        return true;
    default:
        return false;
    }
}

void OnNoteResendTimer(CNoteController& note)
{
    NoteSendState& state = NoteSendingStateOf(note);
    if (state.sendThread)
        return;
    if (!state.waiting.empty()) {
        std::vector<CDestination> recipients;
        recipients.swap(state.waiting);
        StartNoteSend(note, recipients, state.waitingAttachment);
        return;
    }
    std::vector<DWORD> due;
    for (auto& entry : state.resendTicks)
        if (--entry.second <= 0)
            due.push_back(entry.first);
    std::vector<CDestination> recipients;
    for (const CDestination& pending : PendingResends(note.m_noteId))
        for (DWORD computerId : due)
            if (pending.m_computerId == computerId)
                recipients.push_back(pending);
    for (DWORD computerId : due)
        state.resendTicks.erase(computerId);
    if (!recipients.empty())
        StartNoteSend(note, recipients, recipients.front().m_attachedFile);
    else if (state.resendTicks.empty())
        KillTimer(note.m_window, kNoteResendTimerId);
}

void ResumeNoteResends(CNoteController& note)
{
    if (!note.m_window || note.m_noteId == 9999 || note.m_noteId == 9988)
        return;
    const std::vector<CDestination> pending = PendingResends(note.m_noteId);
    if (pending.empty())
        return;
    NoteSendState& state = NoteSendingStateOf(note);
    for (const CDestination& record : pending)
        state.resendTicks[record.m_computerId] = 1;
    SetTimer(note.m_window, kNoteResendTimerId, kNoteResendTimerMs, nullptr);
}

void EndNoteSending(CNoteController& note)
{
    auto found = States().find(&note);
    if (found == States().end())
        return;
    NoteSendState& state = *found->second;
    if (state.control) {
        InterlockedExchange(&state.control->stop, 1);
        SetEvent(state.control->animationStop);
    }
    // Both threads see the stop within a fraction of a second; one that does
    // not end in time is left to end on its own (it posts to a window that
    // is gone, which frees what it posts).
    if (state.sendThread)
        AwaitThread(state.sendThread, 5000);
    if (state.animationThread)
        AwaitThread(state.animationThread, 2000);
    CloseHandleOf(state.sendThread);
    CloseHandleOf(state.animationThread);
    if (note.m_window)
        KillTimer(note.m_window, kNoteResendTimerId);
    States().erase(found);
}
