#include "noteprops/ProtectedContent.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "foundation/DataFolder.h"
#include "foundation/EsentaSir.h"
#include "foundation/FileHelpers.h"
#include "foundation/GenericFile.h"
#include "foundation/WorkingCopy.h"
#include "foundation/bytes/Base64Codec.h"
#include "foundation/bytes/BoxedFailures.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/bytes/AttachmentCipher.h"
#include "noteprops/bytes/ProtectedBody.h"
#include "globals/ProgramGlobals.h"
#include "shell/bytes/StartupPasswordCode.h"

namespace {
const DWORD kXorPieceBytes = 64 * 1024;  // a multiple of the key's 8 bytes
const size_t kUniquePrefixLength = 15;

// A file of the data folder that no other opening uses: the first characters
// of a new unique name and the ending.
std::string TemporaryFile(const char* ending)
{
    char unique[33] = "";
    MakeUniqueName(unique, sizeof unique);
    unique[kUniquePrefixLength] = '\0';
    return DataFilePath((std::string(unique) + ending).c_str());
}

// Deleted when it goes, whatever happened on the way.
struct TemporaryFileHolder {
    explicit TemporaryFileHolder(const char* ending) : path(TemporaryFile(ending)) {}
    ~TemporaryFileHolder() { DeleteFileA(path.c_str()); }
    TemporaryFileHolder(const TemporaryFileHolder&) = delete;
    TemporaryFileHolder& operator=(const TemporaryFileHolder&) = delete;
    std::string path;
};

void ShowCodecFailure(const char* text)
{
    ShowErrorMessage(ForegroundOwner(), text, ProgramTitle);
}

// The copy of the attached file without its mark; false when it has none.
bool CopyWithoutMark(const char* attachedFile, const char* copy)
{
    if (!CopyFileA(attachedFile, copy, FALSE))
        throw CGenericException("DAF::CopyFile failed ");
    ClearReadOnlyAttribute(copy);
    CGenericFile file;
    file.OpenExclusive(copy);
    const DWORD size = file.GetSize();
    unsigned char tail[sizeof kProtectedBodyMark] = {};
    if (size < sizeof tail)
        return false;
    file.MoveFromBOF(size - sizeof tail);
    if (file.ReadFromFile(tail, sizeof tail) != sizeof tail || !HasProtectedMark(reinterpret_cast<char*>(tail), 3))
        return false;
    file.MoveFromBOF(size - sizeof tail);
    file.SetEOF();
    return true;
}

int DecipherAttachedFile(const char* attachedFile, const char* passwordText)
{
    TemporaryFileHolder copy("tmp.txt");
    if (!CopyWithoutMark(attachedFile, copy.path.c_str()))
        return 0;
    TemporaryFileHolder decoded("64.txt");
    CGenericFile text;
    text.OpenReadOnly(copy.path.c_str());
    const bool empty = text.GetSize() == 0;
    text.Close();
    // The file of nothing is the mark alone.
    if (empty) {
        CWorkingCopy nothing(attachedFile);
        nothing.Commit();
        return 1;
    }
    if (!CBase64Codec().DecodeFileFromBase64(decoded.path.c_str(), copy.path.c_str())) {
        ShowCodecFailure("DAF::DecodeString failed");
        return 0;
    }
    if (!XorDecodeFile(attachedFile, decoded.path.c_str(), passwordText)) {
        ShowCodecFailure("DAF::DecodeBuffer failed");
        return 0;
    }
    return 1;
}
}

std::string PasswordText(HWND owner, const char* typed, const char* failureText)
{
    const std::string text = TrimBlanks(typed ? typed : "");
    // A code is the digest's first 8 hexadecimal digits, which are small
    // letters: typed in capitals it is the same code and the same key.
    if (IsTypedStoredCode(text)) {
        std::string code = text.substr(0, 8);
        for (char& c : code)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return code;
    }
    CEsentaSir cipher(CALG_MD5, CryptProvider().GetHandle());
    BYTE hash[CEsentaSir::kHashValueBytes];
    if (!cipher.Hash(hash, text.data(), static_cast<DWORD>(text.size()), kPasswordSalt,
                     static_cast<DWORD>(std::strlen(kPasswordSalt)))) {
        ShowErrorMessage(owner, failureText, ProgramTitle);
        return std::string();
    }
    return CodeFromHash(hash, sizeof hash);
}

std::string ContentDigestText(const std::string& bytes)
{
    CEsentaSir cipher(CALG_MD5, CryptProvider().GetHandle());
    BYTE hash[CEsentaSir::kHashValueBytes];
    if (!cipher.Hash(hash, bytes.data(), static_cast<DWORD>(bytes.size())))
        return std::string();
    std::string digits;
    for (BYTE b : hash) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", b);
        digits += pair;
    }
    return digits;
}

int RPB(std::string& rtf, const char* passwordText, const char* body, size_t length, const char* attachedFile)
{
    const ProtectedBodyResult result =
        OpenProtectedBody(body, length, passwordText ? passwordText : "", ContentDigestText, rtf);
    if (result != ProtectedBodyResult::kOpened) {
        if (*ProtectedBodyFailureText(result))
            ShowCodecFailure(ProtectedBodyFailureText(result));
        return 0;
    }
    DAF(attachedFile, passwordText);
    return 1;
}

int DAF(const char* attachedFile, const char* passwordText)
{
    if (!attachedFile || !attachedFile[0] || GetFileAttributesA(attachedFile) == INVALID_FILE_ATTRIBUTES)
        return 0;
    int deciphered = 0;
    RunShowingFailures(nullptr, "DAF::Unknown exception", [&] {
        deciphered = DecipherAttachedFile(attachedFile, passwordText);
        return true;
    });
    return deciphered;
}

int XorEncodeFile(const char* outputFile, const char* inputFile, const char* passwordText)
{
    unsigned char key[8];
    if (!AttachmentKeyOf(passwordText ? passwordText : "", key))
        return 0;
    return RunShowingFailures(inputFile, "XorEncodeFile: unknown exception", [&] {
        CGenericFile input;
        input.OpenReadOnly(inputFile);
        CWorkingCopy output(outputFile);
        std::string piece(kXorPieceBytes, '\0');
        for (;;) {
            const DWORD read = input.ReadFromFile(&piece[0], kXorPieceBytes);
            if (read == 0)
                break;
            std::string bytes = piece.substr(0, read);
            XorWithKey(bytes, key);
            output.File().WriteToFile(bytes.data(), read);
        }
        input.Close();
        output.Commit();
        return true;
    }) ? 1 : 0;
}
