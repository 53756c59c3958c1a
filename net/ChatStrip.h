#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/win/HoverButton.h"
#include "net/AvatarInfo.h"
#include "net/bytes/ChatText.h"

// The chat controls at the foot of a chat note: a child window of the note
// that holds the user's own button (the user's avatar; a click chooses
// another), the participant buttons with their tooltips (each showing the
// participant's avatar when it sent one, else its name), the "End chat"
// button and the input line, and keeps the chat's participants. It is freed
// with its window. Main thread only.

class CChatStrip {
public:
    static CChatStrip* Create(HWND noteWindow);
    static CChatStrip* OfNote(HWND noteWindow);
    static CChatStrip* OfChat(DWORD chatId);
    static std::vector<CChatStrip*> AllOfChat(DWORD chatId);
    static const std::vector<CChatStrip*>& All();

    HWND Window() const { return m_window; }
    HWND NoteWindow() const { return m_note; }
    HWND Input() const { return m_input; }
    const std::vector<CChatPeer>& Peers() const { return m_peers; }
    void SetPeers(const std::vector<CChatPeer>& peers);
    // The participant's index, or -1.
    int FindPeer(const CChatPeer& who) const;
    void SetPeerState(int index, int state);
    // What a participant's button says and its tooltip.
    static std::string ButtonText(const CChatPeer& peer);
    static std::string TooltipText(const CChatPeer& peer);

    // Makes the buttons again, with the avatars as they are now (the user's own
    // or a participant's changed); the note is laid out again when the strip's
    // height changes with them.
    void RebuildButtons();

    // The strip's height: taller when a button shows an avatar.
    int Height() const { return m_rowHeight + kInputHeight; }
    // Places the strip along the foot of the client area.
    void Place(const RECT& client);
    void Destroy();

    // Posted to the strip by the chat's send threads: lParam is a heap
    // CChatPeer (its state as the send found it), freed here.
    static const UINT kMsgPeerResult = WM_APP + 0x510;

    enum { kRowHeight = 24, kPictureRowHeight = 40, kInputHeight = 26 };

private:
    explicit CChatStrip(HWND noteWindow) : m_note(noteWindow) {}
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK InputProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    HWND MakeButton(int id, const std::string& text, const CAvatarInfo* avatar, int identifier);
    void LayOutChildren();
    void OnSay();
    void OnEndChat();

    HWND m_window = nullptr;
    HWND m_note;
    HWND m_input = nullptr;
    HWND m_endButton = nullptr;
    HWND m_tooltip = nullptr;
    WNDPROC m_inputProcedure = nullptr;
    HWND m_ownButton = nullptr;
    std::vector<CChatPeer> m_peers;
    std::vector<HWND> m_buttons;
    int m_rowHeight = kRowHeight;
    // The participants' pictures, and the drawing state of every button that
    // shows a picture.
    std::vector<std::unique_ptr<CAvatarInfo>> m_pictures;
    std::vector<std::unique_ptr<CHoverButton>> m_pictureButtons;
};
