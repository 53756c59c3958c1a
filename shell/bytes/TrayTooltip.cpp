#include "shell/bytes/TrayTooltip.h"

#include <cstdio>

namespace {
const char kTitle[] = "Quillnet+";
const std::size_t kTipLimit = 128;

std::string Count(int n)
{
    char text[24];
    std::snprintf(text, sizeof text, ", %d ", n);
    return text;
}
}

std::string TrayNoteCountTip(const NoteStateCounts& c, bool twoLineTips)
{
    const int shown = c.total - c.hidden - c.parked;
    const std::string noun = c.total == 1 ? "note" : "notes";
    std::string text;
    if (c.total <= 0) {
        text = std::string(kTitle) + ", 0 notes";
    } else if (c.hidden == c.total || shown == c.total || c.parked == c.total) {
        const char* state = c.hidden == c.total ? "hidden" : shown == c.total ? "visible" : "parked";
        text = kTitle + Count(c.total) + noun + ", all " + state;
    } else if (c.parked == 0) {
        text = kTitle + Count(c.total) + noun + Count(c.hidden) + "hidden";
    } else {
        text = kTitle + Count(c.total) + noun + Count(c.parked) + "parked" + Count(c.hidden) + "hidden";
    }
    if (twoLineTips)
        return text + "\r\nRight-click for menu, drag to create note ";
    const std::string longHint = ", right-click for menu, drag to create note ";
    if (text.size() + longHint.size() < 64)
        return text + longHint;
    return text + ", drag to create note ";
}

std::string TrayReceivedTip(const std::string& first, const std::string& second)
{
    std::string tip = "You have received a note from ";
    auto fits = [&](const std::string& more) { return tip.size() + more.size() < kTipLimit; };
    if (!second.empty()) {
        const std::string both = second + "<" + first + ">";
        if (fits(both + ".\r\nClick the icon to read it"))
            return tip + both + ".\r\nClick the icon to read it";
        if (fits(both))
            return tip + both;
    } else if (fits(first + ". Click the icon to read it")) {
        return tip + first + ". Click the icon to read it";
    }
    if (fits(first))
        return tip + first;
    return tip;
}
