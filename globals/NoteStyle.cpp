#include "globals/NoteStyle.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/NoteColors.h"
#include "foundation/win/BackgroundPainting.h"
#include "foundation/win/GdiObjects.h"

CNoteStyle::CNoteStyle()
{
    std::memset(&titleFont, 0, sizeof titleFont);
    std::memset(&bodyFont, 0, sizeof bodyFont);
}

CNoteStyle::~CNoteStyle()
{
    FreeText();
}

CNoteStyle::CNoteStyle(const CNoteStyle& other) : CNoteStyle()
{
    CopyFrom(other);
}

CNoteStyle& CNoteStyle::operator=(const CNoteStyle& other)
{
    if (this != &other)
        CopyFrom(other);
    return *this;
}

void CNoteStyle::CopyFrom(const CNoteStyle& other)
{
    // The text first: a failed allocation leaves this style as it was.
    SetTextBytes(other.m_text, other.m_text ? other.m_textSize : 0);
    hasBorder = other.hasBorder;
    stayOnTop = other.stayOnTop;
    showDate = other.showDate;
    rollUp = other.rollUp;
    horizontalLines = other.horizontalLines;
    plainText = other.plainText;
    leftMarginKind = other.leftMarginKind;
    backgroundKind = other.backgroundKind;
    textureId = other.textureId;
    textureStretch = other.textureStretch;
    transparency = other.transparency;
    std::memcpy(name, other.name, sizeof name);
    name[kNameSize - 1] = '\0';
    titleFont = other.titleFont;
    bodyFont = other.bodyFont;
    textColor = other.textColor;
    titleTextColor = other.titleTextColor;
    backgroundColor = other.backgroundColor;
    titleBackgroundColor = other.titleBackgroundColor;
    noteWidth = other.noteWidth;
    noteHeight = other.noteHeight;
    undefined = other.undefined;
    isProtected = other.isProtected;
}

void CNoteStyle::FreeText()
{
    delete[] m_text;
    m_text = nullptr;
    m_textSize = 0;
}

void CNoteStyle::SetName(const char* text)
{
    std::snprintf(name, sizeof name, "%s", text ? text : "");
}

void CNoteStyle::SetText(const char* text)
{
    SetTextBytes(text, text ? static_cast<DWORD>(std::strlen(text) + 1) : 0);
}

void CNoteStyle::SetTextBytes(const char* bytes, DWORD size)
{
    // Only the bytes before a terminator count; an empty text is no text.
    DWORD length = 0;
    while (bytes && length < size && bytes[length] != '\0')
        ++length;
    if (length == 0) {
        FreeText();
        return;
    }
    char* copy = new (std::nothrow) char[length + 1];
    if (!copy)
        throw CGenericException("CNoteStyle::SetText: not enough memory for the style text");
    std::memcpy(copy, bytes, length);
    copy[length] = '\0';
    FreeText();
    m_text = copy;
    m_textSize = length + 1;
}

namespace {
bool SameText(const char* a, const char* b)
{
    if (!a || !b)
        return a == b;
    return lstrcmpiA(a, b) == 0;
}
}

bool CNoteStyle::operator==(const CNoteStyle& other) const
{
    return backgroundColor == other.backgroundColor && titleBackgroundColor == other.titleBackgroundColor &&
           hasBorder == other.hasBorder && stayOnTop == other.stayOnTop && showDate == other.showDate &&
           horizontalLines == other.horizontalLines && leftMarginKind == other.leftMarginKind &&
           backgroundKind == other.backgroundKind && textureId == other.textureId &&
           transparency == other.transparency && lstrcmpiA(name, other.name) == 0 && textColor == other.textColor &&
           titleTextColor == other.titleTextColor && LogFontsEqual(bodyFont, other.bodyFont) &&
           LogFontsEqual(titleFont, other.titleFont) && isProtected == other.isProtected &&
           SameText(HasText() ? m_text : nullptr, other.HasText() ? other.m_text : nullptr);
}

namespace {
struct StandardStep {
    COLORREF body, bodyFewColours;
    COLORREF title, titleFewColours;
};

// Each step changes the style before it: the colours always, the rest below.
const StandardStep kStandardSteps[9] = {
    {0x9F9FFF, 0x0000FF, 0x6F6FFF, 0x0000FF}, {0x9FFF9F, 0x00FF00, 0x6FFF6F, 0x00FF00},
    {0xFF9F9F, 0xFF0000, 0xFF6F6F, 0xFF0000}, {0x9FFFFF, 0x00FFFF, 0x6FFFFF, 0x00FFFF},
    {0xB8CCC8, 0xB8B8B8, 0x808000, 0x808000}, {0xB8CCC8, 0xB8B8B8, 0x00FF00, 0x00FF00},
    {0xB8CCC8, 0xB8B8B8, 0x6000C8, 0x6000C8}, {0xB8CCC8, 0xB8B8B8, 0x4141FE, 0x4141FE},
    {0x4A85FF, 0x4A85FF, 0xFFDFDF, 0xFFDFDF},
};
}

void BuildStandardNoteStyles(CNoteStyle (&styles)[9], const NoteStyleBase& base)
{
    CNoteStyle style;
    style.hasBorder = base.hasBorder;
    style.stayOnTop = base.stayOnTop;
    style.showDate = base.showDate;
    style.rollUp = base.rollUp;
    style.horizontalLines = base.horizontalLines;
    style.plainText = base.plainText;
    style.leftMarginKind = base.leftMarginKind;
    style.backgroundKind = base.backgroundKind;
    style.textureId = base.textureId;
    style.transparency = base.transparency;
    style.textColor = base.textColor;
    style.titleTextColor = base.titleTextColor;
    style.bodyFont = base.bodyFont;
    style.titleFont = base.titleFont;
    style.SetName(base.title);
    style.noteWidth = base.noteWidth;
    style.noteHeight = base.noteHeight;
    style.undefined = 0;

    const bool manyColours = GetDisplayColorCount() > 256;
    const DWORD gradient = GetGradientFillFunction() != nullptr ? 1 : 0;
    for (int i = 0; i < 9; ++i) {
        const StandardStep& step = kStandardSteps[i];
        style.backgroundColor = manyColours ? step.body : step.bodyFewColours;
        style.titleBackgroundColor = manyColours ? step.title : step.titleFewColours;
        switch (i + 1) {
        case 5:
            style.titleTextColor = 0x00FFFF;
            style.hasBorder = 1;
            break;
        case 6:
            style.titleTextColor = 0x000000;
            style.backgroundKind = gradient * 1;
            break;
        case 7:
            style.titleTextColor = 0xFFFFFF;
            style.backgroundKind = gradient * 2;
            style.leftMarginKind = 1;
            break;
        case 8:
            style.titleTextColor = 0x00FFFF;
            style.backgroundKind = gradient * 3;
            style.horizontalLines = 1;
            style.leftMarginKind = 0;
            break;
        case 9:
            style.titleTextColor = 0x000000;
            style.horizontalLines = 0;
            style.backgroundKind = gradient * 1;
            break;
        default:
            break;
        }
        styles[i] = style;
    }
}
