#include "net/NetworkNoteStrips.h"

#include "net/ChatNotes.h"
#include "net/NoteSendStrip.h"
#include "net/NoteSending.h"
#include "net/SendDialog.h"
#include "note/NoteController.h"
#include "note/NoteMessages.h"
#include "note/NoteStrips.h"

namespace {
class CNetworkNoteStrips : public INoteStrips {
public:
    int LayOut(HWND window, const RECT& client) override
    {
        // A chat note keeps its chat controls at its foot, the send strip above them.
        RECT rest = client;
        rest.bottom -= LayOutChatControls(window, rest);
        rest.bottom -= PlaceSendStrip(window, rest);
        return client.bottom - rest.bottom;
    }

    void WindowCreated(CNoteController& note) override { ResumeNoteResends(note); }
    void WindowDestroyed(CNoteController& note) override { EndNoteSending(note); }

    void OnTimer(CNoteController& note, UINT_PTR id) override
    {
        if (id == kNoteResendTimerId)
            OnNoteResendTimer(note);
    }

    bool OnMessage(CNoteController& note, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        switch (message) {
        case kNoteMsgTransmitting:
            result = IsNoteTransmitting(note) ? 1 : 0;
            return true;
        case kNoteMsgSendToDestination:
            OnSendRequest(note, wParam, reinterpret_cast<const char*>(lParam));
            return true;
        case kNoteMsgNewChat:
            SetUpChatNote(note, static_cast<BYTE>(lParam));
            return true;
        case kNoteMsgReadChatSettings:
            ReadChatNoteSettings(note);
            return true;
        default:
            return OnNoteSendMessage(note, message, wParam, lParam);
        }
    }

    bool IsTransmitting(const CNoteController& note) override { return IsNoteTransmitting(note); }

    void NoteDeleted(CNoteController& note) override
    {
        OnChatNoteDeleted(note);
        ForgetNoteDeliveries(note);
    }

    void NoteStored(const CNoteController& note) override { SaveChatNoteSettings(note); }
    int SendTo(CNoteController& note, bool ask) override { return SendNoteTo(note, ask); }
    void ClearSendIcon(CNoteController& note) override { ClearNoteSendIcon(note); }
};
}

INoteStrips& NetworkNoteStrips()
{
    static CNetworkNoteStrips strips;
    return strips;
}
