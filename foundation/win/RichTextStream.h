#pragma once

#include <windows.h>

#include <string>

// Streaming a rich-edit control's text out as RTF. Send threads stream notes
// while the main thread does too, so every stream runs under one process-wide
// lock. A stream that fails shows "An error occurred in the function  " and the
// function's name, and answers 0 or an empty text.

// The size in bytes of the control's RTF.
DWORD GetRTFSize(HWND control);
// The control's RTF, in a buffer that grows as the pieces come.
std::string GetRTFText(HWND control);
// The RTF into the caller's buffer (no terminator); the number of bytes
// written. A text longer than the capacity is refused whole: 0, nothing
// written past the buffer.
DWORD GetRTFText(HWND control, char* buffer, DWORD capacity);

// The lock every RTF stream out of a control takes.
CRITICAL_SECTION& RichTextStreamLock();
