#include "calendar/CalendarStyleXml.h"

#include <cstdio>
#include <cstdlib>
#include <type_traits>

#include "foundation/bytes/TextEditing.h"
#include "xmlfiles/FontXml.h"
#include "xmlfiles/XmlWriter.h"
#include "xmlfiles/bytes/XmlBufferDocument.h"
#include "xmlfiles/bytes/XmlLines.h"

namespace {
enum class Key { kNumber, kColour, kText, kFont };

// Every element of a record in the file's order, each with its field.
template <class Style, class Visit>
void VisitCalendarKeys(Style& s, Visit&& visit)
{
    visit("userID", s.userID, Key::kNumber);
    visit("firstDayOfWeek", s.firstDayOfWeek, Key::kNumber);
    visit("visible", s.visible, Key::kNumber);
    visit("filterText", s.filterText, Key::kText);
    visit("nrOfMonthsToShow", s.nrOfMonthsToShow, Key::kNumber);
    visit("monthOnTheLeft", s.monthOnTheLeft, Key::kNumber);
    visit("yearOnTheLeft", s.yearOnTheLeft, Key::kNumber);
    visit("weekdaysAbbrev", s.weekdaysAbbrev, Key::kNumber);
    visit("hotkeyAllow", s.hotkeyAllow, Key::kNumber);
    visit("hotkeyCtrl", s.hotkeyCtrl, Key::kNumber);
    visit("hotkeyAlt", s.hotkeyAlt, Key::kNumber);
    visit("hotkeyShift", s.hotkeyShift, Key::kNumber);
    visit("hotkeyKey", s.hotkeyKey, Key::kNumber);
    visit("stayOnTop", s.stayOnTop, Key::kNumber);
    visit("hasBorder", s.hasBorder, Key::kNumber);
    visit("rollUp", s.rollUp, Key::kNumber);
    visit("transparency", s.transparency, Key::kNumber);
    visit("left", s.left, Key::kNumber);
    visit("top", s.top, Key::kNumber);
    visit("width", s.width, Key::kNumber);
    visit("height", s.height, Key::kNumber);
    visit("backgroundType", s.backgroundType, Key::kNumber);
    visit("backgroundImage", s.backgroundImage, Key::kText);
    visit("tileStretch", s.tileStretch, Key::kNumber);
    visit("daysWithAlarmBold", s.daysWithAlarmBold, Key::kNumber);
    visit("daysWithAlarmUnderline", s.daysWithAlarmUnderline, Key::kNumber);
    visit("daysWithAlarmIsShade", s.daysWithAlarmIsShade, Key::kNumber);
    visit("daysWithAlarmShadeColor", s.daysWithAlarmShadeColor, Key::kColour);
    visit("calendarTitleBackColor", s.calendarTitleBackColor, Key::kColour);
    visit("calendarTitleTextColor", s.calendarTitleTextColor, Key::kColour);
    visit("calendarTitleStyle", s.calendarTitleStyle, Key::kNumber);
    visit("prevNextTransparent", s.prevNextTransparent, Key::kNumber);
    visit("prevNextForeColor", s.prevNextForeColor, Key::kColour);
    visit("weekdayBackColor", s.weekdayBackColor, Key::kColour);
    visit("weekdayTextColor", s.weekdayTextColor, Key::kColour);
    visit("weekdaysTransparent", s.weekdaysTransparent, Key::kNumber);
    visit("daysAreaTextColor", s.daysAreaTextColor, Key::kColour);
    visit("daysAreaBackColor", s.daysAreaBackColor, Key::kColour);
    visit("daysAreaTransparent", s.daysAreaTransparent, Key::kNumber);
    visit("dialogTitleBackColor", s.dialogTitleBackColor, Key::kColour);
    visit("dialogTitleTextColor", s.dialogTitleTextColor, Key::kColour);
    visit("dialogTitle", s.titleFont, Key::kFont);
    visit("dialogBackColor", s.dialogBackColor, Key::kColour);
    visit("calendarLeft", s.daysFont, Key::kFont);
    visit("automaticResizing", s.automaticResizing, Key::kNumber);
    visit("showGrid", s.showGrid, Key::kNumber);
    visit("showOtherDays", s.showOtherDays, Key::kNumber);
}

template <class Field>
constexpr bool IsText()
{
    return std::is_array<Field>::value;
}
template <class Field>
constexpr bool IsFont()
{
    return std::is_same<Field, CFontEntry>::value;
}

bool IsOptional(const char* name)
{
    return lstrcmpA(name, "visible") == 0 || lstrcmpA(name, "filterText") == 0;
}
}

void WriteCalendarStyleXml(const CCalendarStyle& record, int level, CXmlWriter& writer)
{
    VisitCalendarKeys(record, [&](const char* name, const auto& field, Key kind) {
        using Field = std::remove_cv_t<std::remove_reference_t<decltype(field)>>;
        if constexpr (IsFont<Field>()) {
            WriteLogFontXml(name, field.logFont, level, writer);
        } else if constexpr (IsText<Field>()) {
            char text[sizeof field];
            std::snprintf(text, sizeof text, "%s", field);
            ToggleCdataEscape(text, 1);
            writer.WriteElement(name, text, level, 1);
        } else {
            char value[16];
            if (kind == Key::kColour)
                std::snprintf(value, sizeof value, "%lu", static_cast<unsigned long>(field));
            else
                std::snprintf(value, sizeof value, "%ld", static_cast<long>(field));
            writer.WriteElement(name, value, level, 0);
        }
    });
}

bool ReadCalendarValue(CXMLBufferDocument& document, CalendarRecordPlace place, const char* name, char* value,
                       int size, char* error, int errorSize)
{
    const int found = place.fromCurrentChild
                          ? document.GetValueOfCurrentChild(name, value, size, error, errorSize)
                          : document.GetValue("content", "options", place.k, name, value, size, error, errorSize);
    if (found != 1)
        return false;
    TrimLeftChar(value, ' ');
    TrimRightChar(value, ' ');
    return true;
}

bool ReadCalendarStyleXml(CCalendarStyle& record, CXMLBufferDocument& document, CalendarRecordPlace place,
                          std::string& problem)
{
    LOGFONTA titleFont = record.titleFont.logFont;
    LOGFONTA daysFont = record.daysFont.logFont;
    bool whole = true;
    VisitCalendarKeys(record, [&](const char* name, auto& field, Key) {
        using Field = std::remove_reference_t<decltype(field)>;
        if (!whole)
            return;
        char error[256] = "";
        if constexpr (IsFont<Field>()) {
            LOGFONTA& font = &field == &record.titleFont ? titleFont : daysFont;
            whole = ReadLogFontXml(&font, document, name, place.k, place.fromCurrentChild ? 1 : 0, error,
                                   sizeof error) != 0;
            if (!whole)
                problem = error;
            return;
        } else {
            char value[CCalendarStyle::kImageSize];
            if (!ReadCalendarValue(document, place, name, value, sizeof value, error, sizeof error)) {
                if (IsOptional(name))
                    return;
                problem = error;
                whole = false;
                return;
            }
            if constexpr (IsText<Field>()) {
                ToggleCdataEscape(value, 0);
                std::snprintf(field, sizeof field, "%s", value);
            } else {
                // Colours are unsigned, places may be negative.
                field = static_cast<Field>(std::strtoll(value, nullptr, 10));
            }
        }
    });
    if (!whole)
        return false;
    record.key = static_cast<LONG>(record.userID);
    record.SetDialogTitleFont(titleFont);
    record.SetDaysFont(daysFont);
    record.weekdayTextColor = record.prevNextForeColor = record.daysAreaTextColor;
    if (record.transparency > 90)
        record.transparency = 90;
    if (record.nrOfMonthsToShow < 1 || record.nrOfMonthsToShow > 3)
        record.nrOfMonthsToShow = 1;
    return true;
}
