#include "store/Destination.h"

#include <cstdio>
#include <cstring>

static_assert(sizeof(CDestination) == 764, "the destination record keeps its stored size");

namespace {
DWORD g_listeningPort = 0;
DWORD g_currentUserId = 0;

template <size_t N>
void CopyToDestination(char (&field)[N], const char* text)
{
    std::snprintf(field, N, "%s", text ? text : "");
}
}

void SetDestinationDefaults(DWORD listeningPort, DWORD currentUserId)
{
    g_listeningPort = listeningPort;
    g_currentUserId = currentUserId;
}

CDestination::CDestination() : CDestination("", "", "", "", "", 0) {}

CDestination::CDestination(const char* computerName, const char* ipAddress, const char* alias, const char* email,
                           const char* description, DWORD status, DWORD transactionId, DWORD noteId,
                           DWORD computerId, DWORD port, DWORD userId)
    : m_status(status),
      m_transactionId(transactionId),
      m_noteId(noteId),
      m_computerId(computerId),
      m_retry(0),
      m_retryCount(0),
      m_retryUnit(0),
      m_port(port ? port : g_listeningPort),
      m_userId(userId ? userId : g_currentUserId)
{
    CopyToDestination(m_description, description);
    CopyToDestination(m_computerName, computerName);
    CopyToDestination(m_ipAddress, ipAddress);
    CopyToDestination(m_alias, alias);
    CopyToDestination(m_email, email);
    m_attachedFile[0] = 0;
}

CDestination::CDestination(const CDestination& other)
{
    *this = other;
}

CDestination& CDestination::operator=(const CDestination& other)
{
    if (this != &other) {
        std::memcpy(static_cast<void*>(this), &other, sizeof *this);
        m_lastSend.FormatTime();
    }
    return *this;
}

bool CDestination::operator==(const CDestination& o) const
{
    return lstrcmpiA(m_ipAddress, o.m_ipAddress) == 0 && lstrcmpiA(m_alias, o.m_alias) == 0 &&
           lstrcmpiA(m_computerName, o.m_computerName) == 0 && lstrcmpiA(m_email, o.m_email) == 0 &&
           m_transactionId == o.m_transactionId && m_noteId == o.m_noteId && m_computerId == o.m_computerId;
}

void CDestination::SetIPAddress(const char* address)
{
    CopyToDestination(m_ipAddress, address);
}

void CDestination::SetAlias(const char* alias)
{
    CopyToDestination(m_alias, alias);
}

void CDestination::SetLastSendTime(const CDateTime& time)
{
    m_lastSend = time;
    m_lastSend.FormatTime();
}
