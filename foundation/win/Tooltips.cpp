#include "foundation/win/Tooltips.h"

#include <commctrl.h>

#include <string>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/MessageBoxes.h"

namespace {
// The tool record of the common controls of Windows XP, up to its reserved
// field: 48 bytes in the 32-bit program, more in the 64-bit one, whose handles
// and pointers are wider.
const UINT kToolInfoSize = TTTOOLINFOA_V3_SIZE;

TOOLINFOA Tool(UINT flags, HWND owner, UINT_PTR id, const char* text)
{
    TOOLINFOA tool = {};
    tool.cbSize = kToolInfoSize;
    tool.uFlags = flags;
    tool.hwnd = owner;
    tool.uId = id;
    tool.hinst = GetModuleHandleA(nullptr);
    tool.lpszText = text ? const_cast<char*>(text) : LPSTR_TEXTCALLBACKA;
    return tool;
}

UINT_PTR WindowId(HWND window)
{
    return reinterpret_cast<UINT_PTR>(window);
}

int AddTool(HWND tooltip, TOOLINFOA& tool)
{
    return tooltip && SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) ? 1 : 0;
}

// The block "error.txt" keeps of a tool that could not be added.
void LogTooltipFailure(const char* head, const char* text)
{
    std::string entry = std::string(head) + (text ? text : "") + "\r\n";
    AppendTextToFile(entry.c_str(), DataFilePath(DataName::kErrorLog).c_str());
}

int Failed(HWND owner, const char* boxText)
{
    ShowErrorMessage(owner, boxText, ProgramTitle);
    return 0;
}
}

HWND CreateTooltipControl(HWND owner)
{
    return CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
}

int AddTooltipSubclass(HWND tooltip, const char* text, HWND owner, HWND control)
{
    TOOLINFOA tool = Tool(TTF_IDISHWND | TTF_SUBCLASS, owner, WindowId(control), text ? text : "");
    if (AddTool(tooltip, tool))
        return 1;
    LogTooltipFailure("\r\nAddTooltipSubclass failed\r\n ", text);
    return Failed(owner, "AddTooltipSubclass failed");
}

int AddTooltipWindow(HWND tooltip, const char* text, HWND window)
{
    TOOLINFOA tool = Tool(TTF_IDISHWND, window, WindowId(window), text ? text : "");
    if (AddTool(tooltip, tool))
        return 1;
    LogTooltipFailure("\r\nAddTooltipWindow failed ", text);
    return Failed(window, "AddTooltipWindow failed");
}

int AddTooltipWindowCallback(HWND tooltip, HWND window)
{
    TOOLINFOA tool = Tool(TTF_IDISHWND, window, WindowId(window), nullptr);
    if (AddTool(tooltip, tool))
        return 1;
    LogTooltipFailure("\r\nAddTooltipWindowCallback failed ", "");
    return Failed(window, "AddTooltipWindowCallback failed");
}

int AddTooltipRect(HWND tooltip, const char* text, HWND owner, UINT id, const RECT& rect, bool noCentre)
{
    if (!tooltip || !owner)
        return 0;
    TOOLINFOA tool = Tool(noCentre ? 0 : TTF_CENTERTIP, owner, id, text ? text : "");
    tool.rect = rect;
    return AddTool(tooltip, tool) ? 1 : Failed(owner, "AddTooltipRect failed()");
}

int AddTooltipRectCallback(HWND tooltip, HWND owner, UINT id, const RECT& rect)
{
    if (!tooltip || !owner)
        return 0;
    TOOLINFOA tool = Tool(TTF_CENTERTIP, owner, id, nullptr);
    tool.rect = rect;
    return AddTool(tooltip, tool) ? 1 : Failed(owner, "AddTooltipRectCallback failed");
}

void UpdateTooltipSubclassText(HWND tooltip, const char* text, HWND owner, HWND control)
{
    TOOLINFOA tool = Tool(TTF_IDISHWND | TTF_SUBCLASS, owner, WindowId(control), text ? text : "");
    SendMessageA(tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void UpdateTooltipWindowText(HWND tooltip, const char* text, HWND window)
{
    TOOLINFOA tool = Tool(TTF_IDISHWND, window, WindowId(window), text ? text : "");
    SendMessageA(tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void UpdateTooltipRectText(HWND tooltip, const char* text, UINT id, const RECT& rect, HWND owner)
{
    TOOLINFOA tool = Tool(TTF_CENTERTIP, owner, id, text ? text : "");
    tool.rect = rect;
    SendMessageA(tooltip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void RemoveTooltip(HWND tooltip, HWND owner, UINT id)
{
    if (!tooltip || !owner)
        return;
    TOOLINFOA tool = Tool(0, owner, id, "");
    SendMessageA(tooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void RemoveTooltipSubclass(HWND tooltip, HWND owner, HWND control)
{
    TOOLINFOA tool = Tool(TTF_IDISHWND | TTF_SUBCLASS, owner, WindowId(control), "");
    SendMessageA(tooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void RelayMouseToTooltip(HWND tooltip)
{
    if (!IsWindow(tooltip))
        return;
    MSG message = {};
    message.hwnd = GetDesktopWindow();
    message.message = WM_MOUSEMOVE;
    message.time = static_cast<DWORD>(GetMessageTime());
    GetCursorPos(&message.pt);
    SendMessageA(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}
