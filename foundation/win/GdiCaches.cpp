#include "foundation/win/GdiCaches.h"

#include <richedit.h>

#include "foundation/DiagnosticLog.h"
#include "foundation/MainThread.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/FontConversion.h"
#include "foundation/win/GdiObjects.h"

namespace {
const char kTooManyBrushes[] = "Too many different brushes  have been created\r\n Maximum 150 brushes are allowed.";
const char kTooManyFonts[] = "Too many different fonts  have been created\r\n Maximum 150 fonts are allowed.";

// A full cache says so in a box once per run; later requests only leave a line
// in "error.txt", since they come from painting and would repeat the box.
void ReportFull(bool& reported, const char* operation, const char* text)
{
    if (!reported) {
        reported = true;
        ShowErrorMessage(nullptr, text, ProgramTitle);
    } else {
        WriteErrorLog(operation, text);
    }
}

// The cache's lookup: find, else create in the first free slot; the slot counts
// only when its object exists.
template <class Entry, class Matches, class Create>
const Entry& LookUp(Entry (&entries)[kGdiCacheSize], int& count, bool& fullReported, const char* operation,
                    const char* fullText, Matches matches, Create create)
{
    for (int i = 0; i < count; ++i)
        if (matches(entries[i]))
            return entries[i];
    if (count == kGdiCacheSize) {
        ReportFull(fullReported, operation, fullText);
        return entries[0];
    }
    Entry& slot = entries[count];
    if (create(slot))
        ++count;
    else
        WriteLastErrorLog(operation);
    return slot;
}
}

CFontEntry::CFontEntry() : font(nullptr), logFont(StandardLogFont())
{
    logFont.lfWeight = FW_BOLD;
    logFont.lfPitchAndFamily = 12;
}

void CFontEntry::SetFromRichEdit(HWND richEdit, DWORD flags) const
{
    CHARFORMATA format;
    LogFontToCharFormat(richEdit, &format, logFont);
    SendMessageA(richEdit, EM_SETCHARFORMAT, flags, reinterpret_cast<LPARAM>(&format));
}

CBrushCache::~CBrushCache()
{
    for (int i = 0; i < m_count; ++i)
        DeleteObject(m_entries[i].brush);
}

const CBrushEntry& CBrushCache::GetBrush(COLORREF color)
{
    RequireMainThread("CBrushCache::GetBrush");
    return LookUp(
        m_entries, m_count, m_fullReported, "CBrushCache::GetBrush: ", kTooManyBrushes,
        [color](const CBrushEntry& entry) { return entry.color == color; },
        [color](CBrushEntry& slot) {
            slot.color = color;
            slot.brush = CreateSolidBrush(color);
            return slot.brush != nullptr;
        });
}

CFontCache::~CFontCache()
{
    for (int i = 0; i < m_count; ++i)
        DeleteObject(m_entries[i].font);
}

const CFontEntry& CFontCache::GetFont(const LOGFONTA& font)
{
    RequireMainThread("CFontCache::GetFont");
    return LookUp(
        m_entries, m_count, m_fullReported, "CFontCache::GetFont: ", kTooManyFonts,
        [&font](const CFontEntry& entry) { return LogFontsEqual(entry.logFont, font); },
        [&font](CFontEntry& slot) {
            CopyLogFont(&slot.logFont, font);
            slot.font = CreateFontIndirectA(&slot.logFont);
            return slot.font != nullptr;
        });
}

CBrushCache& BrushCache()
{
    static CBrushCache cache;
    return cache;
}

CFontCache& FontCache()
{
    static CFontCache cache;
    return cache;
}
