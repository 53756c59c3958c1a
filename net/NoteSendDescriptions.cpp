#include "net/NoteSendDescriptions.h"

#include "foundation/Clock.h"
#include "foundation/GenericString.h"
#include "foundation/TextFormatting.h"
#include "note/NoteController.h"
#include "store/DestinationListOps.h"

namespace {
std::string DateText(const CDateTime& date, bool noTime)
{
    CGenericString text;
    FormatDateText(date, noTime, text, false, false);
    return text.GetString() ? text.GetString() : "";
}

bool SameDay(const CDateTime& a, const CDateTime& b)
{
    return a.m_day == b.m_day && a.m_month == b.m_month && a.m_year == b.m_year;
}
}

bool FindSendRecord(DWORD noteId, CDestination& record)
{
    bool found = false;
    for (const CDestination& entry : CopyOfTransactList()) {
        if (entry.m_noteId != noteId || (found && !entry.IsNewerThan(record)))
            continue;
        record = entry;
        found = true;
    }
    return found;
}

std::string DescribeSendRecord(const CDestination& record)
{
    std::string name = record.m_alias[0] ? record.m_alias : record.m_computerName;
    if (name.empty())
        name = record.m_email[0] ? record.m_email : record.m_ipAddress;
    return "Sent to " + name + " on " + DateText(record.m_lastSend, false);
}

std::string DescribeNextSendTime(const CNoteController& note, bool resending)
{
    if (resending)
        return "Send again at next alarm time";
    CDateTime today;
    today = GetLocalNow();
    CDateTime tomorrow = today;
    tomorrow.AddDays(1);
    CDateTime alarm = note.m_alarm;
    if (SameDay(alarm, today))
        return std::string("Next send at alarm time,") + " today at " + alarm.FormatTime();
    if (SameDay(alarm, tomorrow))
        return std::string("Next send at alarm time,") + " tomorrow at " + alarm.FormatTime();
    return "Next send at alarm time, " + DateText(alarm, false);
}
