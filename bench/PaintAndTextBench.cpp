// What a repaint asks of the GDI caches when they are full (a linear search of
// 150 slots), and the clean-up of a large note text.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "foundation/bytes/TextEditing.h"
#include "foundation/win/GdiCaches.h"

namespace {
// A note text of short lines, blank runs and tabs: most characters take part in
// a change of the clean-up.
std::string MakeNoteText(size_t size)
{
    std::string text;
    while (text.size() < size)
        text += "word  \t word\r   next line\r\r\r\rparagraph \t\t end ";
    return text;
}
}

int main()
{
    const int lookups = 200000;
    CBrushCache brushes;
    CFontCache fonts;
    LOGFONTA font = {};
    lstrcpynA(font.lfFaceName, "Tahoma", LF_FACESIZE);
    for (int i = 0; i < kGdiCacheSize; ++i) {
        brushes.GetBrush(RGB(0, 0, i));
        font.lfHeight = -(i + 1);
        fonts.GetFont(font);
    }
    LARGE_INTEGER start = BenchNow();
    HGDIOBJ last = nullptr;
    for (int i = 0; i < lookups; ++i)
        last = brushes.GetBrush(RGB(0, 0, kGdiCacheSize - 1)).brush;
    LARGE_INTEGER brushed = BenchNow();
    for (int i = 0; i < lookups; ++i)
        last = fonts.GetFont(font).font;
    LARGE_INTEGER fonted = BenchNow();
    std::printf("brush look-ups in the last of 150 slots: %.3f us each\n",
                SecondsBetween(start, brushed) * 1e6 / lookups);
    std::printf("font look-ups in the last of 150 slots: %.3f us each (%s)\n",
                SecondsBetween(brushed, fonted) * 1e6 / lookups, last ? "found" : "missing");

    for (size_t size : {32768u, 262144u, 2097152u}) {
        std::string text = MakeNoteText(size);
        std::vector<char> buffer(text.begin(), text.end());
        buffer.push_back(0);
        LARGE_INTEGER from = BenchNow();
        SqueezeWhitespace(buffer.data());
        double milliseconds = SecondsBetween(from, BenchNow()) * 1000.0;
        std::printf("clean-up of a %zu KB note: %.2f ms, %zu KB left\n", text.size() / 1024, milliseconds,
                    std::string(buffer.data()).size() / 1024);
    }
    return 0;
}
