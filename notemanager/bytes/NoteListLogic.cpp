#include "notemanager/bytes/NoteListLogic.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {
const int kColumnMargin = 12;
const int kMatchLead = 10;
const size_t kCellTextLimit = 254;
const size_t kCompareLimit = 255;

int CompareNoCase(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int x = std::tolower(static_cast<unsigned char>(a[i]));
        const int y = std::tolower(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

template <class T>
int CompareValues(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

const char* IsAre(int n)
{
    return n == 1 ? "is" : "are";
}
}

int ChooseDateFormatLevel(const int (&widths)[9], int columnWidth)
{
    const int avail = columnWidth - kColumnMargin;
    const int chain[] = {1, 2, 3, 4, 6, 8};
    const int steps = static_cast<int>(sizeof chain / sizeof chain[0]);
    for (int i = 0; i + 1 < steps; ++i) {
        const int level = chain[i];
        const int next = chain[i + 1];
        if (avail >= widths[level] || avail >= (widths[level] + widths[next]) / 2)
            return level;
    }
    return 8;
}

std::string ShortenDatePicture(const std::string& picture, bool days, bool months, bool years)
{
    std::string out;
    bool quoted = false;
    for (size_t i = 0; i < picture.size();) {
        const char c = picture[i];
        if (c == '\'') {
            quoted = !quoted;
            out += c;
            ++i;
            continue;
        }
        size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c)
            ++run;
        std::string piece = picture.substr(i, run);
        if (!quoted) {
            if (days && c == 'd' && run >= 4)
                piece = "ddd";
            else if (months && c == 'M' && run >= 4)
                piece = "MMM";
            else if (years && c == 'y' && run >= 4)
                piece = "yy";
        }
        out += piece;
        i += run;
    }
    return out;
}

std::string ListCellText(const std::string& text, int match, int from)
{
    // A match nearer the start than the lead shows the text from its start.
    size_t start = 0;
    if (match >= from && match >= kMatchLead && static_cast<size_t>(match) < text.size())
        start = static_cast<size_t>(match - kMatchLead);
    std::string out;
    out.reserve(std::min(text.size() - start, kCellTextLimit));
    for (size_t i = start; i < text.size() && out.size() < kCellTextLimit; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == 0xA8 || c == 0xFE)
            continue;
        out += (c == '\r' || c == '\n' || c == '\v') ? ' ' : static_cast<char>(c);
    }
    return out;
}

int CompareNoteSortFacts(int column, const NoteSortFacts& a, const NoteSortFacts& b)
{
    switch (column) {
    case kColumnIcons: {
        auto score = [](const NoteSortFacts& f) {
            return (f.locked ? 8 : 0) | (f.alarmSet ? 4 : 0) | (f.sendMarked ? 2 : 0) | (f.associated ? 1 : 0);
        };
        return CompareValues(score(a), score(b));
    }
    case kColumnTitle:
        return CompareNoCase(a.title, b.title);
    case kColumnAlarm:
        if (!a.alarmSet || !b.alarmSet)
            return CompareValues(a.alarmSet ? 1 : 0, b.alarmSet ? 1 : 0);
        return CompareValues(a.alarm, b.alarm);
    case kColumnCreated:
        return CompareValues(a.created, b.created);
    case kColumnOwner:
        return CompareNoCase(a.owner, b.owner);
    case kColumnSize:
        return CompareValues(a.size, b.size);
    default:
        return 0;
    }
}

int CompareCellTexts(const std::string& a, const std::string& b)
{
    return CompareNoCase(a.substr(0, kCompareLimit), b.substr(0, kCompareLimit));
}

SelectionDescription DescribeSelectionText(int count, int hidden, int parked, bool deletedView)
{
    SelectionDescription d;
    char text[200];
    std::snprintf(text, sizeof text, "%d notes are selected", count);
    d.text = text;
    if (deletedView) {
        d.text += ", all are deleted";
        return d;
    }
    const int visible = count - hidden - parked;
    if (hidden == 0 && parked == 0)
        std::snprintf(text, sizeof text, "all are visible on the desktop");
    else if (hidden == 0 && parked == count)
        std::snprintf(text, sizeof text, "all are parked");
    else if (hidden == 0)
        std::snprintf(text, sizeof text, "%d %s parked, %d %s visible on the desktop", parked, IsAre(parked), visible,
                      IsAre(visible));
    else if (hidden == count)
        std::snprintf(text, sizeof text, "all are hidden");
    else if (parked == 0)
        std::snprintf(text, sizeof text, "%d %s hidden, %d %s visible on the desktop ", hidden, IsAre(hidden),
                      visible, IsAre(visible));
    else if (visible == 0)
        std::snprintf(text, sizeof text, "%d %s hidden, %d %s parked", hidden, IsAre(hidden), parked, IsAre(parked));
    else
        std::snprintf(text, sizeof text, "%d %s hidden, %d %s parked, %d %s visible on the desktop", hidden,
                      IsAre(hidden), parked, IsAre(parked), visible, IsAre(visible));
    d.text += ", ";
    d.text += text;
    d.hideEnabled = (hidden == 0 && parked < count) || (hidden > 0 && parked == 0 && hidden < count);
    return d;
}
