#include "note/TextToolConfig.h"

#include <windows.h>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/GenericException.h"
#include "note/bytes/PairTables.h"
#include "xmlfiles/XmlDocument.h"

namespace {
void LoadPairs(const char* section, const char* entryTag, PairTable& table)
{
    const char* name = DataName::kWebSearchSites;
    if (GetFileAttributesA(name) == INVALID_FILE_ATTRIBUTES)
        return;
    try {
        CXMLDocument document(name);
        if (!document.Parse()) {
            WriteErrorLog("LoadWebSearchConfig():", document.GetErrorText());
            return;
        }
        ReadPairTable(document, section, entryTag, table);
    } catch (const CGenericException& failure) {
        WriteErrorLog("LoadWebSearchConfig():", failure.GetErrorText());
    }
}
}

void LoadWebSearchConfig()
{
    LoadPairs("currencyConversion", "currencyPairArgument", CurrencyPairs());
}

void LoadTextTranslationConfig()
{
    LoadPairs("textTranslation", "languagePairArgument", LanguagePairs());
}
