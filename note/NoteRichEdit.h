#pragma once

#include <windows.h>

#include <string>

// Where EM_STREAMOUT writes: a target buffer of a known capacity (or none,
// which only counts) and the running position. Each stream has its own.
struct RtfStreamCookie {
    char* target = nullptr;
    LONG capacity = 0;
    LONG position = 0;
    bool overflow = false;  // more bytes came than the target could hold
};

// The EDITSTREAM callback of streaming out: copies what fits into the target
// at the position, never past its capacity; the position counts every byte,
// so without a target it gives the size. Answers 0 so that streaming goes on.
DWORD CALLBACK EditStreamToMemory(DWORD_PTR cookie, LPBYTE bytes, LONG count, LONG* done);

// The body of a note: a Rich Edit 2.0 control, child of the note window.
class CNoteRichEdit {
public:
    // Creates the control filling the parent's client area; throws when it cannot.
    explicit CNoteRichEdit(HWND parent, int id);
    CNoteRichEdit(const CNoteRichEdit&) = delete;
    CNoteRichEdit& operator=(const CNoteRichEdit&) = delete;

    HWND GetHandle() const { return m_edit; }

    // The bytes of the note's rich text.
    LONG GetRTFSize() const;
    // Streams the rich text into the buffer of the given capacity and
    // terminates it; answers the bytes written, or -1 when it did not fit.
    LONG GetRTFText(char* buffer, LONG capacity) const;
    std::string GetRTFText() const;

    // Loads the text: rich text when it starts with "{\rtf", plain text otherwise.
    static bool StreamInRtf(HWND edit, const char* bytes, size_t count);
    bool StreamIn(const char* bytes, size_t count) const { return StreamInRtf(m_edit, bytes, count); }
    // The same in place of the selection, the caret left after it.
    static bool StreamInAtSelection(HWND edit, const char* bytes, size_t count);

    // From now on every change of the text is told to the parent (EN_CHANGE).
    void WatchChanges() const;

    // Bold, italic or underline of the selection, switched.
    void ToggleEffect(DWORD mask, DWORD effect) const;

private:
    HWND m_edit = nullptr;
};
