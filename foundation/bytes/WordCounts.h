#pragma once

// Counts for the note's text statistics.

// Syllables of a word, estimated from its vowel groups: the pairs ea, au, ai, oo,
// ie, io, ee, ou count once, a y after a consonant counts, a final vowel does not.
int CountVowelGroups(const char* word);

// ASCII letters other than a, e, i, o, u (either case), plus every byte of 128 or more.
int CountConsonants(const char* text);
