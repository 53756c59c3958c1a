#include "store/OldNoteRecord.h"

#include <cstring>

#include "foundation/bytes/NoteColors.h"
#include "store/FieldAccess.h"

CNoteDataRecord::CNoteDataRecord() : text(&NoteAllocator(), kTextBlockBytes)
{
}

namespace {
// The title font every note of the older version had.
LOGFONTA OldTitleFont()
{
    LOGFONTA font = {};
    font.lfHeight = -13;
    font.lfWeight = 700;
    font.lfCharSet = 1;
    font.lfOutPrecision = 3;
    font.lfClipPrecision = 2;
    font.lfQuality = 1;
    font.lfPitchAndFamily = 12;
    std::strcpy(font.lfFaceName, "Times New Roman");
    return font;
}
}

void ReadOldNoteRecord(CDbfFile& notes, CNoteDataRecord& record)
{
    record.userId = static_cast<DWORD>(ReadNumber(notes, "WUSERID"));
    record.stayOnTop = ReadFlag(notes, "BSTAYONTOP");
    record.border = ReadFlag(notes, "BHASBORDER");
    record.minimized = ReadFlag(notes, "BMINIMIZED");
    record.showDate = ReadFlag(notes, "BSHOWDATE");
    record.left = ReadNumber(notes, "WLEFT");
    record.top = ReadNumber(notes, "WTOP");
    record.width = ReadNumber(notes, "WWIDTH");
    record.height = ReadNumber(notes, "WHEIGHT");
    record.bodyColor = ReadColour(notes, kNoteColourFields);
    record.textColor = ReadColour(notes, kTextColourFields);
    record.titleColor = ColorToStrongColor(record.bodyColor);
    record.titleTextColor = record.textColor;
    ReadTrimmedText(notes, "SZTITLE", record.title, sizeof record.title);
    record.created = CDateTime(static_cast<BYTE>(ReadNumber(notes, "BYDAY")),
                               static_cast<BYTE>(ReadNumber(notes, "BYMONTH")),
                               static_cast<WORD>(ReadNumber(notes, "WYEAR")),
                               static_cast<WORD>(ReadNumber(notes, "WHOUR")),
                               static_cast<WORD>(ReadNumber(notes, "WMINUTE")),
                               static_cast<WORD>(ReadNumber(notes, "WSECOND")));
    record.alarm = CDateTime(0, 0, 0, 0, 0, 0);
    record.sent = ReadFlag(notes, "BSENT");
    record.received = ReadFlag(notes, "BRECEIVED");
    record.sent1 = ReadFlag(notes, "BSENT1");
    record.received1 = ReadFlag(notes, "BRECEIVED1");
    record.bodyFont = ReadFontFields(notes, FontFieldSet::kBody);
    record.titleFont = OldTitleFont();
    DWORD block = static_cast<DWORD>(ReadNumber(notes, "TEXT"));
    char* text = record.text.GetAddress();
    if (!text)
        return;
    text[0] = '\0';
    if (block != 0)
        notes.ReadMemoField(text, record.text.GetSize(), block);
}
