#include "note/NoteStrips.h"

namespace {
class CNoStrips : public INoteStrips {
public:
    int LayOut(HWND, const RECT&) override { return 0; }
    void WindowCreated(CNoteController&) override {}
    void WindowDestroyed(CNoteController&) override {}
    void OnTimer(CNoteController&, UINT_PTR) override {}
    bool OnMessage(CNoteController&, UINT, WPARAM, LPARAM, LRESULT&) override { return false; }
    bool IsTransmitting(const CNoteController&) override { return false; }
    void NoteDeleted(CNoteController&) override {}
    void NoteStored(const CNoteController&) override {}
    int SendTo(CNoteController&, bool) override { return 0; }
    void ClearSendIcon(CNoteController&) override {}
};

CNoStrips g_noStrips;
INoteStrips* g_strips = &g_noStrips;
}

void SetNoteStrips(INoteStrips* strips)
{
    g_strips = strips ? strips : &g_noStrips;
}

INoteStrips& NoteStrips()
{
    return *g_strips;
}
