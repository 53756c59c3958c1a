#include "foundation/bytes/GenericException.h"

#include <cstring>

#ifdef _WIN32
// The one system call this portable file needs; declared here so that the
// exception type stays free of windows.h.
extern "C" __declspec(dllimport) unsigned long __stdcall GetLastError(void);
static unsigned long LastSystemError() { return GetLastError(); }
#else
static unsigned long LastSystemError() { return 0; }
#endif

CGenericException::CGenericException(const char* text)
    : m_dwErrorCode(LastSystemError())
{
    m_text[0] = '\0';
    if (text) {
        std::strncpy(m_text, text, kMaxTextLength);
        m_text[kMaxTextLength] = '\0';
    }
}
