// The file side of CBase64Codec: whole files encoded into one line of Base64 and
// back, through small pieces so that a large attachment never sits in memory.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "foundation/GenericFile.h"
#include "foundation/WorkingCopy.h"
#include "foundation/bytes/Base64Codec.h"
#include "foundation/bytes/BoxedFailures.h"

namespace {
const char kUnknownFailure[] = "Unknown exception in EncodeFileToBase64::OpenReadOnly";
const DWORD kTextPiece = 4096;
}

bool CBase64Codec::EncodeFileToBase64(const char* destinationPath, const char* sourcePath)
{
    return RunShowingFailures(sourcePath, kUnknownFailure,
                              [&] { return EncodeFilePieces(destinationPath, sourcePath); });
}

bool CBase64Codec::DecodeFileFromBase64(const char* destinationPath, const char* sourcePath)
{
    return RunShowingFailures(sourcePath, kUnknownFailure,
                              [&] { return DecodeFilePieces(destinationPath, sourcePath); });
}

// Pieces of 3,000 bytes, a multiple of 3, join without padding; only a short last
// piece is padded, and its missing bytes are zeros, so the text is the canonical
// encoding of the whole file.
bool CBase64Codec::EncodeFilePieces(const char* destinationPath, const char* sourcePath)
{
    CGenericFile source;
    source.OpenReadOnly(sourcePath);
    if (source.GetSize() == 0)
        return false;

    unsigned char piece[kFilePieceBytes];
    char text[kFilePieceCharacters + 1];
    DWORD read = source.ReadFromFile(piece, kFilePieceBytes);
    if (read == 0) {
        char message[400];
        std::snprintf(message, sizeof message, "ReadFromFile failed %s", sourcePath);
        ShowMessageBox(nullptr, message, ProgramTitle, kMbOk);
        return false;
    }
    CWorkingCopy destination(destinationPath);
    while (read > 0) {
        size_t length = EncodedLength(read);
        if (read < kFilePieceBytes)
            EncodeString(piece, read, text, sizeof text, &length);
        else
            Encode(text, sizeof text, piece, read);
        destination.File().WriteToFile(text, static_cast<DWORD>(length));
        if (read < kFilePieceBytes)
            break;
        read = source.ReadFromFile(piece, kFilePieceBytes);
    }
    // The source may be the destination itself.
    source.Close();
    destination.Commit();
    return true;
}

// The text is read in pieces; CR LF pairs are dropped and the characters decoded
// in groups of 4, the last group kept back until the end because it may carry
// the padding. The bytes go into a working copy that takes the destination's
// place only when the whole text decoded: a text that does not decode leaves
// the destination as it was.
bool CBase64Codec::DecodeFilePieces(const char* destinationPath, const char* sourcePath)
{
    CGenericFile source;
    source.OpenReadOnly(sourcePath);
    if (source.GetSize() == 0)
        return false;
    CWorkingCopy destination(destinationPath);

    char piece[kTextPiece];
    char pending[kTextPiece + 8];
    unsigned char bytes[kTextPiece];
    size_t pendingLength = 0;
    bool heldCarriageReturn = false;

    // Padding may only end the text, so a '=' before the last group is refused.
    auto decode = [&](size_t count, bool last) {
        size_t decoded = 0;
        if (!last && std::memchr(pending, '=', count))
            return false;
        if (!DecodeString(pending, count, bytes, sizeof bytes, &decoded))
            return false;
        destination.File().WriteToFile(bytes, static_cast<DWORD>(decoded));
        std::memmove(pending, pending + count, pendingLength - count);
        pendingLength -= count;
        return true;
    };
    auto keep = [&](char c) {
        pending[pendingLength++] = c;
        if (pendingLength == sizeof pending)
            return decode((pendingLength - 4) / 4 * 4, false);
        return true;
    };

    for (DWORD read; (read = source.ReadFromFile(piece, sizeof piece)) > 0;) {
        for (DWORD i = 0; i < read; ++i) {
            char c = piece[i];
            if (heldCarriageReturn) {
                heldCarriageReturn = false;
                if (c == '\n')
                    continue;
                if (!keep('\r'))
                    return false;
            }
            if (c == '\r')
                heldCarriageReturn = true;
            else if (!keep(c))
                return false;
        }
    }
    if (heldCarriageReturn && !keep('\r'))
        return false;
    if (!decode(pendingLength, true))
        return false;
    source.Close();
    destination.Commit();
    return true;
}
