#include "foundation/CryptProvider.h"

#include <cstdio>

#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/MessageBoxes.h"

namespace {
CryptProviderNames g_names = {MS_ENHANCED_PROV_A, MS_DEF_PROV_A};
}

CryptProviderNames SetCryptProviderNames(const CryptProviderNames& names)
{
    CryptProviderNames previous = g_names;
    g_names = names;
    return previous;
}

const CryptProviderNames& GetCryptProviderNames()
{
    return g_names;
}

HCRYPTPROV AcquireCryptContext(const char* providerName)
{
    HCRYPTPROV provider = 0;
    if (!CryptAcquireContextA(&provider, nullptr, providerName, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT))
        return 0;
    return provider;
}

void ShowCryptFailure(DWORD code, const char* what)
{
    char description[400];
    FormatLastErrorText(code, description, sizeof description);
    char text[700];
    std::snprintf(text, sizeof text, "%08lX %s%s", static_cast<unsigned long>(code), what, description);
    ShowErrorMessage(ForegroundOwner(), text, ProgramTitle);
}

CCryptProvider::CCryptProvider()
{
    m_provider = AcquireCryptContext(g_names.enhanced);
    if (m_provider)
        return;
    m_provider = AcquireCryptContext(g_names.base);
    if (m_provider)
        return;
    ShowCryptFailure(GetLastError(),
                     "\r\nLoading the MS ENHANCED CRYPTOGRAPHIC PROVIDER has failed.\r\n"
                     "Loading the MS BASE CRYPTOGRAPHIC PROVIDER has also failed ??\r\n\r\n");
}

CCryptProvider::~CCryptProvider()
{
    if (m_provider)
        CryptReleaseContext(m_provider, 0);
}
