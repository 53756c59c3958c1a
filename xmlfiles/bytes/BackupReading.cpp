#include "xmlfiles/bytes/BackupReading.h"

#include <cstring>

#include "foundation/bytes/NumberCodes.h"
#include "foundation/bytes/ProtectedMark.h"
#include "foundation/bytes/TextChecks.h"
#include "xmlfiles/bytes/XmlBufferDocument.h"
#include "xmlfiles/bytes/XmlLines.h"

namespace {
const char kRoot[] = "backup";
const char kNote[] = "note";
const int kValueSize = 512;
const int kErrorSize = 400;
const size_t kIndentOfTexts = 9;  // the texts of "textarea" stand on level 3

std::string Trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Decoded(std::string text)
{
    if (!text.empty())
        ToggleCdataEscape(&text[0], 0);
    return text;
}

// A name as the program keeps it: without blanks at its ends, cut to its field.
std::string NameOf(const std::string& value, size_t limit)
{
    return Trimmed(Decoded(Trimmed(value)).substr(0, limit));
}

int Number(const std::string& text)
{
    return static_cast<int>(ParseNumber(Trimmed(text).c_str(), 10));
}

// The framing the writer puts around a text: a line break after the section's
// opening, the indentation and a line break before its end.
std::string WithoutFraming(const std::string& stored)
{
    size_t first = 0;
    if (stored.compare(0, 2, "\r\n") == 0)
        first = 2;
    else if (stored.compare(0, 1, "\n") == 0)
        first = 1;
    size_t end = stored.size();
    size_t lineEnd = 0;
    if (end >= first + 2 && stored.compare(end - 2, 2, "\r\n") == 0)
        lineEnd = 2;
    else if (end >= first + 1 && stored[end - 1] == '\n')
        lineEnd = 1;
    end -= lineEnd;
    for (size_t blanks = 0; lineEnd && blanks < kIndentOfTexts && end > first && stored[end - 1] == ' '; ++blanks)
        --end;
    return stored.substr(first, end - first);
}

// One note's elements, each found by its path from the root.
class NoteFields {
public:
    NoteFields(CXMLBufferDocument& document, int k, std::vector<BackupMissingField>& missing)
        : m_document(document), m_k(k), m_missing(missing)
    {
    }

    // A value of the note itself, of one of its elements, or of an element
    // inside that one; false (with the problem noted when asked) when missing.
    bool Read(const char* tag, std::string& value, bool report = true)
    {
        return Take(m_document.GetValue(kRoot, kNote, m_k, tag, m_value, kValueSize, m_error, kErrorSize), value,
                    report ? tag : nullptr);
    }
    bool Read(const char* sub, const char* tag, std::string& value, bool report = true)
    {
        return Take(m_document.GetValue1(kRoot, kNote, sub, m_k, tag, m_value, kValueSize, m_error, kErrorSize),
                    value, report ? (std::string(sub) + " " + tag).c_str() : nullptr);
    }
    bool Read(const char* sub, const char* subSub, const char* tag, std::string& value)
    {
        return Take(m_document.GetValue2(kRoot, kNote, sub, subSub, m_k, tag, m_value, kValueSize, m_error,
                                         kErrorSize),
                    value, (std::string(sub) + " " + subSub + " " + tag).c_str());
    }
    // A text of "textarea" whole, whatever its length; false when missing.
    bool ReadLong(const char* tag, std::string& value)
    {
        int length = 0;
        if (m_document.GetValue1(kRoot, kNote, "textarea", m_k, tag, nullptr, 0, m_error, kErrorSize, &length) !=
            1)
            return false;
        std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
        if (m_document.GetValue1(kRoot, kNote, "textarea", m_k, tag, buffer.data(), length + 1, m_error,
                                 kErrorSize) != 1)
            return false;
        value.assign(buffer.data(), std::strlen(buffer.data()));
        return true;
    }

    template <class T>
    void Number(const char* tag, T& field)
    {
        std::string value;
        if (Read(tag, value))
            field = static_cast<T>(::Number(value));
    }
    void Flag(const char* tag, bool& field)
    {
        std::string value;
        if (Read(tag, value))
            field = ::Number(value) != 0;
    }

private:
    // The value when found; else the field noted as missing, unless no field
    // is named (a field the note may well lack).
    bool Take(int found, std::string& value, const char* field)
    {
        if (found == 1) {
            value = m_value;
            return true;
        }
        if (field)
            m_missing.push_back(BackupMissingField{field, m_error});
        return false;
    }

    CXMLBufferDocument& m_document;
    int m_k;
    std::vector<BackupMissingField>& m_missing;
    char m_value[kValueSize] = "";
    char m_error[kErrorSize] = "";
};

// "yyyymmddThh:mm:ss": 17 characters with "T" at 8 and ":" at 11 and 14, and
// a date that can be: a note must not come back dated day 0 of month 0.
bool ParseDateText(const std::string& text, BackupDateTime& date)
{
    if (text.size() != 17 || text[8] != 'T' || text[11] != ':' || text[14] != ':')
        return false;
    auto group = [&](size_t at, size_t length) { return ::Number(text.substr(at, length)); };
    date.stamp.year = group(0, 4);
    date.stamp.month = group(4, 2);
    date.stamp.day = group(6, 2);
    date.stamp.hour = group(9, 2);
    date.stamp.minute = group(12, 2);
    date.second = group(15, 2);
    const BackupStamp& s = date.stamp;
    return s.month >= 1 && s.month <= 12 && s.day >= 1 && s.day <= 31 && s.hour <= 23 && s.minute <= 59 &&
           date.second <= 59;
}

void ReadFont(NoteFields& fields, const char* part, BackupFont& font)
{
    struct NumberField {
        const char* tag;
        int BackupFont::*field;
    };
    static const NumberField kNumbers[] = {
        {"escapement", &BackupFont::escapement},       {"orientation", &BackupFont::orientation},
        {"italic", &BackupFont::italic},               {"underlined", &BackupFont::underlined},
        {"strikeout", &BackupFont::strikeout},         {"charset", &BackupFont::charset},
        {"outprecision", &BackupFont::outPrecision},   {"clipprecision", &BackupFont::clipPrecision},
        {"quality", &BackupFont::quality},             {"pitch_and_family", &BackupFont::pitchAndFamily},
    };
    std::string value;
    if (fields.Read(part, "font", "size", value))
        font.size = Number(value);
    if (fields.Read(part, "font", "bold", value))
        font.bold = Number(value) != 0;
    for (const NumberField& number : kNumbers) {
        if (fields.Read(part, "font", number.tag, value))
            font.*number.field = Number(value);
    }
    if (fields.Read(part, "font", "name", value))
        font.name = NameOf(value, 31);
}

std::uint32_t Colour(int red, int green, int blue)
{
    return static_cast<std::uint32_t>((red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16);
}

void ReadColours(NoteFields& fields, const char* part, std::uint32_t& background, std::uint32_t& text)
{
    static const char* const kTags[] = {"backcolor_red", "backcolor_green", "backcolor_blue",
                                        "textcolor_red", "textcolor_green", "textcolor_blue"};
    int parts[6];
    for (int i = 0; i < 6; ++i)
        parts[i] = static_cast<int>(((i < 3 ? background : text) >> (8 * (i % 3))) & 0xFF);
    std::string value;
    for (int i = 0; i < 6; ++i) {
        if (fields.Read(part, kTags[i], value))
            parts[i] = Number(value);
    }
    background = Colour(parts[0], parts[1], parts[2]);
    text = Colour(parts[3], parts[4], parts[5]);
}

void ReadAlarm(NoteFields& fields, BackupAlarm& alarm)
{
    static const char* const kUnitNames[] = {"minute(s)", "hour(s)", "day(s)", "week(s)", "month(s)", "weekday(s)"};
    std::string value;
    if (fields.Read("alarm", "is_set", value))
        alarm.set = Number(value) != 0;
    BackupDateTime when;
    if (fields.Read("alarm", "date_time", value) && ParseDateText(Trimmed(value), when))
        alarm.when = when.stamp;
    if (fields.Read("alarm", "stop_ringing_after", value))
        alarm.stopAfterMinutes = Number(value);
    if (fields.Read("alarm", "remind_again", "is_set", value))
        alarm.recurring = Number(value) != 0;
    if (fields.Read("alarm", "remind_again", "value", value))
        alarm.value = Number(value);
    if (fields.Read("alarm", "remind_again", "unit", value)) {
        alarm.unit = 1;
        const std::string unit = Trimmed(value);
        for (int i = 0; i < 6; ++i)
            if (unit == kUnitNames[i])
                alarm.unit = i + 1;
    } else {
        alarm.unit = 3;
    }
}

// The note's associations, through the document's cursor, which is left at the root.
void LoadAppAssociation(CXMLBufferDocument& document, int k, BackupNote& note,
                        std::vector<BackupMissingField>& missing)
{
    char error[kErrorSize] = "";
    char value[kValueSize] = "";
    while (document.GotoParent(error, kErrorSize)) {
    }
    if (!document.GotoChildOfCurrentParent(kNote, k, error, kErrorSize) ||
        !document.SetCurrentChildAsParent(error, kErrorSize))
        return;
    const int count = document.CountChildren("association", error, kErrorSize);
    for (int j = 1; j <= count; ++j) {
        BackupAssociation association;
        if (!document.GotoChildOfCurrentParent("association", j, error, kErrorSize) ||
            !document.GetValueOfCurrentChild("application", value, kValueSize, error, kErrorSize)) {
            missing.push_back(BackupMissingField{"association application", error});
            break;
        }
        association.application = NameOf(value, 254);
        std::vector<char> icon(64 * 1024, '\0');
        if (!document.GetValueOfCurrentChild("icon", icon.data(), static_cast<int>(icon.size()), error,
                                             kErrorSize)) {
            missing.push_back(BackupMissingField{"association icon", error});
            break;
        }
        association.iconBase64 = Trimmed(icon.data());
        note.associations.push_back(association);
    }
    document.GotoParent(error, kErrorSize);
}
}

int CountBackupNotes(CXMLBufferDocument& document, std::string& error)
{
    char text[kErrorSize] = "";
    int count = document.CountElements(kRoot, kNote, text, kErrorSize);
    if (count < 0)
        error = text;
    return count;
}

std::string NoteContentFromBackup(const std::string& stored, bool& protectedBody)
{
    std::string content = WithoutFraming(stored);
    protectedBody = false;
    // A body holds at least its digest and mark after some Base64 text.
    if (content.size() < kMinProtectedBodyBytes)
        return Decoded(content);
    if (EndsWithProtectedMark(content)) {
        protectedBody = true;
        return content;
    }
    const size_t markLength = sizeof kProtectedBodyMarkInBackup - 1;
    if (content.compare(content.size() - markLength, markLength, kProtectedBodyMarkInBackup) == 0) {
        content.replace(content.size() - markLength, markLength, reinterpret_cast<const char*>(kProtectedBodyMark),
                        sizeof kProtectedBodyMark);
        protectedBody = true;
        return content;
    }
    return Decoded(content);
}

void ReadBackupNote(CXMLBufferDocument& document, int k, CRestoredNote& note,
                    std::vector<BackupMissingField>& missing)
{
    NoteFields fields(document, k, missing);
    std::string value;
    fields.Flag("is_stay_on_top", note.stayOnTop);
    fields.Flag("has_border", note.border);
    fields.Number("left", note.left);
    fields.Number("top", note.top);
    fields.Number("width", note.width);
    fields.Number("height", note.height);
    ReadColours(fields, "textarea", note.bodyColour, note.textColour);

    if (fields.Read("title", "text", value)) {
        note.title = Decoded(value).substr(0, 40);
        if (note.title.empty())
            note.title = " ";
    } else {
        note.title = "Restored note";
    }
    BackupDateTime created;
    if (fields.Read("creation_date_time", value) && ParseDateText(Trimmed(value), created))
        note.created = created;
    else
        note.created = kUnknownCreationTime;
    fields.Flag("show_creation_date", note.showDate);
    note.hidden = false;
    fields.Flag("is_hidden", note.hidden);

    ReadFont(fields, "textarea", note.bodyFont);
    ReadFont(fields, "title", note.titleFont);
    ReadColours(fields, "title", note.titleColour, note.titleTextColour);
    ReadAlarm(fields, note.alarm);

    fields.Flag("rollup_losing_focus", note.rollUpOnLeave);
    fields.Number("left_margin_line", note.leftMarginLine);
    fields.Number("gradient_backcolor", note.backgroundKind);
    if (note.backgroundKind == 4)
        fields.Number("background_image", note.textureId);
    fields.Number("horizontal_lines", note.horizontalLines);
    fields.Flag("plain_text", note.plainText);
    fields.Number("transparency", note.transparency);
    fields.Flag("is_locked", note.locked);
    if (fields.Read("group", value, false))
        note.group = NameOf(value, 50);

    LoadAppAssociation(document, k, note, missing);

    note.protectedBody = false;
    std::string stored;
    if (fields.ReadLong("rtf_text", stored)) {
        note.content = NoteContentFromBackup(stored, note.protectedBody);
        if (fields.ReadLong("text", stored))
            note.text = Decoded(WithoutFraming(stored));
    } else if (fields.ReadLong("text", stored)) {
        note.text = Decoded(WithoutFraming(stored));
        note.content = note.text;
    } else {
        note.content = "The plain text content of the restored note was not found??";
    }
}

int ReadBackupComputers(CXMLBufferDocument& document, std::vector<BackupComputer>& computers, std::string& problem)
{
    char error[kErrorSize] = "";
    char value[kValueSize] = "";
    const int count = document.CountSubElements(kRoot, "computers", "computer", error, kErrorSize);
    if (count < 0) {
        problem = error;
        return -1;
    }
    for (int k = 1; k <= count; ++k) {
        BackupComputer computer;
        if (document.GetValueSubCollection(kRoot, "computers", "computer", k, "computer_name", value, kValueSize,
                                           error, kErrorSize) != 1) {
            problem = error;
            return 0;
        }
        const std::string name = NameOf(value, 100);
        if (CheckEmailAddressText(name.c_str()) == 1)
            computer.email = name;
        else
            computer.computerName = name;
        if (document.GetValueSubCollection(kRoot, "computers", "computer", k, "alias", value, kValueSize, error,
                                           kErrorSize) != 1) {
            problem = error;
            return 0;
        }
        computer.alias = NameOf(value, 15);
        if (document.GetValueSubCollection(kRoot, "computers", "computer", k, "IP_address", value, kValueSize, error,
                                           kErrorSize) == 1) {
            const std::string address = Trimmed(value);
            if (CheckIpAddressText(address.c_str()) == 1)
                computer.ipAddress = address.substr(0, 15);
        }
        computers.push_back(computer);
    }
    return 1;
}
