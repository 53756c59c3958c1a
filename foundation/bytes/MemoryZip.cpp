#include "foundation/bytes/MemoryZip.h"

#include <climits>
#include <cstring>
#include <memory>
#include <new>

#include "minizip/unzip.h"
#include "minizip/zip.h"

namespace {
// minizip reads and writes through these functions; the "file" is a buffer.
struct MemoryStream {
    std::vector<unsigned char>* growing;  // when writing
    const unsigned char* fixed;           // when reading
    size_t fixedSize;
    size_t position;
    int error;

    size_t Size() const { return growing ? growing->size() : fixedSize; }
};

voidpf ZCALLBACK OpenStream(voidpf opaque, const char*, int)
{
    return opaque;
}

uLong ZCALLBACK ReadStream(voidpf, voidpf stream, void* buffer, uLong size)
{
    MemoryStream* s = static_cast<MemoryStream*>(stream);
    const unsigned char* data = s->growing ? s->growing->data() : s->fixed;
    size_t available = s->position < s->Size() ? s->Size() - s->position : 0;
    size_t count = size < available ? size : available;
    if (count)
        std::memcpy(buffer, data + s->position, count);
    s->position += count;
    return static_cast<uLong>(count);
}

// The growing buffer can fail to grow (bad_alloc), and minizip is C: nothing
// may leave this function by an exception, so the failure goes back to it as
// a short write and a stream error.
uLong ZCALLBACK WriteStream(voidpf, voidpf stream, const void* buffer, uLong size)
{
    MemoryStream* s = static_cast<MemoryStream*>(stream);
    if (!s->growing || s->error) {
        s->error = 1;
        return 0;
    }
    try {
        if (s->position + size > s->growing->size())
            s->growing->resize(s->position + size);
    } catch (...) {
        s->error = 1;
        return 0;
    }
    std::memcpy(s->growing->data() + s->position, buffer, size);
    s->position += size;
    return size;
}

long ZCALLBACK TellStream(voidpf, voidpf stream)
{
    return static_cast<long>(static_cast<MemoryStream*>(stream)->position);
}

long ZCALLBACK SeekStream(voidpf, voidpf stream, uLong offset, int origin)
{
    MemoryStream* s = static_cast<MemoryStream*>(stream);
    size_t base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        base = s->position;
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        base = s->Size();
    if (base > s->Size() || offset > s->Size() - base)
        return -1;
    s->position = base + offset;
    return 0;
}

int ZCALLBACK CloseStream(voidpf, voidpf)
{
    return 0;
}

int ZCALLBACK StreamError(voidpf, voidpf stream)
{
    return static_cast<MemoryStream*>(stream)->error;
}

// Reads the open entry whole; false unless it holds exactly the size its
// headers state. The bytes arrive in pieces, so a header that claims more than
// the archive holds never decides how much memory is taken.
bool ReadCurrentEntry(unzFile zip, size_t statedSize, std::vector<unsigned char>& bytes)
{
    const size_t kPiece = 65536;
    for (;;) {
        size_t at = bytes.size();
        if (at > statedSize)
            return false;
        bytes.resize(at + kPiece);
        int read = unzReadCurrentFile(zip, bytes.data() + at, static_cast<unsigned>(kPiece));
        if (read < 0)
            return false;
        bytes.resize(at + static_cast<size_t>(read));
        if (read == 0)
            return bytes.size() == statedSize;
    }
}

zlib_filefunc_def MemoryFunctions(MemoryStream* stream)
{
    zlib_filefunc_def functions;
    functions.zopen_file = OpenStream;
    functions.zread_file = ReadStream;
    functions.zwrite_file = WriteStream;
    functions.ztell_file = TellStream;
    functions.zseek_file = SeekStream;
    functions.zclose_file = CloseStream;
    functions.zerror_file = StreamError;
    functions.opaque = stream;
    return functions;
}
}

bool PackToMemoryZip(const std::string& entryName, const void* bytes, size_t size,
                     std::vector<unsigned char>& archive)
{
    archive.clear();
    if (size > UINT_MAX)
        return false;
    MemoryStream stream = {&archive, nullptr, 0, 0, 0};
    zlib_filefunc_def functions = MemoryFunctions(&stream);
    zipFile zip = zipOpen2("memory", APPEND_STATUS_CREATE, nullptr, &functions);
    if (!zip)
        return false;
    zip_fileinfo info = {};
    bool written = zipOpenNewFileInZip64(zip, entryName.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                         Z_DEFAULT_COMPRESSION, 0) == ZIP_OK &&
                   zipWriteInFileInZip(zip, bytes, static_cast<unsigned>(size)) == ZIP_OK &&
                   zipCloseFileInZip(zip) == ZIP_OK;
    bool closed = zipClose(zip, nullptr) == ZIP_OK;
    bool packed = written && closed && stream.error == 0;
    if (!packed)
        archive.clear();
    return packed;
}

bool UnpackFirstMemoryZipEntry(const void* archive, size_t size, std::vector<unsigned char>& bytes,
                               std::string* entryName, size_t maxEntryBytes, ZipUnpackFailure* failure)
{
    ZipUnpackFailure ignored = ZipUnpackFailure::kNone;
    ZipUnpackFailure& failed = failure ? *failure : ignored;
    failed = ZipUnpackFailure::kOpen;
    bytes.clear();
    MemoryStream stream = {nullptr, static_cast<const unsigned char*>(archive), size, 0, 0};
    zlib_filefunc_def functions = MemoryFunctions(&stream);
    unzFile zip = unzOpen2("memory", &functions);
    if (!zip)
        return false;
    // Closed whatever happens below, a failure to make room included.
    std::unique_ptr<void, int (*)(unzFile)> closer(zip, unzClose);
    unz_file_info info;
    // minizip terminates a name only when it is shorter than the buffer.
    char name[kMaxZipEntryNameLength + 1];
    if (unzGoToFirstFile(zip) != UNZ_OK ||
        unzGetCurrentFileInfo(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK ||
        unzOpenCurrentFile(zip) != UNZ_OK)
        return false;
    name[info.size_filename < sizeof name ? info.size_filename : kMaxZipEntryNameLength] = 0;
    failed = ZipUnpackFailure::kRoom;
    if (info.uncompressed_size > maxEntryBytes)
        return false;
    bool ok = false;
    try {
        failed = ZipUnpackFailure::kUnpack;
        ok = ReadCurrentEntry(zip, info.uncompressed_size, bytes) && unzCloseCurrentFile(zip) == UNZ_OK;
    } catch (const std::bad_alloc&) {
        failed = ZipUnpackFailure::kRoom;
        ok = false;
    }
    if (ok && entryName)
        *entryName = name;
    if (ok)
        failed = ZipUnpackFailure::kNone;
    else
        bytes.clear();
    return ok;
}
