#include "xmlfiles/XmlFileReading.h"

#include <vector>

#include "foundation/FileHelpers.h"
#include "foundation/bytes/MessageBoxes.h"
#include "xmlfiles/DamagedFiles.h"

namespace {
// An icon's Base64 text is the longest field these files hold.
const int kLongestField = 51200;
// One character more is read, so that a longer text is told from one that fits.
const int kReadSize = kLongestField + 2;
}

std::unique_ptr<CXMLDocument> ParseXmlSettingsFile(const char* path, const char* root, const char* standIn)
{
    if (!path || !FileExists(path))
        return nullptr;
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
                  std::string& value)
{
    std::vector<char> out(kReadSize, '\0');
    char err[512] = "";
    if (!document.GetValue(root, child, k, field, out.data(), static_cast<int>(out.size()), err, sizeof err)) {
        ShowWarningMessage(nullptr, err, ProgramTitle);
        return false;
    }
    value = out.data();
    const size_t first = value.find_first_not_of(' ');
    const size_t last = value.find_last_not_of(' ');
    value = first == std::string::npos ? std::string() : value.substr(first, last - first + 1);
    return true;
}
