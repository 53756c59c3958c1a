#pragma once

#include <windows.h>

#include <cstring>
#include <type_traits>

// Two program-wide caches that hand out shared brushes and fonts, so that windows
// repainting with few distinct colours and fonts never create a GDI object per
// paint. Entries are never removed before exit; callers never delete a cached
// handle. Main thread only: they have no lock, and a request from another thread
// throws (RequireMainThread).

struct CBrushEntry {
    HBRUSH brush = nullptr;
    COLORREF color = 0;
};

struct CFontEntry {
    // No handle; the LOGFONT of a bold 13-pixel "Times New Roman".
    CFontEntry();

    // Applies the LOGFONT to a rich-edit control as its character format
    // (EM_SETCHARFORMAT with the SCF_ flags given).
    void SetFromRichEdit(HWND richEdit, DWORD flags) const;
    const LOGFONTA& GetLogFont() const { return logFont; }

    HFONT font;
    LOGFONTA logFont;
};

enum { kGdiCacheSize = 150 };

class CBrushCache {
public:
    CBrushCache() = default;
    ~CBrushCache();
    CBrushCache(const CBrushCache&) = delete;
    CBrushCache& operator=(const CBrushCache&) = delete;

    // The brush of the colour, created on first request. A full cache reports it
    // (a box the first time, "error.txt" afterwards) and serves the first brush.
    // A brush that cannot be created is reported and not kept: its entry has no
    // handle and the next request tries again.
    const CBrushEntry& GetBrush(COLORREF color);
    int GetCount() const { return m_count; }

private:
    CBrushEntry m_entries[kGdiCacheSize];
    int m_count = 0;
    bool m_fullReported = false;
};

class CFontCache {
public:
    CFontCache() = default;
    ~CFontCache();
    CFontCache(const CFontCache&) = delete;
    CFontCache& operator=(const CFontCache&) = delete;

    // As CBrushCache::GetBrush, fonts being equal by LogFontsEqual.
    const CFontEntry& GetFont(const LOGFONTA& font);

    // A font description of the settings records starts with its LOGFONT.
    template <class Description>
    const CFontEntry& GetFontFromDescription(const Description& description)
    {
        static_assert(std::is_standard_layout<Description>::value && sizeof(Description) >= sizeof(LOGFONTA),
                      "a font description starts with a LOGFONT");
        LOGFONTA font;
        std::memcpy(&font, &description, sizeof font);
        return GetFont(font);
    }

    int GetCount() const { return m_count; }

private:
    CFontEntry m_entries[kGdiCacheSize];
    int m_count = 0;
    bool m_fullReported = false;
};

// The program's two caches, alive until exit.
CBrushCache& BrushCache();
CFontCache& FontCache();
