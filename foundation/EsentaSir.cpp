#include "foundation/EsentaSir.h"

#include <cstring>

#include "foundation/CryptProvider.h"
#include "foundation/GenericFile.h"
#include "foundation/MemArray.h"
#include "foundation/WorkingCopy.h"
#include "foundation/bytes/BoxedFailures.h"
#include "foundation/bytes/TextChecks.h"

namespace {
// The new bytes are written aside and take the file's place only when whole, so
// a full disk or a held file never costs the only copy.
void ReplaceFileContents(const char* path, const BYTE* bytes, DWORD count)
{
    CWorkingCopy copy(path);
    copy.File().WriteToFile(bytes, count);
    copy.Commit();
}
}

CEsentaSir::CEsentaSir(ALG_ID hashAlgorithm, HCRYPTPROV provider) : m_hashAlgorithm(hashAlgorithm)
{
    if (provider) {
        m_provider = provider;
        m_external = true;
        return;
    }
    m_provider = AcquireCryptContext(GetCryptProviderNames().enhanced);
    if (m_provider)
        return;
    ShowCryptFailure(GetLastError(), "\r\nCEsentaSir constructor failed\r\n");
}

CEsentaSir::~CEsentaSir()
{
    if (m_key)
        CryptDestroyKey(m_key);
    if (m_hash)
        CryptDestroyHash(m_hash);
    if (m_provider && !m_external)
        CryptReleaseContext(m_provider, 0);
}

bool CEsentaSir::Hash(BYTE* value, const void* data, DWORD length, const void* second, DWORD secondLength)
{
    if (m_hash) {
        CryptDestroyHash(m_hash);
        m_hash = 0;
    }
    if (!m_provider || !CryptCreateHash(m_provider, m_hashAlgorithm, 0, 0, &m_hash))
        return false;
    // A hash of part of the data must not key a cipher.
    if (!CryptHashData(m_hash, static_cast<const BYTE*>(data), length, 0) ||
        (second && secondLength && !CryptHashData(m_hash, static_cast<const BYTE*>(second), secondLength, 0))) {
        CryptDestroyHash(m_hash);
        m_hash = 0;
        return false;
    }
    if (!value)
        return true;
    BYTE hashValue[64];
    DWORD size = sizeof hashValue;
    if (!CryptGetHashParam(m_hash, HP_HASHVAL, hashValue, &size, 0) || size < kHashValueBytes)
        return false;
    std::memcpy(value, hashValue, kHashValueBytes);
    return true;
}

bool CEsentaSir::DeriveKey()
{
    if (m_key) {
        CryptDestroyKey(m_key);
        m_key = 0;
    }
    return m_provider && m_hash && CryptDeriveKey(m_provider, CALG_RC4, m_hash, CRYPT_EXPORTABLE, &m_key);
}

// One final call: the key stream starts afresh for every buffer, and the length
// must come back unchanged.
bool CEsentaSir::Cipher(BYTE* bytes, DWORD length, bool encipher)
{
    DWORD done = length;
    BOOL ok = encipher ? CryptEncrypt(m_key, 0, TRUE, 0, bytes, &done, length)
                       : CryptDecrypt(m_key, 0, TRUE, 0, bytes, &done);
    return ok && done == length;
}

bool CEsentaSir::EncodeFile(const char* destinationPath, const char* sourcePath)
{
    return RunShowingFailures(nullptr, "Unknown exception in CEsentaSir::EncodeFile",
                              [&] { return CipherFile(destinationPath, sourcePath, true); });
}

bool CEsentaSir::DecodeFile(const char* destinationPath, const char* sourcePath)
{
    return RunShowingFailures(nullptr, "Unknown exception in CEsentaSir::DecodeFile",
                              [&] { return CipherFile(destinationPath, sourcePath, false); });
}

bool CEsentaSir::CipherFile(const char* destinationPath, const char* sourcePath, bool encipher)
{
    if (!m_key)
        return false;
    CGenericFile source;
    source.OpenReadOnly(sourcePath);
    DWORD n = source.GetSize();
    if (n == 0) {
        // An empty source gives an empty destination; an existing one is kept.
        CGenericFile destination;
        destination.OpenSharedCreating(destinationPath);
        return true;
    }
    if (!source.CreateMappingReadOnly())
        return false;
    if (encipher) {
        DWORD needed = n;
        if (!CryptEncrypt(m_key, 0, TRUE, 0, nullptr, &needed, n) || needed != n)
            return false;
    }
    CMemArray<BYTE> bytes(n);
    std::memcpy(bytes.GetPointerToData(), source.GetView(), n);
    // The source is closed before the destination is written, so a file can be
    // enciphered in place.
    source.Close();
    if (!Cipher(bytes.GetPointerToData(), n, encipher))
        return false;
    if (!IsBlankText(destinationPath))
        ReplaceFileContents(destinationPath, bytes.GetPointerToData(), n);
    return true;
}

bool CEsentaSir::DecodeBuffer(BYTE* out, DWORD outSize, const BYTE* data, DWORD length, const char* destinationPath)
{
    if (out)
        std::memset(out, 0, outSize);
    return RunShowingFailures(nullptr, "Unknown exception in CEsentaSir::DecodeBuffer", [&] {
        if (!data || !length) {
            if (destinationPath)
                ReplaceFileContents(destinationPath, nullptr, 0);
            return true;
        }
        if ((out && outSize < length) || !m_key)
            return false;
        CMemArray<BYTE> bytes(length);
        std::memcpy(bytes.GetPointerToData(), data, length);
        if (!Cipher(bytes.GetPointerToData(), length, false))
            return false;
        if (destinationPath)
            ReplaceFileContents(destinationPath, bytes.GetPointerToData(), length);
        if (out)
            std::memcpy(out, bytes.GetPointerToData(), length);
        return true;
    });
}
