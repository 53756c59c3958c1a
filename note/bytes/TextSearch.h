#pragma once

// Finds a text in a text without regard to case (the ANSI letters of the
// program's code page fold as the C locale folds them).
class CTextSearch {
public:
    // The position of the first match, -1 when there is none or either is null;
    // an empty text to find matches at 0.
    static int Find(const char* text, const char* wanted);
};
