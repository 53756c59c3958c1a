#include "foundation/win/RichTextStream.h"

#include <richedit.h>

#include <cstring>

#include "foundation/CallbackGuard.h"
#include "foundation/CriticalSectionLock.h"
#include "foundation/bytes/MessageBoxes.h"

namespace {
class StreamLock {
public:
    StreamLock() { InitializeCriticalSection(&m_section); }
    ~StreamLock() { DeleteCriticalSection(&m_section); }
    CRITICAL_SECTION m_section;
};

struct BoundedBuffer {
    char* bytes;
    DWORD capacity;
    DWORD used;
};

// A non-zero answer stops the stream and is reported as its error.
const DWORD kStreamRefused = 1;

DWORD CALLBACK CountPiece(DWORD_PTR cookie, LPBYTE, LONG count, LONG* done)
{
    *reinterpret_cast<DWORD*>(cookie) += static_cast<DWORD>(count);
    *done = count;
    return 0;
}

DWORD CALLBACK AppendPiece(DWORD_PTR cookie, LPBYTE piece, LONG count, LONG* done)
{
    return GuardCallback<DWORD>(kStreamRefused, [&] {
        reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(piece),
                                                       static_cast<size_t>(count));
        *done = count;
        return DWORD{0};
    });
}

DWORD CALLBACK CopyPiece(DWORD_PTR cookie, LPBYTE piece, LONG count, LONG* done)
{
    auto* buffer = reinterpret_cast<BoundedBuffer*>(cookie);
    if (count < 0 || static_cast<DWORD>(count) > buffer->capacity - buffer->used)
        return kStreamRefused;
    std::memcpy(buffer->bytes + buffer->used, piece, static_cast<size_t>(count));
    buffer->used += static_cast<DWORD>(count);
    *done = count;
    return 0;
}

bool Stream(HWND control, EDITSTREAMCALLBACK callback, DWORD_PTR cookie, const char* function)
{
    EDITSTREAM stream = {cookie, 0, callback};
    {
        CCriticalSectionLock lock(RichTextStreamLock());
        SendMessageA(control, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    }
    if (stream.dwError == 0)
        return true;
    char text[100];
    std::strcpy(text, "An error occurred in the function  ");
    std::strcat(text, function);
    ShowErrorMessage(nullptr, text, ProgramTitle);
    return false;
}
}

CRITICAL_SECTION& RichTextStreamLock()
{
    static StreamLock lock;
    return lock.m_section;
}

DWORD GetRTFSize(HWND control)
{
    DWORD size = 0;
    return Stream(control, &CountPiece, reinterpret_cast<DWORD_PTR>(&size), "GetRTFSize") ? size : 0;
}

std::string GetRTFText(HWND control)
{
    std::string text;
    if (!Stream(control, &AppendPiece, reinterpret_cast<DWORD_PTR>(&text), "GetRTFText"))
        text.clear();
    return text;
}

DWORD GetRTFText(HWND control, char* buffer, DWORD capacity)
{
    BoundedBuffer bounded{buffer, buffer ? capacity : 0, 0};
    return Stream(control, &CopyPiece, reinterpret_cast<DWORD_PTR>(&bounded), "GetRTFText") ? bounded.used : 0;
}
