// Removing and replacing every match in a note of a megabyte of blanks, beside
// the floor of one pass over the same bytes: each byte read, compared and
// written once, as the simplest edit in place does. Each edit is a single pass:
// every one of them shortens the text, so none needs more. (A replacement that
// grows a text must first count its matches, to refuse before it writes when
// the result would not fit, and is not measured here.)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "foundation/bytes/TextEditing.h"

namespace {
const size_t kSize = 1 << 20;

const int kRepeats = 5;

// The best of a few runs of the edit on fresh copies of the note, in ms.
template <class Edit>
double BestOf(const std::string& note, Edit edit, size_t& left)
{
    double best = 0;
    for (int i = 0; i < kRepeats; ++i) {
        std::vector<char> text(note.begin(), note.end());
        text.push_back(0);
        LARGE_INTEGER from = BenchNow();
        edit(text.data(), text.size());
        double milliseconds = SecondsBetween(from, BenchNow()) * 1000.0;
        if (i == 0 || milliseconds < best)
            best = milliseconds;
        left = std::strlen(text.data());
    }
    return best;
}

double g_floor = 0;

template <class Edit>
void Measure(const char* name, const std::string& note, Edit edit)
{
    size_t left = 0;
    double milliseconds = BestOf(note, edit, left);
    std::printf("%-36s %8.2f ms %6.2f x, %zu characters left\n", name, milliseconds, milliseconds / g_floor, left);
}
}

int main()
{
    std::string note(kSize, ' ');
    note.replace(kSize / 2, 4, "word");

    size_t left = 0;
    std::vector<char> out(kSize + 1);
    g_floor = BestOf(
        note, [&out](char* text, size_t size) { std::remove_copy(text, text + size, out.data(), '\t'); }, left);
    std::printf("%-36s %8.2f ms (floor)\n", "one pass over 1 MB", g_floor);

    Measure("runs of blanks shrunk to one", note,
            [](char* text, size_t) { RemoveSecondCharOfMatches(text, "  "); });
    Measure("first blank of every pair removed", note,
            [](char* text, size_t) { RemoveFirstCharOfMatches(text, "  "); });
    Measure("every blank removed", note, [](char* text, size_t) { RemoveAllSubstrings(text, " "); });
    Measure("every pair of blanks replaced", note,
            [](char* text, size_t size) { ReplaceAllSubstrings(text, size, "  ", "-"); });
    Measure("the note's clean-up", note, [](char* text, size_t) { SqueezeWhitespace(text); });
    return 0;
}
