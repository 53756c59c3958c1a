#include "shell/bytes/RestoreDialogParams.h"

#include <cstring>

#include "foundation/bytes/BoundedCopy.h"

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
