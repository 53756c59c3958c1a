#pragma once

#include <windows.h>

// The program's one way to lock: a CCriticalSection owned by whatever it guards
// (a table, a list, a pool), held for the life of a scope by a
// CCriticalSectionLock. The portable bytes/ code never includes windows.h and
// never locks.
class CCriticalSection {
public:
    CCriticalSection() { InitializeCriticalSection(&m_section); }
    ~CCriticalSection() { DeleteCriticalSection(&m_section); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;
    CRITICAL_SECTION& Section() { return m_section; }

private:
    CRITICAL_SECTION m_section;
};

// Holds a critical section for the life of a scope.
class CCriticalSectionLock {
public:
    explicit CCriticalSectionLock(CRITICAL_SECTION& section) : m_section(section) { EnterCriticalSection(&m_section); }
    explicit CCriticalSectionLock(CCriticalSection& section) : CCriticalSectionLock(section.Section()) {}
    ~CCriticalSectionLock() { LeaveCriticalSection(&m_section); }
    CCriticalSectionLock(const CCriticalSectionLock&) = delete;
    CCriticalSectionLock& operator=(const CCriticalSectionLock&) = delete;

private:
    CRITICAL_SECTION& m_section;
};
