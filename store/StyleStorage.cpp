#include "store/StyleStorage.h"

#include <windows.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/DataFolder.h"
#include "foundation/GenericFile.h"
#include "foundation/WorkingCopy.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/bytes/NumberCodes.h"
#include "foundation/win/BackgroundPainting.h"
#include "globals/ProgramGlobals.h"
#include "store/DbfFile.h"
#include "store/FieldAccess.h"

namespace {
// Style rows are looked for from this record on.
const DWORD kFirstStyleRecord = 8;

const int kStoredStyleCount = 9;
using StyleRows = std::array<DWORD, kStoredStyleCount>;

// The records of the style rows in the open table, in style order; 0 for a
// style whose row is missing.
StyleRows FindStyleRows(CDbfFile& table)
{
    StyleRows rows{};
    if (table.GetRecordCount() < kFirstStyleRecord)
        return rows;
    int count = 0;
    table.GoTo(kFirstStyleRecord);
    if (table.IsDeleted(kFirstStyleRecord))
        table.Skip(1);
    for (; !table.IsEOF() && count < kStoredStyleCount; table.Skip(1)) {
        if (ReadText(table, "CONFIG", 2) == "TE")
            rows[count++] = table.GetRecno();
    }
    return rows;
}

bool IsStoredStyleIndex(int styleIndex)
{
    return styleIndex >= 0 && styleIndex < kStoredStyleCount;
}

std::string StyleTextPath(const char* pattern, int styleIndex)
{
    char name[32];
    std::snprintf(name, sizeof name, pattern, styleIndex + 1);
    return DataFilePath(name);
}

// At most limit bytes of the file from its start; false when there is no such
// file or it cannot be opened (a failed read throws CGenericException).
bool ReadFileStart(const std::string& path, DWORD limit, std::string& bytes)
{
    CGenericFile file;
    if (!file.TryOpenReadOnly(path.c_str()))
        return false;
    const DWORD size = file.GetSize() < limit ? file.GetSize() : limit;
    bytes.assign(size, '\0');
    bytes.resize(size ? file.ReadFromFile(&bytes[0], size) : 0);
    return true;
}

// The whole file as a style text (cut to the longest text a style holds); false
// when the file cannot be read.
bool ReadStyleTextFile(const std::string& path, CNoteStyle& style)
{
    std::string bytes;
    if (!ReadFileStart(path, CNoteStyle::kMaxTextBytes - 1, bytes))
        return false;
    style.SetTextBytes(bytes.data(), static_cast<DWORD>(bytes.size()));
    return true;
}

// Whether the file holds exactly these bytes (a longer file is read one byte
// past them, enough to tell).
bool StyleFileHolds(const std::string& path, const char* bytes, DWORD size)
{
    std::string held;
    try {
        return ReadFileStart(path, size + 1, held) && held.size() == size && std::memcmp(held.data(), bytes, size) == 0;
    } catch (const CGenericException&) {
        return false;  // unreadable: it is written afresh
    }
}

// The new text replaces the old one whole: a failure half way keeps the old.
// A file that already holds the text is left as it is (every start writes
// the styles back as they were read).
void WriteStyleTextFile(const std::string& path, const CNoteStyle& style)
{
    if (!style.HasText()) {
        DeleteFileA(path.c_str());
        return;
    }
    if (StyleFileHolds(path, style.GetText(), style.GetTextSize() - 1))
        return;
    CWorkingCopy file(path.c_str());
    file.File().WriteToFile(style.GetText(), style.GetTextSize() - 1);
    file.Commit();
}

bool GradientsAvailable()
{
    return GetGradientFillFunction() != nullptr;
}

// The style from its row of the open table; false when the row holds no
// style (only its colours are taken).
bool ReadStyleRow(CDbfFile& table, DWORD row, CNoteStyle& style)
{
    table.GoTo(row);
    style.backgroundColor = ReadColour(table, kNoteColourFields);
    style.titleBackgroundColor = ReadColour(table, kTitleColourFields);
    if (ReadNumber(table, "WLANGUAGE") == 0) {
        // Nothing has been saved into this slot: it keeps the look it has and
        // stays empty, so that writing the styles back leaves the row as it is.
        style.undefined = 1;
        return false;
    }
    style.undefined = 0;
    style.hasBorder = ReadFlag(table, "BHASBORDER");
    style.stayOnTop = ReadFlag(table, "BSTAYONTOP");
    style.showDate = ReadFlag(table, "BSHOWDATE");
    style.rollUp = ReadFlag(table, "BROLLUP");
    long packed = ReadNumber(table, "WSAVEINT");
    if (packed >= 111) {
        style.horizontalLines = (packed % 10) >= 1 ? (packed % 10) - 1 : 0;
        style.leftMarginKind = (packed / 10) % 10 >= 1 ? (packed / 10) % 10 - 1 : 0;
        style.backgroundKind = static_cast<DWORD>(packed / 100 - 1);
    } else {
        style.horizontalLines = 0;
        style.leftMarginKind = 0;
        style.backgroundKind = 0;
    }
    if (style.leftMarginKind > 4)
        style.leftMarginKind = 0;
    if (style.backgroundKind > 5 || (!GradientsAvailable() && style.backgroundKind >= 1 && style.backgroundKind <= 3))
        style.backgroundKind = 0;
    style.plainText = ReadFlag(table, "BNEWCTRL");
    style.textureId = static_cast<WORD>(ReadNumber(table, "WINITDIV"));
    style.textureStretch = static_cast<BYTE>(ReadNumber(table, "LINES"));
    long transparency = ReadNumber(table, "COLUMNS");
    style.transparency = static_cast<BYTE>(transparency < 0 || transparency > 90 ? 0 : transparency);
    style.isProtected = ReadFlag(table, "BNEWALT");
    style.SetName(ReadText(table, "SZTITLE", CNoteStyle::kNameSize - 1).c_str());
    style.bodyFont = ReadFontFields(table, FontFieldSet::kBody);
    style.titleFont = ReadFontFields(table, FontFieldSet::kTitle);
    style.textColor = ReadColour(table, kTextColourFields);
    style.titleTextColor = ReadColour(table, kTitleTextColourFields);
    style.noteWidth = static_cast<WORD>(ReadNumber(table, "WNOWIDTH"));
    style.noteHeight = static_cast<WORD>(ReadNumber(table, "WNOHEIGHT"));
    return true;
}

// The style into its row of the table open for writing; an undefined style
// writes only its background colours and marks the row as holding no style.
void WriteStyleRow(CDbfFile& table, DWORD row, const CNoteStyle& style)
{
    WriteColour(table, row, kNoteColourFields, style.backgroundColor);
    WriteColour(table, row, kTitleColourFields, style.titleBackgroundColor);
    if (style.undefined) {
        // The slot holds no style: it must not come back at the next start.
        WriteNumber(table, row, "WLANGUAGE", 0);
        return;
    }
    WriteNumber(table, row, "WLANGUAGE", 1);
    WriteLogical(table, row, "BHASBORDER", style.hasBorder != 0);
    WriteLogical(table, row, "BSTAYONTOP", style.stayOnTop != 0);
    WriteLogical(table, row, "BSHOWDATE", style.showDate != 0);
    WriteLogical(table, row, "BROLLUP", style.rollUp != 0);
    WriteNumber(table, row, "WSAVEINT",
                static_cast<long>((style.horizontalLines + 1) + 10 * (style.leftMarginKind + 1) +
                                  100 * (style.backgroundKind + 1)));
    WriteLogical(table, row, "BNEWCTRL", style.plainText != 0);
    WriteLogical(table, row, "BNEWALT", style.isProtected != 0);
    WriteNumber(table, row, "WINITDIV", style.textureId);
    WriteNumber(table, row, "LINES", style.textureStretch);
    WriteNumber(table, row, "COLUMNS", style.transparency);
    WriteText(table, row, "SZTITLE", style.name);
    WriteFontFields(table, row, FontFieldSet::kBody, style.bodyFont);
    WriteFontFields(table, row, FontFieldSet::kTitle, style.titleFont);
    WriteColour(table, row, kTextColourFields, style.textColor);
    WriteColour(table, row, kTitleTextColourFields, style.titleTextColor);
    WriteNumber(table, row, "WNOWIDTH", style.noteWidth);
    WriteNumber(table, row, "WNOHEIGHT", style.noteHeight);
}

// The style's text file follows its row: gone for an undefined style.
void WriteStyleText(int styleIndex, const CNoteStyle& style)
{
    const std::string path = StyleTextPath(DataName::kUserStyleTextPattern, styleIndex);
    if (style.undefined)
        DeleteFileA(path.c_str());
    else
        WriteStyleTextFile(path, style);
}

void ReportMissingStyleRow()
{
    ShowErrorMessage(nullptr, "The record storing the V6.0 style is missing ??", ProgramTitle);
}

void ReportStyleRowNotSaved()
{
    ShowErrorMessage(nullptr, "Error when saving the V6.0 style. Record not found??", ProgramTitle);
}

// Makes the missing rows of the styles first..end-1, one after the other
// from the first missing (no row is made for a style before first).
void MakeMissingStyleRows(int first, int end)
{
    int existing = 0;
    {
        CSettingsTable table;
        table.Open("READ");
        for (DWORD row : FindStyleRows(table))
            existing += row ? 1 : 0;
        table.Close();
    }
    for (int index = existing > first ? existing : first; index < end; ++index)
        FindConfigRecord(index, 1);
}

// The styles first..end-1 from one opening of the table, then their text files.
void LoadStyles(int first, int end)
{
    CNoteStyle (&styles)[kStoredStyleCount] = UserSettings().styles;
    bool defined[kStoredStyleCount] = {};
    StyleRows rows;
    {
        CSettingsTable table;
        table.Open("READ");
        rows = FindStyleRows(table);
        for (int index = first; index < end; ++index)
            defined[index] = rows[index] && ReadStyleRow(table, rows[index], styles[index]);
        table.Close();
    }
    for (int index = first; index < end; ++index) {
        if (!rows[index])
            ReportMissingStyleRow();
        else if (defined[index])
            ReadStyleTextFile(StyleTextPath(DataName::kUserStyleTextPattern, index), styles[index]);
    }
}

// The styles first..end-1 into their rows (made when missing) with one opening
// of the table, then into their text files.
void SaveStyles(int first, int end)
{
    MakeMissingStyleRows(first, end);
    const CNoteStyle (&styles)[kStoredStyleCount] = UserSettings().styles;
    StyleRows rows;
    {
        CSettingsTable table;
        table.Open("MAPPINGALL");
        rows = FindStyleRows(table);
        for (int index = first; index < end; ++index) {
            if (rows[index])
                WriteStyleRow(table, rows[index], styles[index]);
        }
        table.Close();
    }
    for (int index = first; index < end; ++index) {
        if (rows[index])
            WriteStyleText(index, styles[index]);
        else
            ReportStyleRowNotSaved();
    }
}
}

int FindConfigRecord(int styleIndex, int create)
{
    {
        CSettingsTable table;
        table.Open("READ");
        DWORD record = IsStoredStyleIndex(styleIndex) ? FindStyleRows(table)[styleIndex] : 0;
        table.Close();
        if (record)
            return 1;
    }
    if (create) {
        CSettingsTable table;
        table.Open("MAPPINGAPPEND");
        WriteText(table, table.GetRecno(), "CONFIG", "TE");
        table.Close();
    }
    return 0;
}

void LoadV6Style(int styleIndex)
{
    if (IsStoredStyleIndex(styleIndex))
        LoadStyles(styleIndex, styleIndex + 1);
}

void LoadV6Styles()
{
    LoadStyles(0, kStoredStyleCount);
}

void SaveV6Style(int styleIndex)
{
    if (IsStoredStyleIndex(styleIndex))
        SaveStyles(styleIndex, styleIndex + 1);
}

void SaveV6Styles()
{
    SaveStyles(0, kStoredStyleCount);
}

int LoadStyleTextFile(int styleIndex)
{
    if (!IsStoredStyleIndex(styleIndex))
        return 0;
    return ReadStyleTextFile(StyleTextPath(DataName::kStandardStyleTextPattern, styleIndex),
                             ConfigSettings().styles[styleIndex])
               ? 1
               : 0;
}

int FindTextureByNameHash(char* fileName, size_t size, unsigned short textureId)
{
    for (const char* pattern : {"*.BMP", "*.JPG", "*.GIF"}) {
        std::string search = DataFilePath(DataName::kTexturesFolder) + "\\" + pattern;
        WIN32_FIND_DATAA found;
        HANDLE handle = FindFirstFileA(search.c_str(), &found);
        if (handle == INVALID_HANDLE_VALUE)
            continue;
        bool matched = false;
        do {
            const char* name = found.cFileName;
            if (ElfHash(name, std::strlen(name)) % 10000 == textureId) {
                std::snprintf(fileName, size, "%s", name);
                matched = true;
            }
        } while (!matched && FindNextFileA(handle, &found));
        FindClose(handle);
        if (matched)
            return 1;
    }
    return 0;
}
