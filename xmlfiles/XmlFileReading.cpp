#include "xmlfiles/XmlFileReading.h"

#include <vector>

#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/WorkingCopy.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"
#include "store/DataFileChecks.h"
#include "xmlfiles/DamagedFiles.h"
#include "xmlfiles/bytes/XmlLines.h"

namespace {
// An icon's Base64 text is the longest field these files hold.
const int kLongestField = 51200;
// One character more is read, so that a longer text is told from one that fits.
const int kReadSize = kLongestField + 2;
// A field named in error.txt is cut to this many characters.
const size_t kNamedFieldLength = 60;

// Whether another program holds the file so that it cannot be opened with
// that access, sharing what the program's own open shares.
bool XmlFileHeld(const char* path, DWORD access)
{
    return FileStaysHeld(path, access, FILE_SHARE_READ);
}
}

std::unique_ptr<CXMLDocument> ParseXmlSettingsFile(const char* path, const char* root, const char* standIn)
{
    if (!path || !FileExists(path))
        return nullptr;
    if (XmlFileHeld(path, GENERIC_READ))
        throw CGenericException(HeldDataFileText(path).c_str(), path);
    auto document = std::make_unique<CXMLDocument>(path);
    const int parsed = document->HasBuffer() ? document->Parse() : 0;
    document->CloseFile();
    std::string problem = document->GetErrorText();
    if (parsed) {
        // A file of another root is none of this file's settings either.
        char err[512] = "";
        if (document->CountElements(root, root, err, sizeof err) >= 0)
            return document;
        problem = err;
    }
    ReportDamagedFile(path, problem, standIn);
    return nullptr;
}

int CountXmlElements(CXMLDocument& document, const char* root, const char* child)
{
    char err[512] = "";
    const int count = document.CountElements(root, child, err, sizeof err);
    if (count < 0) {
        ShowMessageBox(ForegroundOwner(), err, ProgramTitle, kMbOk | kMbIconHand);
        return 0;
    }
    return count;
}

bool ReadXmlField(CXMLDocument& document, const char* root, const char* child, int k, const char* field,
                  std::string& value, std::string& problem)
{
    std::vector<char> out(kReadSize, '\0');
    char err[512] = "";
    if (!document.GetValue(root, child, k, field, out.data(), static_cast<int>(out.size()), err, sizeof err)) {
        problem = err;
        return false;
    }
    value = out.data();
    const size_t first = value.find_first_not_of(' ');
    const size_t last = value.find_last_not_of(' ');
    value = first == std::string::npos ? std::string() : value.substr(first, last - first + 1);
    return true;
}

std::string DescribeXmlEntry(CXMLDocument& document, const char* root, const char* child, int k,
                             const std::vector<const char*>& fields)
{
    std::string text = std::string(child) + " " + std::to_string(k);
    std::string named;
    for (const char* field : fields) {
        std::string value;
        std::string problem;
        if (!ReadXmlField(document, root, child, k, field, value, problem))
            continue;
        ToggleCdataEscape(&value[0], 0);
        named += (named.empty() ? "" : ", ") + std::string(field) + " \"" + value.substr(0, kNamedFieldLength) + "\"";
    }
    return named.empty() ? text : text + " (" + named + ")";
}

bool ReadXmlEntry(CXMLDocument& document, const char* root, const char* child, int k,
                  std::initializer_list<XmlEntryField> fields, CSkippedEntries& skipped)
{
    for (const XmlEntryField& field : fields) {
        std::string problem;
        if (ReadXmlField(document, root, child, k, field.name, *field.value, problem))
            continue;
        std::vector<const char*> names;
        for (const XmlEntryField& each : fields)
            names.push_back(each.name);
        skipped.Skip(DescribeXmlEntry(document, root, child, k, names), problem);
        return false;
    }
    return true;
}
