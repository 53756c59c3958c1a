#include "note/NoteRichEdit.h"

#include <richedit.h>

#include <cstring>

#include "foundation/bytes/GenericException.h"

namespace {
// The rich text comes in through this reader of a memory block.
struct MemoryReader {
    const char* bytes;
    size_t count;
    size_t position;
};

DWORD CALLBACK ReadFromMemory(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* done)
{
    auto* reader = reinterpret_cast<MemoryReader*>(cookie);
    size_t left = reader->count - reader->position;
    size_t take = wanted > 0 && static_cast<size_t>(wanted) < left ? static_cast<size_t>(wanted) : left;
    std::memcpy(buffer, reader->bytes + reader->position, take);
    reader->position += take;
    *done = static_cast<LONG>(take);
    return 0;
}

// Streaming works on a cookie of its own per call, so no lock is needed and
// none is held while the control (perhaps of another thread) is sent to.
LONG StreamOut(HWND edit, RtfStreamCookie& cookie)
{
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&cookie);
    stream.pfnCallback = &EditStreamToMemory;
    SendMessageA(edit, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return cookie.position;
}
}

DWORD CALLBACK EditStreamToMemory(DWORD_PTR cookieValue, LPBYTE bytes, LONG count, LONG* done)
{
    auto* cookie = reinterpret_cast<RtfStreamCookie*>(cookieValue);
    if (cookie->target && count > 0) {
        LONG room = cookie->capacity - cookie->position;
        if (room < 0)
            room = 0;
        LONG copy = count < room ? count : room;
        if (copy > 0)
            std::memcpy(cookie->target + cookie->position, bytes, static_cast<size_t>(copy));
        if (copy < count)
            cookie->overflow = true;
    }
    *done = count;
    cookie->position += count;
    return 0;
}

CNoteRichEdit::CNoteRichEdit(HWND parent, int id)
{
    RECT client{};
    GetClientRect(parent, &client);
    // The note's scroll arrows lie over the body: it never paints over them.
    m_edit = CreateWindowExA(0, RICHEDIT_CLASSA, "",
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                             0, 0,
                             client.right, client.bottom, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
    if (!m_edit)
        throw CGenericException("The note's text control could not be created");
    SendMessageA(m_edit, EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
}

void CNoteRichEdit::WatchChanges() const
{
    SendMessageA(m_edit, EM_SETEVENTMASK, 0, ENM_CHANGE);
}

LONG CNoteRichEdit::GetRTFSize() const
{
    RtfStreamCookie cookie;
    return StreamOut(m_edit, cookie);
}

LONG CNoteRichEdit::GetRTFText(char* buffer, LONG capacity) const
{
    if (!buffer || capacity <= 0)
        return -1;
    RtfStreamCookie cookie;
    cookie.target = buffer;
    cookie.capacity = capacity - 1;  // room for the terminator
    LONG written = StreamOut(m_edit, cookie);
    if (cookie.overflow) {
        buffer[capacity - 1] = 0;
        return -1;
    }
    buffer[written] = 0;
    return written;
}

std::string CNoteRichEdit::GetRTFText() const
{
    // The text may grow between measuring and copying; a second try with
    // the size it reached then is enough for an edit of this thread.
    for (int attempt = 0; attempt < 3; ++attempt) {
        LONG size = GetRTFSize();
        std::string text(static_cast<size_t>(size) + 1, '\0');
        LONG written = GetRTFText(&text[0], size + 1);
        if (written >= 0) {
            text.resize(static_cast<size_t>(written));
            // Some rich edits end the stream with a terminator of their own.
            while (!text.empty() && text.back() == '\0')
                text.pop_back();
            return text;
        }
    }
    return std::string();
}

namespace {
bool StreamInto(HWND edit, const char* bytes, size_t count, WPARAM where)
{
    if (!edit)
        return false;
    if (!bytes)
        count = 0;
    MemoryReader reader{bytes ? bytes : "", count, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&reader);
    stream.pfnCallback = &ReadFromMemory;
    bool rich = count >= 5 && std::memcmp(bytes, "{\\rtf", 5) == 0;
    SendMessageA(edit, EM_STREAMIN, (rich ? SF_RTF : SF_TEXT) | where, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0;
}
}

bool CNoteRichEdit::StreamInRtf(HWND edit, const char* bytes, size_t count)
{
    return StreamInto(edit, bytes, count, 0);
}

bool CNoteRichEdit::StreamInAtSelection(HWND edit, const char* bytes, size_t count)
{
    const bool read = StreamInto(edit, bytes, count, SFF_SELECTION);
    // Text added to what the window shows: the next save streams it out.
    SendMessageA(edit, EM_SETMODIFY, TRUE, 0);
    return read;
}

void CNoteRichEdit::ToggleEffect(DWORD mask, DWORD effect) const
{
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    SendMessageA(m_edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    bool on = (format.dwMask & mask) && (format.dwEffects & effect);
    CHARFORMAT2A change{};
    change.cbSize = sizeof change;
    change.dwMask = mask;
    change.dwEffects = on ? 0 : effect;
    SendMessageA(m_edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&change));
}
