#include "globals/NoteManagerOptions.h"

#include <cstdio>
#include <cstring>

namespace {
struct StandardColumn {
    const char* title;
    DWORD displayed;
    DWORD width;
};

const StandardColumn kStandardColumns[kNoteManagerColumnCount] = {
    {"Icons", 1, 42},     {"Title", 1, 120}, {"Text", 1, 160},  {"Alarm", 1, 100},
    {"Created", 1, 100}, {"Group", 1, 70},  {"Owner", 0, 100}, {"Size", 0, 60},
};
}

void SetNoteManagerDefaults(CNoteManagerOptions& options)
{
    std::memset(&options, 0, sizeof options);
    options.stateFilter = 3;
    options.alarmsFilter = 4;
    options.associationFilter = 3;
    options.protectionFilter = 3;
    options.styleFilter = 0;
    options.groupFilter = kGroupAll;
    for (int id = 0; id < kNoteManagerColumnCount; ++id) {
        CNoteManagerColumn& column = options.columns[id];
        column.displayed = kStandardColumns[id].displayed;
        column.position = static_cast<BYTE>(id);
        column.id = static_cast<BYTE>(id);
        column.width = kStandardColumns[id].width;
        std::snprintf(column.title, sizeof column.title, "%s", kStandardColumns[id].title);
    }
    options.sortColumn = 1;
    options.sortOrder = 0;
    options.paintTTBackColors = 1;
    options.paintHiddenBackgnd = 1;
    options.paintParkedBackgnd = 1;
    options.paintHiddenBackColor = 0xEDEDDC;
    options.paintParkedBackColor = 0xFFEDFF;
    options.boldTitleText = 1;
    options.saveFilterCriteria = 1;
    options.stayOnTop = 0;
    options.adaptiveDateTime = 1;
    options.recordKey = -1;
}

long NextNewGroupId(const CRecordList<CNoteGroup>& groups)
{
    const long next = groups.NextFreeId();
    if (next <= kLargestGroupId)
        return next;
    for (long id = kFirstUserGroupId; id <= kLargestGroupId; ++id) {
        bool taken = false;
        for (auto* node = groups.GetFirst(); node && !taken; node = node->next)
            taken = RecordId(node->record) == id;
        if (!taken)
            return id;
    }
    return -1;
}
