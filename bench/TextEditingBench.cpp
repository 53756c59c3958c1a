// Removing and replacing every match in a note of a megabyte of blanks, beside
// one copy of the same text as the floor: each edit is a single pass.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "foundation/bytes/TextEditing.h"

namespace {
const size_t kSize = 1 << 20;

template <class Edit>
void Measure(const char* name, const std::string& note, Edit edit)
{
    std::vector<char> text(note.begin(), note.end());
    text.push_back(0);
    LARGE_INTEGER from = BenchNow();
    edit(text.data(), text.size());
    double milliseconds = SecondsBetween(from, BenchNow()) * 1000.0;
    std::printf("%-36s %8.2f ms, %zu characters left\n", name, milliseconds, std::strlen(text.data()));
}
}

int main()
{
    std::string note(kSize, ' ');
    note.replace(kSize / 2, 4, "word");

    std::vector<char> copy(kSize + 1);
    LARGE_INTEGER from = BenchNow();
    std::memcpy(copy.data(), note.c_str(), kSize + 1);
    std::printf("%-36s %8.2f ms (floor)\n", "one copy of 1 MB", SecondsBetween(from, BenchNow()) * 1000.0);

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
