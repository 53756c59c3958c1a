// The record a replacement of data files leaves for the next start, from
// arbitrary bytes: a text taken for a record names only the program's own
// data files, each once, never calls a table of the whole set absent or
// removed, and written again it reads back the same.
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "store/bytes/ReplacementRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AnswerBoxesQuietly();
    const std::string text(reinterpret_cast<const char*>(data), size);
    ReplacementRecord record;
    if (!ParseReplacementRecord(text, record))
        return 0;
    FUZZ_CHECK(!record.files.empty() && record.files.size() <= 11);
    for (size_t i = 0; i < record.files.size(); ++i) {
        FUZZ_CHECK(ReplaceableDataFileName(record.files[i].name) == record.files[i].name);
        FUZZ_CHECK(!IsWholeSetTable(record.files[i].name) || (record.files[i].existed && !record.files[i].removed));
        for (size_t j = 0; j < i; ++j)
            FUZZ_CHECK(record.files[j].name != record.files[i].name);
    }
    ReplacementRecord again;
    FUZZ_CHECK(ParseReplacementRecord(FormatReplacementRecord(record), again));
    FUZZ_CHECK(FormatReplacementRecord(again) == FormatReplacementRecord(record));
    return 0;
}
