#include "foundation/bytes/GenericException.h"

#include "foundation/bytes/BoundedCopy.h"

#ifdef _WIN32
// The one system call this portable file needs; declared here so that the
// exception type stays free of windows.h.
extern "C" __declspec(dllimport) unsigned long __stdcall GetLastError(void);
static unsigned long LastSystemError() { return GetLastError(); }
#else
static unsigned long LastSystemError() { return 0; }
#endif

CGenericException::CGenericException(const char* text) : CGenericException(text, nullptr)
{
}

CGenericException::CGenericException(const char* text, const char* filePath) : m_dwErrorCode(LastSystemError())
{
    CopyBounded(m_text, text);
    CopyBounded(m_filePath, filePath);
}
