#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Zip archives held in memory (packed note texts, protected contents, attached
// files). Entries are written without zip64 extensions, so an archive starts
// with the local header 50 4B 03 04 14.

// Packs the bytes as the archive's one entry; false when packing failed.
bool PackToMemoryZip(const std::string& entryName, const void* bytes, size_t size,
                     std::vector<unsigned char>& archive);

// Unpacks the archive's first entry; false for a damaged or empty archive, and
// for an entry whose stated size passes maxEntryBytes (archives from the
// network say what they like). A stored name longer than
// kMaxZipEntryNameLength characters is cut to it.
// The step that failed, when asked for: the archive or its first entry did
// not open, no room could be made for the entry's stated size (or it passes
// maxEntryBytes), or its bytes did not unpack.
constexpr size_t kMaxZipEntryNameLength = 259;
enum class ZipUnpackFailure { kNone, kOpen, kRoom, kUnpack };
bool UnpackFirstMemoryZipEntry(const void* archive, size_t size, std::vector<unsigned char>& bytes,
                               std::string* entryName = nullptr, size_t maxEntryBytes = SIZE_MAX,
                               ZipUnpackFailure* failure = nullptr);
