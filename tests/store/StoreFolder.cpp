#include "StoreFolder.h"

#include <sstream>

#include "store/DbfFile.h"
#include "store/FieldAccess.h"

std::string FontValues(const LOGFONTA& f)
{
    std::ostringstream out;
    out << f.lfHeight << ' ' << f.lfWidth << ' ' << f.lfEscapement << ' ' << f.lfOrientation << ' ' << f.lfWeight
        << ' ' << +f.lfItalic << ' ' << +f.lfUnderline << ' ' << +f.lfStrikeOut << ' ' << +f.lfCharSet << ' '
        << +f.lfOutPrecision << ' ' << +f.lfClipPrecision << ' ' << +f.lfQuality << ' ' << +f.lfPitchAndFamily << ' '
        << f.lfFaceName;
    return out.str();
}

std::string StoreFolder::Field(const char* table, DWORD record, const char* field)
{
    CDbfFile file;
    file.SetTable(table, true);
    file.Open("READ");
    file.GoTo(record);
    std::string text = ReadText(file, field, 255);
    return text.substr(std::min(text.size(), text.find_first_not_of(' ')));
}

void StoreFolder::SetField(const char* table, DWORD record, const char* field, const std::string& text)
{
    CDbfFile file;
    file.SetTable(table, true);
    file.Open("MAPPINGALL");
    file.SetStringValue(record, field, text.c_str());
}

void StoreFolder::SetNumber(const char* table, DWORD record, const char* field, long value)
{
    CDbfFile file;
    file.SetTable(table, true);
    file.Open("MAPPINGALL");
    file.SetLongValue(record, field, value);
}

void StoreFolder::CopyUpgradeFolder()
{
    lstrcpynA(GetStartupValues().programFolder, m_folder.Path().c_str(), sizeof GetStartupValues().programFolder);
    ASSERT_TRUE(CreateDirectoryA(File("UPGRADE").c_str(), nullptr));
    for (const char* name : {"config.QPD", "config.QPS", "users.QPD", "notes.QPD", "notes.QPS", "sentto.QPD",
                             "transact.QPD", "sounds.QPD", "webSearch.QPD"})
        ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\UPGRADE\\" + name).c_str(),
                              File(std::string("UPGRADE\\") + name).c_str(), FALSE))
            << name;
}
