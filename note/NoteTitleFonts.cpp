#include "note/NoteTitleFonts.h"

#include "foundation/win/GdiCaches.h"

namespace {
LOGFONTA CaptionFont(LONG weight, BYTE underline)
{
    LOGFONTA font{};
    font.lfHeight = -11;
    font.lfWeight = weight;
    font.lfUnderline = underline;
    font.lfCharSet = ANSI_CHARSET;
    font.lfOutPrecision = OUT_STRING_PRECIS;
    font.lfClipPrecision = CLIP_STROKE_PRECIS;
    font.lfQuality = DRAFT_QUALITY;
    font.lfPitchAndFamily = 0x16;
    lstrcpynA(font.lfFaceName, "MS Sans Serif", LF_FACESIZE);
    return font;
}
}

LOGFONTA CNoteTitleFonts::RegularLogFont()
{
    return CaptionFont(FW_NORMAL, 0);
}

LOGFONTA CNoteTitleFonts::EmphasisedLogFont()
{
    return CaptionFont(FW_BOLD, 1);
}

HFONT CNoteTitleFonts::Regular() const
{
    if (!m_regular)
        m_regular = &FontCache().GetFont(RegularLogFont());
    return m_regular->font;
}

HFONT CNoteTitleFonts::Emphasised() const
{
    if (!m_emphasised)
        m_emphasised = &FontCache().GetFont(EmphasisedLogFont());
    return m_emphasised->font;
}

bool HasOwnFont(const LOGFONTA& font)
{
    return font.lfFaceName[0] != '\0' || font.lfHeight != 0;
}
