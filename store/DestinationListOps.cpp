#include "store/DestinationListOps.h"

#include "foundation/CriticalSectionLock.h"
#include "store/DestinationLists.h"
#include "store/SentToTable.h"

namespace {
using DestinationNode = CRecordList<CDestination>::Node;

bool Alike(const char* a, const char* b)
{
    return lstrcmpiA(a, b) == 0;
}

// Walks "SentTo" front to back and returns the first entry the test accepts.
template <class Test>
CDestination* FindFirst(Test test)
{
    for (DestinationNode* node = SentToList().GetFirst(); node; node = node->next)
        if (test(node->record))
            return &node->record;
    return nullptr;
}

DWORD MaxComputerIdLocked()
{
    DWORD highest = HighestStoredComputerId();
    for (DestinationNode* node = SentToList().GetFirst(); node; node = node->next)
        if (node->record.m_computerId > highest)
            highest = node->record.m_computerId;
    return highest;
}

// Finds the entry that the names given stand for, taking over the names and
// address where the rules say so; null when a new entry is needed.
CDestination* MatchDestination(const char* N, const char* P, const char* A, const char* E, DWORD port)
{
    bool n = *N, p = *P, a = *A, e = *E;
    CDestination* found = nullptr;
    if (!e && n && a) {
        if ((found = FindFirst([&](CDestination& d) { return Alike(d.m_computerName, N) && Alike(d.m_alias, A); }))) {
            found->SetIPAddress(P);
            found->m_port = port;
            return found;
        }
    }
    if (!e && !n && a && p) {
        if ((found = FindFirst([&](CDestination& d) {
                 return Alike(d.m_ipAddress, P) && Alike(d.m_alias, A) && !d.m_computerName[0];
             }))) {
            found->m_port = port;
            return found;
        }
        // A destination known by the name the user now calls its alias.
        if ((found = FindFirst([&](CDestination& d) {
                 return Alike(d.m_computerName, A) && Alike(d.m_ipAddress, P) && !d.m_alias[0];
             }))) {
            found->SetAlias(A);
            found->m_computerName[0] = '\0';
            found->m_port = port;
            return found;
        }
    }
    if (a && !e)
        return nullptr;
    if (!e && n && p) {
        if ((found = FindFirst([&](CDestination& d) { return Alike(d.m_computerName, N) && !d.m_alias[0]; }))) {
            found->SetIPAddress(P);
            found->m_port = port;
            return found;
        }
        if ((found = FindFirst([&](CDestination& d) {
                 return Alike(d.m_alias, N) && Alike(d.m_ipAddress, P) && !d.m_computerName[0];
             }))) {
            lstrcpynA(found->m_computerName, N, sizeof found->m_computerName);
            found->m_alias[0] = '\0';
            found->SetIPAddress(P);
            found->m_port = port;
            return found;
        }
    }
    if (!e && !p && n) {
        if ((found = FindFirst([&](CDestination& d) { return Alike(d.m_computerName, N) && !d.m_alias[0]; }))) {
            found->m_port = port;
            return found;
        }
    }
    if (n && !e)
        return nullptr;
    if (p && !n && !a && !e) {
        if ((found = FindFirst([&](CDestination& d) { return Alike(d.m_ipAddress, P) && !d.m_alias[0]; })))
            found->m_port = port;
        return found;
    }
    return FindFirst([&](CDestination& d) {
        if (n && !e && Alike(d.m_computerName, N)) {
            if (a)
                d.SetAlias(A);
            d.SetIPAddress(P);
            d.m_port = port;
            return true;
        }
        if (!e && p && Alike(d.m_ipAddress, P)) {
            if (a)
                d.SetAlias(A);
            d.m_port = port;
            return true;
        }
        if (e && Alike(d.m_email, E)) {
            if (a)
                d.SetAlias(A);
            return true;
        }
        return false;
    });
}
}

CRITICAL_SECTION& SentToLock()
{
    static CCriticalSection lock;
    return lock.Section();
}

CRITICAL_SECTION& TransactLock()
{
    static CCriticalSection lock;
    return lock.Section();
}

namespace {
std::vector<CDestination> CopyOf(CRecordList<CDestination>& list, CRITICAL_SECTION& lock)
{
    CCriticalSectionLock hold(lock);
    std::vector<CDestination> entries;
    for (DestinationNode* node = list.GetFirst(); node; node = node->next)
        entries.push_back(node->record);
    return entries;
}
}

std::vector<CDestination> CopyOfSentToList()
{
    return CopyOf(SentToList(), SentToLock());
}

std::vector<CDestination> CopyOfTransactList()
{
    return CopyOf(TransactList(), TransactLock());
}

DWORD UpdateSentToList(const char* computerName, const char* ipAddress, const char* alias, const char* email,
                       DWORD status, const CDateTime* when, DWORD port)
{
    const char* N = computerName ? computerName : "";
    const char* P = ipAddress ? ipAddress : "";
    const char* A = alias ? alias : "";
    const char* E = email ? email : "";
    CCriticalSectionLock hold(SentToLock());
    CDestination* entry = MatchDestination(N, P, A, E, port);
    if (!entry) {
        CDestination fresh(N, P, A, E, "", status, 0, 0, MaxComputerIdLocked() + 1, port);
        entry = &SentToList().AddToTail(fresh)->record;
    }
    entry->m_status = status;
    if (when)
        entry->SetLastSendTime(*when);
    return entry->m_computerId;
}

size_t AddHeardOfComputers(const std::vector<std::string>& names)
{
    CCriticalSectionLock hold(SentToLock());
    // Never sent to or heard from: no address, no e-mail, no alias, not delivered.
    size_t heardOf = 0;
    for (DestinationNode* node = SentToList().GetFirst(); node; node = node->next) {
        const CDestination& d = node->record;
        if (d.m_status != 1 && !d.m_ipAddress[0] && !d.m_email[0] && !d.m_alias[0])
            ++heardOf;
    }
    size_t leftOut = 0;
    DWORD lastId = MaxComputerIdLocked();
    for (const std::string& name : names) {
        if (name.empty() || FindFirst([&](CDestination& d) { return Alike(d.m_computerName, name.c_str()); }))
            continue;
        if (heardOf >= kMaxHeardOfComputers) {
            ++leftOut;
            continue;
        }
        CDestination fresh(name.c_str(), "", "", "", "", 0, 0, 0, ++lastId, 0);
        SentToList().AddToTail(fresh);
        ++heardOf;
    }
    return leftOut;
}

DWORD GetMaxComputerId()
{
    CCriticalSectionLock hold(SentToLock());
    return MaxComputerIdLocked();
}

DWORD GetLastTransactId(DWORD noteId)
{
    CCriticalSectionLock hold(TransactLock());
    DWORD highest = 0;
    for (DestinationNode* node = TransactList().GetFirst(); node; node = node->next)
        if (node->record.m_noteId == noteId && node->record.m_transactionId > highest)
            highest = node->record.m_transactionId;
    return highest;
}

void RemoveNoteTransacts(DWORD noteId)
{
    CCriticalSectionLock hold(TransactLock());
    for (DestinationNode* node = TransactList().GetFirst(); node;) {
        DestinationNode* next = node->next;
        if (node->record.m_noteId == noteId)
            TransactList().Remove(node);
        node = next;
    }
}

void RemoveComputerTransacts(DWORD computerId)
{
    for (DestinationNode* node = TransactList().GetFirst(); node;) {
        DestinationNode* next = node->next;
        if (node->record.m_computerId == computerId)
            TransactList().Remove(node);
        node = next;
    }
}

void RemoveComputerFromSentTo(DWORD computerId)
{
    CCriticalSectionLock hold(SentToLock());
    for (DestinationNode* node = SentToList().GetFirst(); node;) {
        DestinationNode* next = node->next;
        if (node->record.m_computerId == computerId)
            SentToList().Remove(node);
        node = next;
    }
}
