#include "xmlfiles/bytes/BackupRecords.h"

#include "foundation/bytes/ProtectedMark.h"

const char kProtectedBodyMarkInBackup[4] = "~^+";

bool EndsWithProtectedMark(const std::string& body)
{
    return HasProtectedMark(body.data(), body.size());
}
