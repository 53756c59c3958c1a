#pragma once

#include <windows.h>

// Holds a critical section for the life of a scope.
class CCriticalSectionLock {
public:
    explicit CCriticalSectionLock(CRITICAL_SECTION& section) : m_section(section) { EnterCriticalSection(&m_section); }
    ~CCriticalSectionLock() { LeaveCriticalSection(&m_section); }
    CCriticalSectionLock(const CCriticalSectionLock&) = delete;
    CCriticalSectionLock& operator=(const CCriticalSectionLock&) = delete;

private:
    CRITICAL_SECTION& m_section;
};
