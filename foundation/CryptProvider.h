#pragma once

#include <windows.h>

#include <wincrypt.h>

// The program's one CryptoAPI context for hashing and RC4, acquired for the whole
// run without a key container: the Enhanced provider, or the Base provider where
// the Enhanced one is missing. When neither can be had, a box says so and the
// handle stays 0; every cipher object over it then answers false.
class CCryptProvider {
public:
    CCryptProvider();
    ~CCryptProvider();
    CCryptProvider(const CCryptProvider&) = delete;
    CCryptProvider& operator=(const CCryptProvider&) = delete;

    HCRYPTPROV GetHandle() const { return m_provider; }

private:
    HCRYPTPROV m_provider = 0;
};

// The names of the two providers asked for. Tests name a provider that does not
// exist to see the program on a system without it; returns the names replaced.
struct CryptProviderNames {
    const char* enhanced;
    const char* base;
};
CryptProviderNames SetCryptProviderNames(const CryptProviderNames& names);
const CryptProviderNames& GetCryptProviderNames();

// A context of the named provider for hashing and ciphering only; 0 on failure,
// the system's error code left as the last error.
HCRYPTPROV AcquireCryptContext(const char* providerName);

// The box of a CryptoAPI failure: the code in hexadecimal, a blank, what failed
// and the system's description of the code.
void ShowCryptFailure(DWORD code, const char* what);
