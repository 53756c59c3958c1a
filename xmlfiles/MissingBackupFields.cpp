#include "xmlfiles/MissingBackupFields.h"

#include <algorithm>

#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/MessageBoxes.h"

namespace {
// The fields a box names; error.txt lists them all.
const size_t kFieldsNamed = 5;

std::string Listed(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}
}

CMissingBackupFields::CMissingBackupFields(const std::string& backupName) : m_backupName(backupName) {}

void CMissingBackupFields::Add(int k, const std::vector<BackupMissingField>& missing)
{
    if (missing.empty())
        return;
    ++m_notes;
    std::vector<std::string> fields;
    for (const BackupMissingField& field : missing) {
        fields.push_back(field.field);
        if (std::find(m_firstFields.begin(), m_firstFields.end(), field.field) != m_firstFields.end())
            continue;
        if (m_firstFields.size() < kFieldsNamed)
            m_firstFields.push_back(field.field);
        else
            m_moreFields = true;
    }
    const std::string entry = "Restore from " + m_backupName + ": note " + std::to_string(k) + " lacks " +
                              std::to_string(missing.size()) + " fields, restored with default values: ";
    WriteErrorLog(entry.c_str(), Listed(fields).c_str());
}

std::string CMissingBackupFields::Summary() const
{
    if (m_notes == 0)
        return std::string();
    std::string text = std::to_string(m_notes) + (m_notes == 1 ? " note" : " notes") +
                       " of the backup lacked some of their fields; default values were used for them (" +
                       Listed(m_firstFields) + (m_moreFields ? " and others" : "") +
                       ").\r\n\r\nEvery missing field is listed in error.txt.";
    return text;
}

void CMissingBackupFields::Show(void* owner) const
{
    const std::string text = Summary();
    if (!text.empty())
        ShowWarningMessage(owner, text.c_str(), ProgramTitle);
}
