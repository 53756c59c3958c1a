#pragma once

#include <windows.h>

#include "foundation/DateTime.h"

// A recipient and its send record: destinations, chat participants, and the
// delivery records of the "SentTo" and "Transact" lists. Its 764-byte layout is
// what the lists and tables copy.
struct CDestination {
    CDestination();
    CDestination(const char* computerName, const char* ipAddress, const char* alias, const char* email,
                 const char* description, DWORD status, DWORD transactionId = 0, DWORD noteId = 0,
                 DWORD computerId = 0, DWORD port = 0, DWORD userId = 0);
    CDestination(const CDestination& other);
    CDestination& operator=(const CDestination& other);
    ~CDestination() = default;

    // Equal names, address, alias and e-mail (ignoring case) and equal
    // transaction, note and computer ids.
    bool operator==(const CDestination& other) const;
    bool IsNewerThan(const CDestination& other) const { return m_lastSend > other.m_lastSend; }

    void SetIPAddress(const char* address);
    void SetAlias(const char* alias);
    void SetLastSendTime(const CDateTime& time);

    char m_description[121];
    char m_computerName[101];
    char m_ipAddress[16];
    char m_alias[16];
    char m_email[101];
    char m_attachedFile[260];
    DWORD m_status;  // 1 = sent
    CDateTime m_lastSend;
    DWORD m_transactionId;
    DWORD m_noteId;
    DWORD m_computerId;
    DWORD m_retry;
    DWORD m_retryCount;
    DWORD m_retryUnit;
    DWORD m_port;
    DWORD m_userId;
};

inline const CDateTime& RecordDateTime(const CDestination& destination)
{
    return destination.m_lastSend;
}

// What a destination built with port 0 or user id 0 takes instead: the listening
// port and the current user, set when the settings are loaded.
void SetDestinationDefaults(DWORD listeningPort, DWORD currentUserId);
