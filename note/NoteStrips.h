#pragma once

#include <windows.h>

class CNoteController;

// What a note window hosts from the network side: the chat strip and the send
// strip along its foot, and the sending and chatting behind them. The network
// side implements it and the program registers it when it starts
// (shell/ProgramParts.cpp); without it a note has no strips and sends nothing.
class INoteStrips {
public:
    // Places the strips at the foot of the client area; the height they take.
    virtual int LayOut(HWND window, const RECT& client) = 0;
    // The window was made: deliveries an earlier run left waiting are taken up.
    virtual void WindowCreated(CNoteController& note) = 0;
    // The window goes: its send is stopped and awaited.
    virtual void WindowDestroyed(CNoteController& note) = 0;
    virtual void OnTimer(CNoteController& note, UINT_PTR id) = 0;
    // The note's private messages of sending and chatting; false for any other.
    virtual bool OnMessage(CNoteController& note, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    // The answer to "are you transmitting?": a send runs.
    virtual bool IsTransmitting(const CNoteController& note) = 0;
    // The note goes to the deleted notes: its chat is left, its deliveries forgotten.
    virtual void NoteDeleted(CNoteController& note) = 0;
    // The note's record was stored: what it keeps beside the notes table follows.
    virtual void NoteStored(const CNoteController& note) = 0;
    // The note's Send command: 1 when something was sent or a chat started.
    virtual int SendTo(CNoteController& note, bool ask) = 0;
    // The send icon goes and the note's pending resends are dropped.
    virtual void ClearSendIcon(CNoteController& note) = 0;

protected:
    ~INoteStrips() = default;
};

void SetNoteStrips(INoteStrips* strips);
// The registered strips; until then ones that do nothing.
INoteStrips& NoteStrips();
