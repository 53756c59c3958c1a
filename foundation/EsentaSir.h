#pragma once

#include <windows.h>

#include <wincrypt.h>

// A short-lived cipher object: hashes what the caller gives (a password, with
// an optional second piece), derives an RC4 key from the hash and enciphers or
// deciphers whole files or buffers with it. RC4 is a stream cipher, so output
// and input have the same length; each call starts the key stream afresh.
class CEsentaSir {
public:
    // With a provider the object borrows it; with 0 it acquires its own context
    // on the Enhanced provider (a box tells when that fails).
    CEsentaSir(ALG_ID hashAlgorithm, HCRYPTPROV provider);
    ~CEsentaSir();
    CEsentaSir(const CEsentaSir&) = delete;
    CEsentaSir& operator=(const CEsentaSir&) = delete;

    enum { kHashValueBytes = 16 };

    // Replaces the hash by one of the data and then of the second piece when it
    // is given; copies the first 16 bytes of the value out when asked.
    bool Hash(BYTE* value, const void* data, DWORD length, const void* second = nullptr, DWORD secondLength = 0);
    // Replaces the key by an RC4 key of the provider's default length.
    bool DeriveKey();

    // Whole files; the destination (which may be the source) is replaced only
    // once the new bytes are whole on disk. False without a key or when the
    // cipher or a file step fails (file failures are shown in a box); the
    // destination is then as it was.
    bool EncodeFile(const char* destinationPath, const char* sourcePath);
    bool DecodeFile(const char* destinationPath, const char* sourcePath);

    // Deciphers the data into the out buffer (zero-filled first) and/or the
    // destination file, either of which may be null. With no data the
    // destination becomes an empty file. False when the buffer is smaller than
    // the data or the cipher fails.
    bool DecodeBuffer(BYTE* out, DWORD outSize, const BYTE* data, DWORD length, const char* destinationPath);

    HCRYPTPROV GetProvider() const { return m_provider; }

private:
    bool CipherFile(const char* destinationPath, const char* sourcePath, bool encipher);
    bool Cipher(BYTE* bytes, DWORD length, bool encipher);

    HCRYPTPROV m_provider = 0;
    ALG_ID m_hashAlgorithm;
    HCRYPTHASH m_hash = 0;
    HCRYPTKEY m_key = 0;
    bool m_external = false;
};
