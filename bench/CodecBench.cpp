// Throughput of the codecs that carry attachments and protected notes: Base64
// of whole files in 3,000-byte pieces, line-broken Base64 of a packed note, and
// RC4 of a whole file.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "foundation/CryptProvider.h"
#include "foundation/EsentaSir.h"
#include "foundation/bytes/Base64Codec.h"
#include "foundation/bytes/Base64Lines.h"

namespace {
const size_t kFileBytes = 8 * 1024 * 1024;

template <class Body>
void Report(const char* what, size_t bytes, Body&& body)
{
    LARGE_INTEGER start = BenchNow();
    bool ok = body();
    double seconds = SecondsBetween(start, BenchNow());
    std::printf("%-44s %8.1f MB/s (%s)\n", what, static_cast<double>(bytes) / (1024.0 * 1024.0) / seconds,
                ok ? "ok" : "FAILED");
}

void WriteFile(const char* path, const std::vector<unsigned char>& bytes)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}
}

int main()
{
    std::vector<unsigned char> contents(kFileBytes);
    for (size_t i = 0; i < contents.size(); ++i)
        contents[i] = static_cast<unsigned char>(i * 2654435761u >> 13);
    WriteFile("bench-codec.bin", contents);

    CBase64Codec codec;
    Report("Base64 file encode (8 MB, 3,000-byte pieces)", kFileBytes,
           [&] { return codec.EncodeFileToBase64("bench-codec.b64", "bench-codec.bin"); });
    Report("Base64 file decode", kFileBytes,
           [&] { return codec.DecodeFileFromBase64("bench-codec.out", "bench-codec.b64"); });

    std::vector<char> text(Base64EncodedLength(kFileBytes, 0));
    size_t length = text.size();
    Report("Base64 lines of 76, in memory", kFileBytes,
           [&] { return Base64Encode(contents.data(), contents.size(), text.data(), &length, 0); });
    std::vector<unsigned char> decoded(kFileBytes);
    size_t decodedLength = decoded.size();
    Report("Base64 tolerant decode, in memory", kFileBytes,
           [&] { return Base64Decode(text.data(), length, decoded.data(), &decodedLength); });

    CCryptProvider provider;
    CEsentaSir cipher(CALG_MD5, provider.GetHandle());
    cipher.Hash(nullptr, "password", 8);
    cipher.DeriveKey();
    Report("RC4 whole file", kFileBytes, [&] { return cipher.EncodeFile("bench-codec.rc4", "bench-codec.bin"); });

    for (const char* name : {"bench-codec.bin", "bench-codec.b64", "bench-codec.out", "bench-codec.rc4"})
        DeleteFileA(name);
    return 0;
}
