#include "note/NoteAttachmentLine.h"

#include <windows.h>

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "note/NoteController.h"
#include "note/NoteMessages.h"

const char kAttachmentLinePrefix[] = "Attached file: ";

namespace {
// The last paragraph of the body: where it starts and ends (before the
// paragraph marks that close the text) and its text, when it is short enough
// to be an attachment line; `whole` is false for a longer one.
struct LastParagraph {
    LONG start = 0;
    LONG end = 0;
    bool whole = false;
    std::string text;
};

LastParagraph FindLastParagraph(HWND body)
{
    GETTEXTLENGTHEX measure = {GTL_DEFAULT, CP_ACP};
    const LONG length = static_cast<LONG>(SendMessageA(body, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&measure), 0));
    // The longest line worth reading: the prefix, a path and a paragraph mark or two.
    const LONG span = static_cast<LONG>(sizeof kAttachmentLinePrefix) + MAX_PATH + 4;
    const LONG from = length > span ? length - span : 0;
    std::string tail(static_cast<size_t>(length - from) + 1, '\0');
    TEXTRANGEA range = {{from, length}, &tail[0]};
    const LRESULT copied = SendMessageA(body, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    tail.resize(copied > 0 ? std::min(static_cast<size_t>(copied), tail.size() - 1) : 0);

    auto isMark = [](char c) { return c == '\r' || c == '\n'; };
    size_t end = tail.size();
    while (end > 0 && isMark(tail[end - 1]))
        --end;
    size_t start = end;
    while (start > 0 && !isMark(tail[start - 1]))
        --start;
    LastParagraph last;
    last.whole = start > 0 || from == 0;
    last.start = from + static_cast<LONG>(start);
    last.end = from + static_cast<LONG>(end);
    last.text = tail.substr(start, end - start);
    return last;
}

bool IsAttachmentLine(const LastParagraph& last)
{
    return last.whole && last.text.compare(0, std::strlen(kAttachmentLinePrefix), kAttachmentLinePrefix) == 0;
}

bool CanShowLine(const CNoteController& note)
{
    // A masked note shows only its placeholder: not to be added to.
    return note.m_attachedFile[0] && note.m_bodyEdit && !note.m_masked;
}
}

bool IsAttachmentLineOutOfDate(const CNoteController& note)
{
    if (!CanShowLine(note))
        return false;
    const LastParagraph last = FindLastParagraph(note.m_bodyEdit);
    return !IsAttachmentLine(last) || last.text != kAttachmentLinePrefix + std::string(note.m_attachedFile);
}

void RewriteAttachmentLine(CNoteController& note)
{
    if (!CanShowLine(note))
        return;
    const LastParagraph last = FindLastParagraph(note.m_bodyEdit);
    std::string line = kAttachmentLinePrefix + std::string(note.m_attachedFile);
    CHARRANGE place = {last.end, last.end};
    if (IsAttachmentLine(last))
        place.cpMin = last.start;
    else if (last.end > 0)
        line.insert(0, "\r");
    SendMessageA(note.m_bodyEdit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&place));
    SendMessageA(note.m_bodyEdit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
    // The text in the window is no longer the one last saved: the next save streams it out.
    SendMessageA(note.m_bodyEdit, EM_SETMODIFY, TRUE, 0);
}

void UpdateAttachmentLine(CNoteController& note)
{
    if (IsAttachmentLineOutOfDate(note))
        SendMessageA(note.m_bodyEdit, kEditMsgRewriteAttachmentLine, 0, 0);
}
