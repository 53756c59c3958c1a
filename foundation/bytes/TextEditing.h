#pragma once

#include <cstddef>

// Searching, trimming and replacing in zero-terminated ANSI texts, in place.
// Whitespace means blank, tab, CR and LF. A null text is left alone (and tests
// answer false); an operation that would grow a text is given the buffer's size
// and refuses, leaving the text as it was, when the result would not fit.

int CountChar(const char* text, char c);

// A text shorter than 2 characters is left alone; one made only of c becomes empty.
void TrimRightChar(char* text, char c);
// A text made only of c becomes empty.
void TrimLeftChar(char* text, char c);
// A text made only of whitespace becomes empty.
void TrimRightWhitespace(char* text);
void TrimLeftWhitespace(char* text);

// The first n characters of the source (all when shorter), cut to fit the target.
void CopyLeft(char* target, size_t targetSize, const char* source, int n);
// Moves the text with its terminator n places to the right; the first n characters
// stay as they were, for the caller to overwrite with a prefix.
bool ShiftTextRight(int n, char* text, size_t size);

void RemoveAllChars(char* text, char c);
// Deletes occurrences of s until none is left (deleting may join new ones).
void RemoveAllSubstrings(char* text, const char* s);
// While s occurs, deletes the first character of its first occurrence.
void RemoveFirstCharOfMatches(char* text, const char* s);
// While s occurs, deletes its second character: with two blanks, runs of blanks
// shrink to one. A pattern shorter than two characters does nothing.
void RemoveSecondCharOfMatches(char* text, const char* s);
// Deletes the last character of the first occurrence of s, once.
void DeleteLastCharOfMatch(char* text, const char* s);
void ReplaceChar(char* text, char from, char to);
// Replaces every occurrence of find, left to right; an inserted replacement is
// not searched again. An empty find or replacement does nothing.
bool ReplaceAllSubstrings(char* text, size_t size, const char* find, const char* replacement);
void ReverseText(char* text);

bool StartsWith(const char* text, const char* prefix);
// Compares, ignoring case, the text from the last occurrence of the pattern's first
// character to its end with the pattern: tests endings such as ".lnk".
bool MatchTailNoCase(const char* text, const char* pattern);
// The pattern occurs, but neither at the start nor as the ending.
bool ContainsInMiddle(const char* text, const char* pattern);
// No dot at either end and no doubled first or last dot; a text without dots passes.
bool CheckDotPlacement(const char* text);
// Eight ASCII letters or digits followed by '#'.
bool IsHashTerminatedCode(const char* text);

// The clean-up of a note's text: blanks after a line break go, runs of three or
// more CRs become two, runs of blanks and tabs become one blank, and single line
// breaks inside a paragraph become blanks.
void SqueezeWhitespace(char* text);
