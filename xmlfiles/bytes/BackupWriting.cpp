#include "xmlfiles/bytes/BackupWriting.h"

#include <cstdio>

#include "xmlfiles/bytes/XmlLines.h"

const char kBackupHeaderLine[] = "<?xml version=\"1.0\" encoding=\"Windows-1252\" standalone=\"yes\"?>";
const char kBackupRootName[] = "backup";

namespace {
const char* const kUnitNames[] = {"minute(s)", "hour(s)", "day(s)", "week(s)", "month(s)", "weekday(s)"};

std::string Number(long long value)
{
    return std::to_string(value);
}

void Value(CXmlLineSink& writer, const char* name, long long value, int level)
{
    writer.WriteElement(name, Number(value).c_str(), level, 0);
}

void Flag(CXmlLineSink& writer, const char* name, bool value, int level)
{
    writer.WriteElement(name, value ? "1" : "0", level, 0);
}

void Text(CXmlLineSink& writer, const char* name, const std::string& text, int level)
{
    writer.WriteCDataElement(name, EscapedForCdata(text).c_str(), level);
}

std::string Indent(int level)
{
    return std::string(static_cast<size_t>(level > 0 ? level : 0) * 3, ' ');
}

void Colour(CXmlLineSink& writer, const char* name, std::uint32_t colour, int shift, int level)
{
    Value(writer, name, (colour >> shift) & 0xFF, level);
}
}

std::string EscapedForCdata(const std::string& text)
{
    std::string escaped = text;
    for (size_t at = escaped.find("]]>"); at != std::string::npos; at = escaped.find("]]>", at + 3))
        escaped[at + 1] = '`';
    return escaped;
}

std::string BackupDateText(const BackupStamp& stamp, int second)
{
    char text[40];
    std::snprintf(text, sizeof text, "%04d%02d%02dT%02d:%02d:%02d", stamp.year % 10000, stamp.month % 100,
                  stamp.day % 100, stamp.hour % 100, stamp.minute % 100, second % 100);
    return text;
}

void WriteColorsXml(CXmlLineSink& writer, std::uint32_t background, std::uint32_t text, int level)
{
    Colour(writer, "backcolor_red", background, 0, level);
    Colour(writer, "backcolor_green", background, 8, level);
    Colour(writer, "backcolor_blue", background, 16, level);
    Colour(writer, "textcolor_red", text, 0, level);
    Colour(writer, "textcolor_green", text, 8, level);
    Colour(writer, "textcolor_blue", text, 16, level);
}

void WriteFontXml(CXmlLineSink& writer, const BackupFont& font, int level)
{
    writer.WriteStartTag("font", level);
    Text(writer, "name", font.name, level + 1);
    Value(writer, "size", font.size, level + 1);
    Flag(writer, "bold", font.bold, level + 1);
    Value(writer, "italic", font.italic, level + 1);
    Value(writer, "underlined", font.underlined, level + 1);
    Value(writer, "strikeout", font.strikeout, level + 1);
    Value(writer, "charset", font.charset, level + 1);
    Value(writer, "escapement", font.escapement, level + 1);
    Value(writer, "orientation", font.orientation, level + 1);
    Value(writer, "outprecision", font.outPrecision, level + 1);
    Value(writer, "clipprecision", font.clipPrecision, level + 1);
    Value(writer, "quality", font.quality, level + 1);
    Value(writer, "pitch_and_family", font.pitchAndFamily, level + 1);
    writer.WriteEndTag("font", level);
}

// The CDATA section starts on the tag's line and ends at the start of a line
// of its own; the reader takes away exactly this framing.
void WriteNoteTextXml(CXmlLineSink& writer, const char* tag, const std::string& text, int level)
{
    const std::string indent = Indent(level);
    if (text.empty()) {
        writer.WriteLine(indent + "<" + tag + ">" + indent + "</" + tag + ">");
        return;
    }
    writer.WriteLine(indent + "<" + tag + "><![CDATA[");
    writer.WriteLine(EscapedForCdata(text) + indent);
    writer.WriteLine("]]>");
    writer.WriteEndTag(tag, level);
}

void WriteAlarmXml(CXmlLineSink& writer, const BackupAlarm& alarm, int level)
{
    writer.WriteStartTag("alarm", level);
    Flag(writer, "is_set", alarm.set, level + 1);
    writer.WriteElement("date_time", alarm.set ? BackupDateText(alarm.when).c_str() : "", level + 1, 0);
    Value(writer, "stop_ringing_after", alarm.stopAfterMinutes, level + 1);
    writer.WriteStartTag("remind_again", level + 1);
    Flag(writer, "is_set", alarm.recurring, level + 2);
    writer.WriteElement("value", alarm.recurring ? Number(alarm.value).c_str() : "", level + 2, 0);
    const bool named = alarm.recurring && alarm.unit >= 1 && alarm.unit <= 6;
    writer.WriteElement("unit", named ? kUnitNames[alarm.unit - 1] : "", level + 2, 0);
    writer.WriteEndTag("remind_again", level + 1);
    writer.WriteEndTag("alarm", level);
}

void WriteSentToXml(CXmlLineSink& writer, const std::vector<BackupSentTo>& records, int level)
{
    for (const BackupSentTo& record : records) {
        writer.WriteStartTag("sent_to", level);
        Value(writer, "computer_id", record.computerId, level + 1);
        Flag(writer, "sent_ok", record.sentOk, level + 1);
        writer.WriteElement("date_time", BackupDateText(record.when).c_str(), level + 1, 0);
        writer.WriteEndTag("sent_to", level);
    }
}

void WriteAssociationsXml(CXmlLineSink& writer, const std::vector<BackupAssociation>& associations, int level)
{
    for (const BackupAssociation& association : associations) {
        writer.WriteStartTag("association", level);
        Text(writer, "application", association.application, level + 1);
        Text(writer, "icon", association.iconBase64, level + 1);
        writer.WriteEndTag("association", level);
    }
}

void WriteNoteFieldsXml(CXmlLineSink& writer, const BackupNote& note, int number)
{
    const int level = 2;
    Value(writer, "noteID", number, level);
    Text(writer, "user_name", note.userName, level);
    Text(writer, "computer_name", note.computerName, level);
    Flag(writer, "is_hidden", note.hidden, level);
    Flag(writer, "is_stay_on_top", note.stayOnTop, level);
    Flag(writer, "has_border", note.border, level);
    Flag(writer, "show_creation_date", note.showDate, level);
    Flag(writer, "rollup_losing_focus", note.rollUpOnLeave, level);
    Value(writer, "left_margin_line", note.leftMarginLine, level);
    Value(writer, "gradient_backcolor", note.backgroundKind, level);
    if (note.backgroundKind == 4)
        Value(writer, "background_image", note.textureId, level);
    Value(writer, "horizontal_lines", note.horizontalLines, level);
    Flag(writer, "plain_text", note.plainText, level);
    Value(writer, "transparency", note.transparency, level);
    Flag(writer, "is_locked", note.locked, level);
    Text(writer, "group", note.group, level);
    Value(writer, "left", note.left, level);
    Value(writer, "top", note.top, level);
    Value(writer, "height", note.height, level);
    Value(writer, "width", note.width, level);
    writer.WriteElement("creation_date_time", BackupDateText(note.created.stamp, note.created.second).c_str(), level,
                        0);
    Text(writer, "last_sent_to", note.lastSentTo, level);
    Flag(writer, "last_sent_succeeded", note.lastSentOk, level);
    Text(writer, "received_from_computer_name", note.receivedFromComputer, level);
    Text(writer, "received_from_user_name", note.receivedFromUser, level);
}

void WriteNoteXml(CXmlLineSink& writer, const BackupNote& note, int number)
{
    if (!writer.IsOpen())
        return;
    writer.WriteStartTag("note", 1);
    WriteNoteFieldsXml(writer, note, number);

    writer.WriteStartTag("textarea", 2);
    WriteColorsXml(writer, note.bodyColour, note.textColour, 3);
    WriteFontXml(writer, note.bodyFont, 3);
    writer.WriteComment("The content of the note", 3);
    WriteNoteTextXml(writer, "text", note.protectedBody ? std::string() : note.text, 3);
    std::string content = note.content;
    if (note.protectedBody && EndsWithProtectedMark(content))
        content.replace(content.size() - 3, 3, kProtectedBodyMarkInBackup);
    WriteNoteTextXml(writer, "rtf_text", content, 3);
    writer.WriteEndTag("textarea", 2);

    writer.WriteStartTag("title", 2);
    WriteColorsXml(writer, note.titleColour, note.titleTextColour, 3);
    WriteFontXml(writer, note.titleFont, 3);
    writer.WriteComment("The title of the note", 3);
    Text(writer, "text", note.title, 3);
    writer.WriteEndTag("title", 2);

    writer.WriteComment("The alarm settings of the note", 2);
    WriteAlarmXml(writer, note.alarm, 2);
    if (!note.sentTo.empty()) {
        writer.WriteComment("The computers where the note was sent to", 2);
        WriteSentToXml(writer, note.sentTo, 2);
    }
    if (!note.associations.empty()) {
        writer.WriteLine(Indent(2));
        writer.WriteComment("The applications/windows associated with the note", 2);
        WriteAssociationsXml(writer, note.associations, 2);
    }
    writer.WriteEndTag("note", 1);
}

void WriteComputersXml(CXmlLineSink& writer, const std::vector<BackupComputer>& computers, int level)
{
    writer.WriteStartTag("computers", level);
    for (const BackupComputer& computer : computers) {
        writer.WriteStartTag("computer", level + 1);
        Value(writer, "computer_id", computer.id, level + 2);
        Text(writer, "alias", computer.alias, level + 2);
        if (!computer.email.empty()) {
            Text(writer, "computer_name", computer.email, level + 2);
        } else {
            Text(writer, "computer_name", computer.computerName, level + 2);
            Text(writer, "IP_address", computer.ipAddress, level + 2);
        }
        Flag(writer, "last_sent_ok", computer.lastSentOk, level + 2);
        writer.WriteElement("last_sent_date_time", BackupDateText(computer.lastSent).c_str(), level + 2, 0);
        writer.WriteEndTag("computer", level + 1);
    }
    writer.WriteEndTag("computers", level);
}
