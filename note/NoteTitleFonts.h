#pragma once

#include <windows.h>

struct CFontEntry;

// The note's own pair of caption fonts, "MS Sans Serif" of 11 pixels: a
// regular one for a title that has no font of its own, and a bold, underlined
// one that marks the title while the note's alarm rings. Every note shares
// them through the program's font cache; they are taken from it the first time
// a caption asks, on the main thread, so that notes made while loading or
// saving cost nothing.
class CNoteTitleFonts {
public:
    HFONT Regular() const;
    HFONT Emphasised() const;

    static LOGFONTA RegularLogFont();
    static LOGFONTA EmphasisedLogFont();

private:
    mutable const CFontEntry* m_regular = nullptr;
    mutable const CFontEntry* m_emphasised = nullptr;
};

// A note's own title or body font; an empty one (no face, no height) stands
// for none, and the note shows a font of the program's instead.
bool HasOwnFont(const LOGFONTA& font);
