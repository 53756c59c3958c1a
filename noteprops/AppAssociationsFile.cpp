#include "noteprops/AppAssociationsFile.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/WorkingCopy.h"
#include "foundation/bytes/Base64Codec.h"
#include "foundation/win/ImageFiles.h"
#include "xmlfiles/DamagedFiles.h"
#include "xmlfiles/XmlFileReading.h"
#include "xmlfiles/bytes/XmlLines.h"

namespace {
const char kAssociationsFileHeader[] = "<?xml version='1.0' encoding='Windows-1252' standalone='yes'?>";
const char kAssociationsRoot[] = "associateNoteAndApplications";
const char kElement[] = "association";
// The longest icon text either side keeps.
const size_t kIconTextLimit = 51200;

// A file of the temporary folder with a fresh name, deleted when it goes.
class TemporaryIconFile {
public:
    TemporaryIconFile()
    {
        char folder[MAX_PATH] = "";
        GetTempPathA(sizeof folder, folder);
        char name[16] = "";
        MakeUniqueName(name, sizeof name);
        m_path = std::string(folder) + name + ".ico";
    }
    ~TemporaryIconFile() { DeleteFileA(m_path.c_str()); }
    TemporaryIconFile(const TemporaryIconFile&) = delete;
    TemporaryIconFile& operator=(const TemporaryIconFile&) = delete;
    const char* Path() const { return m_path.c_str(); }

private:
    std::string m_path;
};

std::vector<unsigned char> ReadFileBytes(const char* path)
{
    std::vector<unsigned char> bytes;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    const DWORD size = GetFileSize(file, nullptr);
    DWORD read = 0;
    if (size != INVALID_FILE_SIZE && size <= kIconTextLimit) {
        bytes.resize(size);
        if (!ReadFile(file, bytes.data(), size, &read, nullptr) || read != size)
            bytes.clear();
    }
    CloseHandle(file);
    return bytes;
}

bool WriteFileBytes(const char* path, const std::vector<unsigned char>& bytes)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool whole = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                       written == bytes.size();
    CloseHandle(file);
    return whole;
}

}

std::string IconText(HIMAGELIST icons, int index)
{
    if (!icons || index < 0 || index >= ImageList_GetImageCount(icons))
        return std::string();
    HICON icon = ImageList_GetIcon(icons, index, ILD_TRANSPARENT);
    if (!icon)
        return std::string();
    TemporaryIconFile file;
    const bool saved = SaveIconToFile(icon, file.Path(), true);
    DestroyIcon(icon);
    const std::vector<unsigned char> bytes = saved ? ReadFileBytes(file.Path()) : std::vector<unsigned char>();
    if (bytes.empty())
        return std::string();
    std::string text(CBase64Codec::EncodedLength(bytes.size()) + 1, '\0');
    size_t length = 0;
    if (!CBase64Codec().EncodeString(bytes.data(), bytes.size(), &text[0], text.size(), &length) ||
        length > kIconTextLimit)
        return std::string();
    text.resize(length);
    return text;
}

int AddIconFromText(HIMAGELIST icons, const std::string& text)
{
    if (!icons || text.empty() || text.size() > kIconTextLimit)
        return -1;
    std::vector<unsigned char> bytes(CBase64Codec::DecodedLengthBound(text.size()) + 1);
    size_t length = 0;
    if (!CBase64Codec().DecodeString(text.data(), text.size(), bytes.data(), bytes.size(), &length))
        return -1;
    bytes.resize(length);
    TemporaryIconFile file;
    if (!WriteFileBytes(file.Path(), bytes))
        return -1;
    HICON icon = static_cast<HICON>(LoadImageA(nullptr, file.Path(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE));
    if (!icon)
        return -1;
    const int index = ImageList_AddIcon(icons, icon);
    DestroyIcon(icon);
    return index;
}

HIMAGELIST AppIconImageList()
{
    static HIMAGELIST icons = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 20, 1);
    return icons;
}

std::string AppAssociationsXmlText(const CRecordList<CAppAssociation>& list, HIMAGELIST icons)
{
    std::string out = kAssociationsFileHeader;
    out.append(kXmlLineEnd);
    AppendXmlStartTag(out, kAssociationsRoot, 0);
    for (auto* node = list.GetFirst(); node; node = node->next) {
        const CAppAssociation& association = node->record;
        AppendXmlStartTag(out, kElement, 1);
        AppendXmlCDataElement(out, "application", association.application, 2);
        AppendXmlElement(out, "noteID", std::to_string(static_cast<LONG>(association.noteId)).c_str(), 2);
        AppendXmlElement(out, "icon", IconText(icons, association.iconIndex).c_str(), 2);
        AppendXmlEndTag(out, kElement, 1);
    }
    AppendXmlEndTag(out, kAssociationsRoot, 0);
    return out;
}

void SaveAppAssociations(const char* path, const CRecordList<CAppAssociation>& list, HIMAGELIST icons)
{
    RefuseToOverwriteDamagedFile(path);
    const std::string text = AppAssociationsXmlText(list, icons);
    CWorkingCopy file(path);
    file.File().WriteToFile(text.data(), static_cast<DWORD>(text.size()));
    file.Commit();
}

int LoadAppAssociations(const char* path, CRecordList<CAppAssociation>& list, HIMAGELIST icons)
{
    const bool exists = path && FileExists(path);
    // Parsed first: a file another program holds throws with the list as it was.
    std::unique_ptr<CXMLDocument> document =
        exists ? ParseXmlSettingsFile(path, kAssociationsRoot, "no associations of notes with programs") : nullptr;
    list.RemoveAll();
    if (icons)
        ImageList_RemoveAll(icons);
    if (!exists)
        return 0;
    if (!document)
        return 1;
    CSkippedEntries skipped(path);
    const int n = CountXmlElements(*document, kAssociationsRoot, kElement);
    for (int k = 1; k <= n; ++k) {
        std::string noteId;
        std::string application;
        std::string icon;
        if (!ReadXmlEntry(*document, kAssociationsRoot, kElement, k,
                          {{"noteId", &noteId}, {"application", &application}}, skipped))
            continue;
        // The icon only pictures the program: the association stands without it.
        std::string problem;
        if (!ReadXmlField(*document, kAssociationsRoot, kElement, k, "icon", icon, problem))
            skipped.Skip("the icon of " +
                             DescribeXmlEntry(*document, kAssociationsRoot, kElement, k, {"noteId", "application"}),
                         problem);
        CAppAssociation association;
        association.id = static_cast<DWORD>(list.NextFreeId());
        association.noteId = static_cast<DWORD>(std::atoi(noteId.c_str()));
        ToggleCdataEscape(&application[0], 0);
        std::snprintf(association.application, sizeof association.application, "%s", application.c_str());
        association.iconIndex = AddIconFromText(icons, icon);
        list.AddAssociationToHead(association);
    }
    skipped.Report();
    return 1;
}

void SaveAppAssociations()
{
    SaveAppAssociations(DataFilePath(DataName::kApplicationAssociations).c_str(), AppAssociationsList(),
                        AppIconImageList());
}

int LoadAppAssociations()
{
    return LoadAppAssociations(DataFilePath(DataName::kApplicationAssociations).c_str(), AppAssociationsList(),
                               AppIconImageList());
}

int RemoveNoteAssociations(CRecordList<CAppAssociation>& list, DWORD noteId)
{
    int removed = 0;
    for (auto* node = list.GetFirst(); node;) {
        auto* next = node->next;
        if (node->record.noteId == noteId) {
            list.Remove(node);
            ++removed;
        }
        node = next;
    }
    return removed;
}

int GetNoteAppAssociations(DWORD noteId, CRecordList<CAppAssociation>& list)
{
    int count = 0;
    for (auto* node = AppAssociationsList().GetFirst(); node; node = node->next) {
        if (node->record.noteId == noteId) {
            list.AddToTail(node->record);
            ++count;
        }
    }
    return count;
}
