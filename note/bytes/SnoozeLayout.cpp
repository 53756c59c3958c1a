#include "note/bytes/SnoozeLayout.h"

namespace {
// The note menu's standard items; their texts are loaded in the same order.
const SnoozePair kNoteStandard[kNoteSnoozeStandardCount] = {
    {5, kUnitMinutes}, {15, kUnitMinutes}, {30, kUnitMinutes}, {1, kUnitHours},    {3, kUnitHours}, {7, kUnitHours},
    {12, kUnitHours},  {1, kUnitDays},     {3, kUnitDays},     {1, kUnitWeekdays}, {1, kUnitWeeks}, {1, kUnitMonths}};

// "30 minutes" and "7 hours" stand in the note's list only.
bool InNoteListOnly(int standard)
{
    return standard == 2 || standard == 5;
}

bool InList(SnoozeMenuKind kind, int standard)
{
    return kind == SnoozeMenuKind::kNote || !InNoteListOnly(standard);
}

// Where a recurrence goes, told in the note list's terms: one of its standard
// items, or an extra item after the first "at" items of the list without the
// replaced one.
struct Placement {
    bool known = true;
    int standard = -1;
    int at = -1;
    int replaced = -1;
};

Placement Standard(int index)
{
    Placement p;
    p.standard = index;
    return p;
}

Placement At(int at, int replaced = -1)
{
    Placement p;
    p.at = at;
    p.replaced = replaced;
    return p;
}

Placement PlaceInMinutes(int v)
{
    if (v == 5)
        return Standard(0);
    if (v == 15)
        return Standard(1);
    if (v == 30)
        return Standard(2);
    if (v < 5)
        return At(0);
    if (v < 15)
        return At(1);
    if (v < 30)
        return At(2);
    return v == 60 ? At(3, 3) : At(3);
}

Placement PlaceInHours(int v)
{
    switch (v) {
    case 1:
        return Standard(3);
    case 3:
        return Standard(4);
    case 7:
        return Standard(5);
    case 12:
        return Standard(6);
    case 2:
        return At(4);
    case 24:
        return At(7, 7);
    case 72:
        return At(8, 8);
    default:
        break;
    }
    if (v < 7)
        return At(5);
    if (v < 12)
        return At(6);
    if (v < 24)
        return At(7);
    return v < 72 ? At(8) : At(10);
}

Placement PlaceInDays(int v)
{
    if (v == 1)
        return Standard(7);
    if (v == 3)
        return Standard(8);
    if (v == 2)
        return At(8);
    if (v < 7)
        return At(9);
    if (v == 7)
        return At(9, 10);
    return v <= 30 ? At(11) : At(12);
}

Placement PlaceInWeekdays(int v)
{
    if (v == 1)
        return Standard(9);
    if (v < 5)
        return At(10);
    if (v == 5)
        return At(10, 10);
    return v <= 20 ? At(11) : At(12);
}

Placement PlaceInWeeks(int v)
{
    if (v == 1)
        return Standard(10);
    if (v < 4)
        return At(11);
    return v == 4 ? At(11, 11) : At(12);
}

Placement PlaceInNoteList(int unit, int value)
{
    switch (unit) {
    case kUnitMinutes:
        return PlaceInMinutes(value);
    case kUnitHours:
        return PlaceInHours(value);
    case kUnitDays:
        return PlaceInDays(value);
    case kUnitWeekdays:
        return PlaceInWeekdays(value);
    case kUnitWeeks:
        return PlaceInWeeks(value);
    case kUnitMonths:
        return value == 1 ? Standard(11) : At(12);
    default: {
        Placement unknown;
        unknown.known = false;
        return unknown;
    }
    }
}

void AddStandard(SnoozeLayout& layout, int standard)
{
    layout.table.pairs[layout.count] = kNoteStandard[standard];
    layout.textIndex[layout.count] = standard;
    ++layout.count;
}
}

SnoozeLayout StandardSnoozeLayout(SnoozeMenuKind kind, int current)
{
    SnoozeLayout layout;
    for (int standard = 0; standard < kNoteSnoozeStandardCount; ++standard) {
        if (InList(kind, standard))
            AddStandard(layout, standard);
    }
    layout.table.current = current >= 0 && current < layout.count ? current : 0;
    return layout;
}

SnoozeLayout LayOutSnoozeChoices(SnoozeMenuKind kind, int unit, int value)
{
    Placement place = PlaceInNoteList(unit, value);
    if (!place.known) {
        SnoozeLayout unknown;
        unknown.known = false;
        return unknown;
    }
    // A duration of the note's list only is an extra item of the prompt's, at its place.
    if (kind == SnoozeMenuKind::kPrompt && place.standard >= 0 && InNoteListOnly(place.standard))
        place = At(place.standard);

    // The note's list without the replaced item, the extra one after the first
    // "at" of them; then each item the kind's list holds.
    const int kExtra = -1;
    int order[kSnoozeTableSize];
    int length = 0;
    int kept = 0;
    for (int standard = 0; standard < kNoteSnoozeStandardCount; ++standard) {
        if (standard == place.replaced)
            continue;
        if (kept == place.at)
            order[length++] = kExtra;
        order[length++] = standard;
        ++kept;
    }
    if (kept == place.at)
        order[length++] = kExtra;

    SnoozeLayout layout;
    for (int i = 0; i < length; ++i) {
        const int item = order[i];
        if (item == kExtra) {
            layout.table.current = layout.count;
            layout.table.pairs[layout.count] = {value, unit};
            layout.textIndex[layout.count] = -1;
            ++layout.count;
        } else if (InList(kind, item)) {
            if (item == place.standard)
                layout.table.current = layout.count;
            AddStandard(layout, item);
        }
    }
    layout.extraItem = place.at >= 0 && place.replaced < 0;
    layout.singularText = unit == kUnitMinutes && value == 1;
    return layout;
}
