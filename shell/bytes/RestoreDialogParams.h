#pragma once

#include <cstdint>

// What the "Restore notes..." dialog is opened with: the two ids it reports,
// the kind of restore, how many notes the backup holds and its name, and the
// question it asks.

// The backup that a restore would read: its note count and its name.
struct RestoreCountRecord {
    std::uint32_t count;
    char name[51];
};

struct RestoreDialogParams {
    std::uint32_t firstId;
    std::uint32_t secondId;
    std::uint32_t flag;
    std::uint32_t count;
    char name[51];
    char question[256];
};

// Fills the block; the name and the question are cut to their fields, and the
// question's last two characters (its closing " ?" or "?\n") become one "?".
void InitRestoreDialogParams(RestoreDialogParams& params, std::uint32_t firstId, std::uint32_t secondId,
                             const RestoreCountRecord& counts, const char* question, std::uint32_t flag);
