#include "foundation/bytes/NoteColors.h"

#include <cstdio>
#include <cstring>

namespace {
struct ColorFamily {
    const char* name;
    NoteColor pure;
    NoteColor pale;
    NoteColor strong;
    bool strongIsRecognised;
};

// In the order in which colours are named.
const ColorFamily kFamilies[] = {
    {"RED", 0x0000FF, 0x9F9FFF, 0x6F6FFF, false},
    {"GREEN", 0x00FF00, 0x9FFF9F, 0x6FFF6F, true},
    {"BLUE", 0xFF0000, 0xFF9F9F, 0xFF6F6F, true},
    {"YELLOW", 0x00FFFF, 0x9FFFFF, 0x6FFFFF, true},
};

std::uint32_t g_displayColorCount = 0;

bool UsesTints()
{
    return g_displayColorCount > 256;
}

bool IsOfFamily(const ColorFamily& family, NoteColor color)
{
    return color == family.pure || color == family.pale || (family.strongIsRecognised && color == family.strong);
}

const ColorFamily* FamilyOfColor(NoteColor color)
{
    for (const ColorFamily& family : kFamilies)
        if (IsOfFamily(family, color))
            return &family;
    return nullptr;
}

const ColorFamily* FamilyOfName(const char* name)
{
    for (const ColorFamily& family : kFamilies)
        if (name && std::strcmp(name, family.name) == 0)
            return &family;
    return nullptr;
}

// The numbered styles "4" to "8": 0 for any other text.
int StyleNumber(const char* name)
{
    if (!name || name[0] < '4' || name[0] > '8' || name[1] != 0)
        return 0;
    return name[0] - '0';
}
}

void SetDisplayColorCount(std::uint32_t count)
{
    g_displayColorCount = count;
}

std::uint32_t GetDisplayColorCount()
{
    return g_displayColorCount;
}

bool IsGreenColor(NoteColor color)
{
    return IsOfFamily(kFamilies[1], color);
}

bool IsBlueColor(NoteColor color)
{
    return IsOfFamily(kFamilies[2], color);
}

bool IsCustomColor(NoteColor color)
{
    return FamilyOfColor(color) == nullptr;
}

void ColorToName(NoteColor color, char* buffer, size_t size)
{
    if (!buffer || size == 0)
        return;
    const ColorFamily* family = FamilyOfColor(color);
    std::snprintf(buffer, size, "%s", family ? family->name : "CUSTOM");
}

NoteColor ColorNameToPaleColor(const char* name)
{
    if (const ColorFamily* family = FamilyOfName(name))
        return UsesTints() ? family->pale : family->pure;
    int style = StyleNumber(name);
    if (style == 8)
        return 0x4A85FF;
    if (style != 0)
        return UsesTints() ? 0xB8CCC8 : 0xB8B8B8;
    return 0;
}

NoteColor ColorNameToStrongColor(const char* name)
{
    if (const ColorFamily* family = FamilyOfName(name))
        return UsesTints() ? family->strong : family->pure;
    static const NoteColor kStyleColors[] = {0x808000, 0x00FF00, 0x6000C8, 0x4141FE, 0xFFDFDF};
    int style = StyleNumber(name);
    return style ? kStyleColors[style - 4] : 0;
}

NoteColor ColorToStrongColor(NoteColor color)
{
    const ColorFamily* family = FamilyOfColor(color);
    if (!family)
        return color;
    return UsesTints() ? family->strong : family->pure;
}

NoteColor GetBackgroundTint(NoteColor color)
{
    static const NoteColor kTints[][2] = {
        {0x000000, 0xA0A0A0}, {0x000080, 0x00A0FF}, {0x0000FF, 0xB9B9E6}, {0x008000, 0x6FFF6F},
        {0x008080, 0x00DFDF}, {0x00FF00, 0xD5FFD5}, {0x00FFFF, 0xA0D7D7}, {0x800000, 0xFFA000},
        {0x800080, 0xFFD2FF}, {0x808000, 0xD8D85C}, {0x808080, 0xDFDFDF}, {0xC0C0C0, 0xEBEBEB},
        {0xFF0000, 0xFFD5D5}, {0xFF00FF, 0xFFD5FF}, {0xFFFF00, 0xA0A064}, {0xFFFFFF, 0xC0C0C0},
    };
    for (const auto& row : kTints)
        if (row[0] == color)
            return row[1];
    return color;
}
