#include "store/StyleStorage.h"

#include <windows.h>

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

// The record of the style's row in the open table, or 0.
DWORD FindStyleRow(CDbfFile& table, int styleIndex)
{
    if (styleIndex < 0 || table.GetRecordCount() < kFirstStyleRecord)
        return 0;
    int count = 0;
    table.GoTo(kFirstStyleRecord);
    if (table.IsDeleted(kFirstStyleRecord))
        table.Skip(1);
    for (; !table.IsEOF(); table.Skip(1)) {
        if (ReadText(table, "CONFIG", 2) != "TE")
            continue;
        if (count == styleIndex)
            return table.GetRecno();
        ++count;
    }
    return 0;
}

std::string StyleTextPath(const char* pattern, int styleIndex)
{
    char name[32];
    std::snprintf(name, sizeof name, pattern, styleIndex + 1);
    return DataFilePath(name);
}

// The whole file as a style text (cut to the longest text a style holds); false
// when the file cannot be read.
bool ReadStyleTextFile(const std::string& path, CNoteStyle& style)
{
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return false;
    CGenericFile file;
    if (!file.OpenReadOnly(path.c_str()))
        return false;
    DWORD size = file.GetSize();
    if (size > CNoteStyle::kMaxTextBytes - 1)
        size = CNoteStyle::kMaxTextBytes - 1;
    std::string bytes(size, '\0');
    DWORD read = size ? file.ReadFromFile(&bytes[0], size) : 0;
    style.SetTextBytes(bytes.data(), read);
    return true;
}

// The new text replaces the old one whole: a failure half way keeps the old.
void WriteStyleTextFile(const std::string& path, const CNoteStyle& style)
{
    if (!style.HasText()) {
        DeleteFileA(path.c_str());
        return;
    }
    CWorkingCopy file(path.c_str());
    file.File().WriteToFile(style.GetText(), style.GetTextSize() - 1);
    file.Commit();
}

bool GradientsAvailable()
{
    return GetGradientFillFunction() != nullptr;
}
}

int FindConfigRecord(int styleIndex, int create)
{
    {
        CSettingsTable table;
        table.Open("READ");
        DWORD record = FindStyleRow(table, styleIndex);
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
    if (styleIndex < 0 || styleIndex > 8)
        return;
    if (!FindConfigRecord(styleIndex, 0)) {
        ShowErrorMessage(nullptr, "The record storing the V6.0 style is missing ??", ProgramTitle);
        return;
    }
    CNoteStyle& style = UserSettings().styles[styleIndex];
    CSettingsTable table;
    table.Open("READ");
    if (!FindStyleRow(table, styleIndex)) {
        table.Close();
        ShowErrorMessage(nullptr, "Error when reading the V6.0 style. Record not found??", ProgramTitle);
        return;
    }
    style.backgroundColor = ReadColour(table, kNoteColourFields);
    style.titleBackgroundColor = ReadColour(table, kTitleColourFields);
    if (ReadNumber(table, "WLANGUAGE") == 0) {
        // Nothing has been saved into this slot: it keeps the look it has and
        // stays empty, so that writing the styles back leaves the row as it is.
        style.undefined = 1;
        table.Close();
        return;
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
    table.Close();
    ReadStyleTextFile(StyleTextPath(DataName::kUserStyleTextPattern, styleIndex), style);
}

void SaveV6Style(int styleIndex)
{
    if (styleIndex < 0 || styleIndex > 8)
        return;
    FindConfigRecord(styleIndex, 1);
    const CNoteStyle& style = UserSettings().styles[styleIndex];
    CSettingsTable table;
    table.Open("MAPPINGALL");
    DWORD row = FindStyleRow(table, styleIndex);
    if (!row) {
        table.Close();
        ShowErrorMessage(nullptr, "Error when saving the V6.0 style. Record not found??", ProgramTitle);
        return;
    }
    WriteColour(table, row, kNoteColourFields, style.backgroundColor);
    WriteColour(table, row, kTitleColourFields, style.titleBackgroundColor);
    if (style.undefined) {
        // The slot holds no style: it must not come back at the next start.
        WriteNumber(table, row, "WLANGUAGE", 0);
        table.Close();
        DeleteFileA(StyleTextPath(DataName::kUserStyleTextPattern, styleIndex).c_str());
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
    table.Close();
    WriteStyleTextFile(StyleTextPath(DataName::kUserStyleTextPattern, styleIndex), style);
}

int LoadStyleTextFile(int styleIndex)
{
    if (styleIndex < 0 || styleIndex > 8)
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
