#include "shell/bytes/RestoreDialogParams.h"

#include <cstring>

namespace {
// Copies at most size - 1 bytes and terminates.
void CopyBounded(char* target, std::size_t size, const char* source)
{
    std::size_t length = source ? strnlen(source, size - 1) : 0;
    if (length)
        std::memcpy(target, source, length);
    target[length] = 0;
}
}

void InitRestoreDialogParams(RestoreDialogParams& params, std::uint32_t firstId, std::uint32_t secondId,
                             const RestoreCountRecord& counts, const char* question, std::uint32_t flag)
{
    params.firstId = firstId;
    params.secondId = secondId;
    params.flag = flag;
    params.count = counts.count;
    CopyBounded(params.name, sizeof params.name, counts.name);
    CopyBounded(params.question, sizeof params.question, question);
    // A question shorter than two characters has nothing to replace: it gets
    // its "?" after what it holds.
    std::size_t length = std::strlen(params.question);
    std::size_t end = length >= 2 ? length - 2 : length;
    if (end + 1 < sizeof params.question) {
        params.question[end] = '?';
        params.question[end + 1] = 0;
    }
}
