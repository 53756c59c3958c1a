#include "net/NoteSendRecords.h"

#include "foundation/Clock.h"
#include "foundation/CriticalSectionLock.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/MainThread.h"
#include "store/DestinationListOps.h"
#include "store/DestinationLists.h"
#include "net/NoteSendThread.h"
#include "store/SentToTable.h"
#include "store/TransactTable.h"

namespace {
using SendRecordNode = CRecordList<CDestination>::Node;

SendRecordNode* FindDelivery(DWORD noteId, DWORD computerId)
{
    for (SendRecordNode* node = TransactList().GetFirst(); node; node = node->next)
        if (node->record.m_noteId == noteId && node->record.m_computerId == computerId)
            return node;
    return nullptr;
}

CDestination SentToEntry(DWORD computerId)
{
    for (const CDestination& entry : CopyOfSentToList())
        if (entry.m_computerId == computerId)
            return entry;
    return CDestination();
}

// Writes the rows; a table that cannot be written is logged, the lists keep the result.
template <class Write>
void WriteRow(const char* what, Write write)
{
    try {
        write();
    } catch (const CGenericException& failure) {
        WriteErrorLog(what, failure.GetErrorText());
    }
}
}

DWORD NextTransactionId()
{
    RequireMainThread("NextTransactionId");
    static DWORD lastGiven = 0;
    DWORD highest = HighestStoredTransactionId();
    if (lastGiven > highest)
        highest = lastGiven;
    for (const CDestination& entry : CopyOfTransactList())
        if (entry.m_transactionId > highest)
            highest = entry.m_transactionId;
    lastGiven = highest + 1;
    return lastGiven;
}

namespace {
CDestination RecordInLists(const CSendJob& job, const CDestination& recipient)
{
    const bool sent = recipient.m_status == 1;
    CDateTime now;
    now = GetLocalNow();
    const DWORD computerId = UpdateSentToList(recipient.m_computerName, recipient.m_ipAddress, recipient.m_alias,
                                              recipient.m_email, sent ? 1 : 0, sent ? &now : nullptr,
                                              recipient.m_port);
    CDestination record = recipient;
    record.m_noteId = job.noteId;
    record.m_transactionId = job.transactionId;
    record.m_computerId = computerId;
    record.m_userId = job.owners.currentUserId;
    // The table keeps paths of at most 255 characters; a longer one is not kept.
    lstrcpynA(record.m_attachedFile,
              job.attachedFile.size() <= kMaxStoredAttachmentPath ? job.attachedFile.c_str() : "",
              sizeof record.m_attachedFile);
    record.SetLastSendTime(now);
    {
        CCriticalSectionLock hold(TransactLock());
        SendRecordNode* earlier = FindDelivery(job.noteId, computerId);
        const DWORD failedBefore = earlier && job.resend ? earlier->record.m_retryCount : 0;
        record.m_retryCount = sent ? failedBefore : failedBefore + 1;
        record.m_retryUnit = job.resendUnit;
        record.m_retry = !sent && job.autoResend && record.m_retryCount < kMaxDeliveryAttempts ? 1 : 0;
        if (earlier)
            TransactList().Remove(earlier);
        TransactList().AddDescendingByDate(record);
    }
    const CDestination entry = SentToEntry(computerId);
    if (entry.m_computerId != 0)
        WriteRow("RecordDelivery sent-to row:", [&] { AppendSentToIfNot(entry, job.owners); });
    WriteRow("RecordDelivery transaction row:", [&] { AppendTransactIfNot(record, 0, job.owners); });
    return record;
}
}

CDestination RecordDelivery(const CSendJob& job, const CDestination& recipient)
{
    CDestination kept = recipient;
    // A thread cut off at closing records nothing: the lists may be gone or loaded anew.
    RecordUnlessCutOff(*job.control, [&] { kept = RecordInLists(job, recipient); });
    return kept;
}

void ResetDestinationFlags(DWORD noteId)
{
    CCriticalSectionLock hold(TransactLock());
    for (SendRecordNode* node = TransactList().GetFirst(); node; node = node->next)
        if (noteId == kAllNotesId || node->record.m_noteId == noteId)
            node->record.m_retry = 0;
}

std::vector<CDestination> PendingResends(DWORD noteId)
{
    std::vector<CDestination> pending;
    CCriticalSectionLock hold(TransactLock());
    for (SendRecordNode* node = TransactList().GetFirst(); node; node = node->next)
        if (node->record.m_noteId == noteId && node->record.m_retry && node->record.m_status != 1)
            pending.push_back(node->record);
    return pending;
}

int ResendDelayTicks(DWORD failedAttempts, BYTE amount, BYTE unit)
{
    // The note's timer ticks every 15 seconds.
    const int ticksPerUnit = unit == 2 ? 4 * 60 : unit == 3 ? 4 * 60 * 24 : 4;
    if (failedAttempts <= 1)
        return ticksPerUnit;
    return (amount ? amount : 5) * ticksPerUnit;
}
