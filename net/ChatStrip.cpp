#include "net/ChatStrip.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "foundation/CallbackGuard.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/StartupValues.h"
#include "net/ChatAvatars.h"
#include "net/ChatNotes.h"
#include "net/ChatTraffic.h"
#include "note/NoteController.h"
#include "note/NoteWindow.h"
#include "globals/GlobalTexts.h"
#include "globals/ProgramGlobals.h"

namespace {
const char kChatStripClass[] = "QnChatStrip";
const int kButtonWidth = 110;
const int kMinButtonWidth = 40;
// Room beside a label for the button's edges.
const int kLabelMargin = 14;
const int kEndButtonId = 99;
const int kInputId = 98;
const int kOwnButtonId = 97;
const int kFirstPeerButtonId = 100;
// The side of a participant's picture in the program's avatar records.
const int kPeerPictureSide = 35;
const UINT kMaxInputCharacters = 2000;

// Every strip of the program, to find a chat by its id.
std::vector<CChatStrip*>& Strips()
{
    static std::vector<CChatStrip*> strips;
    return strips;
}

void RegisterStripClass()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kChatStripClass;
    registered = RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

const char* StateWords(int state)
{
    switch (state) {
    case kPeerLeft:
        return "has left the chat";
    case kPeerUnreachable:
        return "cannot be reached";
    default:
        return "takes part in the chat";
    }
}

// A button drawn with a picture rather than a name.
bool StripButtonShowsPicture(HWND button)
{
    return (GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}

// The width a named button needs to show its whole label.
int LabelWidth(HWND button)
{
    char label[128] = "";
    const int length = GetWindowTextA(button, label, sizeof label);
    HDC dc = GetDC(button);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(button, WM_GETFONT, 0, 0)));
    SIZE text{0, 0};
    GetTextExtentPoint32A(dc, label, length, &text);
    SelectObject(dc, previous);
    ReleaseDC(button, dc);
    return std::max(kMinButtonWidth, static_cast<int>(text.cx) + kLabelMargin);
}

void SetTooltip(HWND tooltip, HWND owner, HWND tool, const std::string& text, bool add)
{
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<char*>(text.c_str());
    SendMessageA(tooltip, add ? TTM_ADDTOOLA : TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}
}

CChatStrip* CChatStrip::Create(HWND noteWindow)
{
    if (CChatStrip* existing = OfNote(noteWindow))
        return existing;
    RegisterStripClass();
    std::unique_ptr<CChatStrip> strip(new CChatStrip(noteWindow));
    HWND window = CreateWindowExA(0, kChatStripClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 10,
                                  kRowHeight + kInputHeight, noteWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window)
        return nullptr;
    strip->m_window = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(strip.get()));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CChatStrip::Procedure));
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    strip->m_input = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                     0, 0, 10, 10, window, reinterpret_cast<HMENU>(kInputId),
                                     GetModuleHandleA(nullptr), nullptr);
    SendMessageA(strip->m_input, EM_LIMITTEXT, kMaxInputCharacters, 0);
    SendMessageA(strip->m_input, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    SetWindowLongPtrA(strip->m_input, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(strip.get()));
    strip->m_inputProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(strip->m_input, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CChatStrip::InputProcedure)));
    strip->m_endButton = CreateWindowExA(0, "BUTTON", "End chat", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 10, 10,
                                         window, reinterpret_cast<HMENU>(kEndButtonId), GetModuleHandleA(nullptr),
                                         nullptr);
    SendMessageA(strip->m_endButton, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    strip->m_tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
    SetTooltip(strip->m_tooltip, window, strip->m_endButton, GlobalTexts().endChat, true);
    strip->RebuildButtons();
    Strips().push_back(strip.get());
    return strip.release();
}

CChatStrip* CChatStrip::OfNote(HWND noteWindow)
{
    for (CChatStrip* strip : Strips())
        if (strip->m_note == noteWindow)
            return strip;
    return nullptr;
}

CChatStrip* CChatStrip::OfChat(DWORD chatId)
{
    std::vector<CChatStrip*> strips = AllOfChat(chatId);
    return strips.empty() ? nullptr : strips.front();
}

const std::vector<CChatStrip*>& CChatStrip::All()
{
    return Strips();
}

std::vector<CChatStrip*> CChatStrip::AllOfChat(DWORD chatId)
{
    std::vector<CChatStrip*> found;
    for (CChatStrip* strip : Strips()) {
        CNoteController* note = NoteOfWindow(strip->m_note);
        if (note && note->m_chatNote && note->m_chatId == chatId)
            found.push_back(strip);
    }
    return found;
}

void CChatStrip::SetPeers(const std::vector<CChatPeer>& peers)
{
    m_peers.assign(peers.begin(), peers.begin() + static_cast<std::ptrdiff_t>(std::min(peers.size(), kMaxChatPeers)));
    RebuildButtons();
}

int CChatStrip::FindPeer(const CChatPeer& who) const
{
    for (size_t k = 0; k < m_peers.size(); ++k)
        if (m_peers[k].SamePerson(who))
            return static_cast<int>(k);
    return -1;
}

void CChatStrip::SetPeerState(int index, int state)
{
    if (index < 0 || static_cast<size_t>(index) >= m_peers.size())
        return;
    m_peers[index].state = state;
    HWND button = m_buttons[index];
    SetWindowTextA(button, ButtonText(m_peers[index]).c_str());
    SetTooltip(m_tooltip, m_window, button, TooltipText(m_peers[index]), false);
    // A picture says "left" or "away" grayed.
    EnableWindow(button, state == kPeerActive || !StripButtonShowsPicture(button));
    LayOutChildren();  // the label's width may have changed
    InvalidateRect(button, nullptr, TRUE);
}

std::string CChatStrip::ButtonText(const CChatPeer& peer)
{
    std::string name = !peer.computerName.empty() ? peer.computerName : peer.ipAddress;
    if (peer.state == kPeerLeft)
        name += " (left)";
    else if (peer.state == kPeerUnreachable)
        name += " (away)";
    return name;
}

std::string CChatStrip::TooltipText(const CChatPeer& peer)
{
    // The button's whole label first: a narrow button may show only its start.
    std::string who = ButtonText(peer);
    if (!peer.ipAddress.empty() || peer.port)
        who += ", " + (peer.ipAddress.empty() ? std::string("?") : peer.ipAddress) + ":" + std::to_string(peer.port);
    return who + ": " + StateWords(peer.state);
}

HWND CChatStrip::MakeButton(int id, const std::string& text, const CAvatarInfo* avatar, int identifier)
{
    const bool picture = avatar && avatar->Picture();
    const DWORD kind = picture ? BS_OWNERDRAW : BS_PUSHBUTTON;
    const HMENU childId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    HWND button = CreateWindowExA(0, "BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | kind, 0, 0, 10, 10, m_window,
                                  childId, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    if (picture) {
        auto state = std::make_unique<CHoverButton>();
        state->parentPaintsBackground = false;
        state->tooltipsOn = false;  // the strip's tooltip says who it is
        state->identifier = identifier;
        state->picture = avatar->Picture();
        lstrcpynA(state->pictureName, avatar->Name(), sizeof state->pictureName);
        SubclassHoverButton(*state, m_window, button);
        m_pictureButtons.push_back(std::move(state));
    }
    return button;
}

void CChatStrip::RebuildButtons()
{
    if (m_ownButton)
        DestroyWindow(m_ownButton);
    for (HWND button : m_buttons)
        DestroyWindow(button);
    m_buttons.clear();
    m_pictureButtons.clear();
    m_pictures.clear();

    OwnAvatarPicture();
    const CAvatarInfo& own = ProgramAvatar(0);
    bool anyPicture = own.Picture() != nullptr;
    m_ownButton = MakeButton(kOwnButtonId, "You", &own, kPlainBitmapButtonId);
    SetTooltip(m_tooltip, m_window, m_ownButton,
               std::string("You (") + GetStartupValues().userName + "): click to choose your chat picture", true);
    for (size_t k = 0; k < m_peers.size(); ++k) {
        auto avatar = std::make_unique<CAvatarInfo>(kPeerPictureSide);
        if (!m_peers[k].avatar.empty()) {
            CBoxesToLog quiet;  // a picture spoilt since it came leaves the button its name
            avatar->SetPictureFromFile(m_peers[k].avatar.c_str());
        }
        anyPicture = anyPicture || avatar->Picture();
        HWND button = MakeButton(kFirstPeerButtonId + static_cast<int>(k), ButtonText(m_peers[k]), avatar.get(), 0);
        EnableWindow(button, m_peers[k].state == kPeerActive || !avatar->Picture());
        SetTooltip(m_tooltip, m_window, button, TooltipText(m_peers[k]), true);
        m_buttons.push_back(button);
        m_pictures.push_back(std::move(avatar));
    }
    const int height = Height();
    m_rowHeight = anyPicture ? kPictureRowHeight : kRowHeight;
    if (Height() != height) {
        // The note gives the strip its new height and its body the rest.
        RECT client{};
        GetClientRect(m_note, &client);
        SendMessageA(m_note, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }
    LayOutChildren();
}

void CChatStrip::Place(const RECT& client)
{
    MoveWindow(m_window, 0, client.bottom - Height(), client.right, Height(), TRUE);
    LayOutChildren();
}

void CChatStrip::LayOutChildren()
{
    RECT area{};
    GetClientRect(m_window, &area);
    const int endWidth = 70;
    const int top = (m_rowHeight - kRowHeight) / 2 + 1;
    // A button with a picture is a square that holds it; the named ones share
    // what is left of the row beside "End chat", narrower when many.
    const int square = m_rowHeight - 2;
    int room = area.right - endWidth - 6;
    int named = 0;
    std::vector<HWND> row{m_ownButton};
    row.insert(row.end(), m_buttons.begin(), m_buttons.end());
    for (HWND button : row)
        if (StripButtonShowsPicture(button))
            room -= square + 2;
        else
            ++named;
    // Each named button is as wide as its label when all of them fit; else
    // they share the row and their tooltips say the rest.
    int wanted = 0;
    for (HWND button : row)
        if (!StripButtonShowsPicture(button))
            wanted += LabelWidth(button) + 2;
    const bool labelsFit = wanted <= room;
    const int width = named ? std::max(kMinButtonWidth, std::min(kButtonWidth, room / named - 2)) : 0;
    const int right = area.right - endWidth - 4;
    int x = 2;
    for (HWND button : row) {
        const bool picture = StripButtonShowsPicture(button);
        const int w = picture ? square : labelsFit ? LabelWidth(button) : width;
        ShowWindow(button, x + w <= right ? SW_SHOWNA : SW_HIDE);
        if (picture) {
            MoveWindow(button, x, 1, w, square, TRUE);
        } else {
            // A cut label keeps its start, the participant's name, in view.
            const LONG style = GetWindowLongA(button, GWL_STYLE) & ~BS_LEFT;
            SetWindowLongA(button, GWL_STYLE, w < LabelWidth(button) ? style | BS_LEFT : style);
            MoveWindow(button, x, top, w, kRowHeight - 2, TRUE);
        }
        x += w + 2;
    }
    MoveWindow(m_endButton, area.right - endWidth - 2, top, endWidth, kRowHeight - 2, TRUE);
    MoveWindow(m_input, 2, m_rowHeight + 1, area.right - 4, kInputHeight - 3, TRUE);
}

void CChatStrip::Destroy()
{
    DestroyWindow(m_window);
}

LRESULT CALLBACK CChatStrip::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* strip = reinterpret_cast<CChatStrip*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!strip)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        Strips().erase(std::remove(Strips().begin(), Strips().end(), strip), Strips().end());
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        delete strip;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return GuardCallback<LRESULT>(0, [&] { return strip->OnMessage(message, wParam, lParam); });
}

LRESULT CChatStrip::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kEndButtonId && HIWORD(wParam) == BN_CLICKED) {
            OnEndChat();
            return 0;
        }
        if (LOWORD(wParam) == kOwnButtonId && HIWORD(wParam) == BN_CLICKED) {
            ChooseOwnAvatar(m_note);
            return 0;
        }
        break;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        for (const std::unique_ptr<CHoverButton>& state : m_pictureButtons)
            if (state->button == item.hwndItem) {
                DrawHoverButton(*state, item);
                return TRUE;
            }
        break;
    }
    case kMsgPeerResult: {
        std::unique_ptr<CChatPeer> result(reinterpret_cast<CChatPeer*>(lParam));
        int index = FindPeer(*result);
        // A participant that has left stays so; one that answers again takes part.
        if (index >= 0 && m_peers[index].state != kPeerLeft && m_peers[index].state != result->state) {
            SetPeerState(index, result->state);
            if (CNoteController* note = NoteOfWindow(m_note))
                note->SetModified();
        }
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcA(m_window, message, wParam, lParam);
}

// Enter says the line; everything else is the edit's own.
LRESULT CALLBACK CChatStrip::InputProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* strip = reinterpret_cast<CChatStrip*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!strip)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_CHAR && wParam == VK_RETURN) {
        GuardCallback([&] { strip->OnSay(); });
        return 0;
    }
    return CallWindowProcA(strip->m_inputProcedure, window, message, wParam, lParam);
}

void CChatStrip::OnSay()
{
    char text[kMaxInputCharacters + 1] = "";
    GetWindowTextA(m_input, text, sizeof text);
    if (!text[0])
        return;
    SetWindowTextA(m_input, "");
    if (CNoteController* note = NoteOfWindow(m_note))
        SayInChat(*note, text);
}

void CChatStrip::OnEndChat()
{
    if (CNoteController* note = NoteOfWindow(m_note))
        EndChatAndDelete(*note);
}
