#include "foundation/win/RichEditLines.h"

#include <cstring>

namespace {
// The question RichEditTextHeight has put to an edit, until its parent
// answers it.
struct TextHeightQuestion {
    HWND edit;
    int height;
};
thread_local TextHeightQuestion* t_textHeightQuestion = nullptr;

// The top of the line, in client coordinates: the position of its first
// character, which the edit gives where the text is scrolled to.
int LineTop(HWND edit, LRESULT line)
{
    const LRESULT first = SendMessageA(edit, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
    POINTL position{};
    SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&position), first < 0 ? 0 : first);
    return static_cast<int>(position.y);
}

// A hidden rich edit that lays out two lines in the format asked about: the
// second starts where the first ends. It is a message-only window, so that no
// list of the thread's windows shows it, and it goes with its thread.
class CLineMeasurer {
public:
    int Measure(const CHARFORMATA& format)
    {
        if (!m_edit)
            m_edit = CreateWindowExA(0, RICHEDIT_CLASSA, "", WS_CHILD | ES_MULTILINE, 0, 0, 400, 200, HWND_MESSAGE,
                                     nullptr, GetModuleHandleA(nullptr), nullptr);
        if (!m_edit)
            return 0;
        // What makes the line's height, byte for byte comparable; not the
        // colour, so that notes of one font in many colours share a measure.
        CHARFORMATA key{};
        key.cbSize = sizeof key;
        key.dwMask = format.dwMask & ~CFM_COLOR;
        key.dwEffects = format.dwEffects & ~CFE_AUTOCOLOR;
        key.yHeight = format.yHeight;
        key.yOffset = format.yOffset;
        key.bCharSet = format.bCharSet;
        key.bPitchAndFamily = format.bPitchAndFamily;
        lstrcpynA(key.szFaceName, format.szFaceName, sizeof key.szFaceName);
        if (m_height > 0 && std::memcmp(&key, &m_format, sizeof key) == 0)
            return m_height;
        SetWindowTextA(m_edit, "x\rx");
        SendMessageA(m_edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&key));
        const int height = LineTop(m_edit, 1) - LineTop(m_edit, 0);
        m_format = key;
        m_height = height > 0 ? height : 0;
        return m_height;
    }

private:
    HWND m_edit = nullptr;
    CHARFORMATA m_format{};
    int m_height = 0;
};

// The height of a line of the edit's default character format.
int DefaultLineHeight(HWND edit)
{
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    SendMessageA(edit, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    return RichEditLineHeight(format);
}
}

std::vector<int> RuledRowsForPaint(HWND edit, int lineHeight, int& paintedTextEnd)
{
    RECT client{};
    GetClientRect(edit, &client);
    std::vector<int> rows;
    const LRESULT lines = SendMessageA(edit, EM_GETLINECOUNT, 0, 0);
    // The first visible line's own top is the rule under the line before it.
    LRESULT line = SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    for (line = line < 1 ? 1 : line; line < lines; ++line) {
        const int y = LineTop(edit, line);
        if (y >= client.bottom)
            break;
        if (y >= client.top)
            rows.push_back(y);
    }
    // The end of the text, from the top of its first line, when it shows.
    int textEnd = -1;
    if (lines > 0 && line >= lines) {
        if (lineHeight <= 0)
            lineHeight = DefaultLineHeight(edit);
        const int first = LineTop(edit, 0);
        const int height = RichEditTextHeight(edit);
        textEnd = height >= 0 ? height : LineTop(edit, lines - 1) + lineHeight - first;
        int y = first + textEnd;
        // Text scrolled far up leaves its end far above the edit.
        if (y < client.top && lineHeight > 0)
            y += (client.top - y + lineHeight - 1) / lineHeight * lineHeight;
        for (; y < client.bottom; y += lineHeight) {
            if (y >= client.top)
                rows.push_back(y);
            if (lineHeight <= 0)
                break;
        }
    }
    if (textEnd >= 0 && textEnd != paintedTextEnd) {
        InvalidateRect(edit, nullptr, FALSE);
        paintedTextEnd = textEnd;
    }
    return rows;
}

int RichEditLineHeight(const CHARFORMATA& format)
{
    thread_local CLineMeasurer measurer;
    return measurer.Measure(format);
}

int RichEditTextHeight(HWND edit)
{
    TextHeightQuestion question{edit, -1};
    TextHeightQuestion* outer = t_textHeightQuestion;
    t_textHeightQuestion = &question;
    // The edit tells its height only while asked to tell size requests.
    const LRESULT events = SendMessageA(edit, EM_GETEVENTMASK, 0, 0);
    SendMessageA(edit, EM_SETEVENTMASK, 0, events | ENM_REQUESTRESIZE);
    SendMessageA(edit, EM_REQUESTRESIZE, 0, 0);
    SendMessageA(edit, EM_SETEVENTMASK, 0, events);
    t_textHeightQuestion = outer;
    return question.height;
}

bool TakeTextHeightNotice(const NMHDR& notice)
{
    TextHeightQuestion* question = t_textHeightQuestion;
    if (notice.code != EN_REQUESTRESIZE || !question || notice.hwndFrom != question->edit)
        return false;
    // Wine's rich edit gives the text's height as the bottom itself; the top
    // is its formatting rectangle's. A rich edit that counts the bottom from
    // that top puts the rule under the last line as much lower, still clear
    // of the text.
    question->height = static_cast<int>(reinterpret_cast<const REQRESIZE&>(notice).rc.bottom);
    return true;
}
