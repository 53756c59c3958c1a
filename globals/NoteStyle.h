#pragma once

#include <windows.h>

// A named bundle of a note's appearance (colours, fonts, flags, background,
// texture, transparency) with an optional text template. Copied by value; it owns
// its text. The program keeps nine standard styles and nine user styles.
class CNoteStyle {
public:
    enum { kNameSize = 26, kMaxTextBytes = 4097 };

    // Every number 0, empty name, no text, fonts zero, marked undefined.
    CNoteStyle();
    ~CNoteStyle();
    // Copies every field; the text gets a buffer of its own.
    CNoteStyle(const CNoteStyle& other);
    CNoteStyle& operator=(const CNoteStyle& other);

    // The look that the scheme buttons compare: roll up, plain text, texture
    // stretch and note size take no part; names and texts ignore case.
    bool operator==(const CNoteStyle& other) const;
    bool operator!=(const CNoteStyle& other) const { return !(*this == other); }

    // Cut to 25 characters; null is empty.
    void SetName(const char* name);
    // A copy of the text and its terminator; null or empty leaves no text.
    void SetText(const char* text);
    // Takes size bytes as the text (a terminator is added when missing).
    void SetTextBytes(const char* bytes, DWORD size);
    // The text, or null when the style has none.
    const char* GetText() const { return m_text; }
    // Bytes of the text with its terminator; 0 without text.
    DWORD GetTextSize() const { return m_textSize; }
    bool HasText() const { return m_text != nullptr && m_textSize > 1; }

    DWORD hasBorder = 0;
    DWORD stayOnTop = 0;
    DWORD showDate = 0;
    DWORD rollUp = 0;
    DWORD horizontalLines = 0;
    DWORD plainText = 0;
    DWORD leftMarginKind = 0;  // 0 none, 1 single dotted, 2 single, 3 double dotted, 4 double
    DWORD backgroundKind = 0;  // 0 plain, 1-3 gradients, 4 texture, 5 transparent
    WORD textureId = 0;        // 0 none, else the hash of a TEXTURES picture's name mod 10000
    BYTE textureStretch = 0;   // 0 tile, 1 stretch
    BYTE transparency = 0;     // percent, 0 to 90
    char name[kNameSize] = "";
    LOGFONTA titleFont;
    LOGFONTA bodyFont;
    COLORREF textColor = 0;
    COLORREF titleTextColor = 0;
    COLORREF backgroundColor = 0;
    COLORREF titleBackgroundColor = 0;
    WORD noteWidth = 0;
    WORD noteHeight = 0;
    DWORD undefined = 1;  // nothing has been saved into this slot
    DWORD isProtected = 0;

private:
    void CopyFrom(const CNoteStyle& other);
    void FreeText();

    char* m_text = nullptr;
    DWORD m_textSize = 0;
};

// The appearance from which the nine standard styles are derived: the user's
// defaults for new notes.
struct NoteStyleBase {
    DWORD hasBorder, stayOnTop, showDate, rollUp;
    DWORD horizontalLines, plainText, leftMarginKind, backgroundKind;
    WORD textureId;
    BYTE transparency;
    COLORREF textColor, titleTextColor;
    LOGFONTA bodyFont, titleFont;
    const char* title;
    WORD noteWidth, noteHeight;
};

// Fills the nine standard styles from the base (its pictures tiled): red,
// green, blue and yellow, then five with numbered colours, borders, gradients
// and margins. The tints depend on the display's colour count, the gradient
// kinds on whether the system can fill gradients.
void BuildStandardNoteStyles(CNoteStyle (&styles)[9], const NoteStyleBase& base);
