#include "notemanager/NoteManagerFile.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "foundation/DataFolder.h"
#include "foundation/WorkingCopy.h"
#include "globals/ProgramGlobals.h"
#include "store/NoteRecord.h"
#include "xmlfiles/DamagedFiles.h"
#include "xmlfiles/XmlFileReading.h"
#include "xmlfiles/bytes/XmlLines.h"

namespace {
const char kNoteManagerFileHeader[] = "<?xml version='1.0' encoding='Windows-1252' standalone='yes'?>";
const char kNoteManagerRoot[] = "content";
const int kWrittenColumns = 7;

const char kAllGroup[] = "All (except Deleted)";
const char kDeletedGroup[] = "Deleted";
const char kNoneGroup[] = "None";
const char* const kStandardGroups[] = {kAllGroup, kDeletedGroup, kNoneGroup, "Business",
                                       "Personal", "References",  "Reminders", "Urgent"};
const int kFixedGroups = 3;

// The option values in file order, with where each lives in the record.
enum class FieldWidth { kByte, kWord, kLong };
struct OptionField {
    const char* key;
    size_t offset;
    FieldWidth width;
};
#define QN_OPTION(key, member, width) {key, offsetof(CNoteManagerOptions, member), width}
const OptionField kOptionFields[] = {
    QN_OPTION("sortColumn", sortColumn, FieldWidth::kByte),
    QN_OPTION("sortOrder", sortOrder, FieldWidth::kByte),
    QN_OPTION("dialogWidth", dialogWidth, FieldWidth::kWord),
    QN_OPTION("dialogHeight", dialogHeight, FieldWidth::kWord),
    QN_OPTION("dialogXLeft", dialogXLeft, FieldWidth::kLong),
    QN_OPTION("dialogYLeft", dialogYLeft, FieldWidth::kLong),
    QN_OPTION("dialogMaximized", dialogMaximized, FieldWidth::kLong),
    QN_OPTION("paintTTBackColors", paintTTBackColors, FieldWidth::kLong),
    QN_OPTION("paintHiddenBackgnd", paintHiddenBackgnd, FieldWidth::kLong),
    QN_OPTION("paintParkedBackgnd", paintParkedBackgnd, FieldWidth::kLong),
    QN_OPTION("paintHiddenBackColor", paintHiddenBackColor, FieldWidth::kLong),
    QN_OPTION("paintParkedBackColor", paintParkedBackColor, FieldWidth::kLong),
    QN_OPTION("boldTitleText", boldTitleText, FieldWidth::kLong),
    QN_OPTION("saveFilterCriteria", saveFilterCriteria, FieldWidth::kLong),
    QN_OPTION("stayOnTop", stayOnTop, FieldWidth::kLong),
    QN_OPTION("adaptiveDateTime", adaptiveDateTime, FieldWidth::kLong),
};
#undef QN_OPTION

std::string OptionText(const CNoteManagerOptions& options, const OptionField& field)
{
    const unsigned char* at = reinterpret_cast<const unsigned char*>(&options) + field.offset;
    switch (field.width) {
    case FieldWidth::kByte: return std::to_string(*at);
    case FieldWidth::kWord: {
        WORD word;
        std::memcpy(&word, at, sizeof word);
        return std::to_string(word);
    }
    default: {
        LONG value;
        std::memcpy(&value, at, sizeof value);
        return std::to_string(value);
    }
    }
}

void StoreOption(CNoteManagerOptions& options, const OptionField& field, int value)
{
    unsigned char* at = reinterpret_cast<unsigned char*>(&options) + field.offset;
    if (field.width == FieldWidth::kByte) {
        *at = static_cast<BYTE>(value);
    } else if (field.width == FieldWidth::kWord) {
        const WORD word = static_cast<WORD>(value);
        std::memcpy(at, &word, sizeof word);
    } else {
        const LONG number = value;
        std::memcpy(at, &number, sizeof number);
    }
}

int Number(const std::string& text)
{
    return std::atoi(text.c_str());
}

void AppendNumber(std::string& out, const char* name, long long value, int level)
{
    AppendXmlElement(out, name, std::to_string(value).c_str(), level);
}

void AppendOptions(std::string& out, const CNoteManagerOptions& options)
{
    AppendXmlStartTag(out, "options", 1);
    AppendNumber(out, "userID", static_cast<LONG>(options.userID), 2);
    for (const OptionField& field : kOptionFields)
        AppendXmlElement(out, field.key, OptionText(options, field).c_str(), 2);
    for (int entry = 0; entry < kWrittenColumns; ++entry) {
        const CNoteManagerColumn& column = options.columns[entry];
        AppendXmlStartTag(out, "column", 2);
        AppendNumber(out, "id", column.id, 3);
        AppendNumber(out, "ifDisplayed", static_cast<LONG>(column.displayed), 3);
        AppendNumber(out, "position", column.position, 3);
        AppendXmlCDataElement(out, "text", column.title, 3);
        AppendNumber(out, "width", static_cast<WORD>(column.width), 3);
        AppendXmlEndTag(out, "column", 2);
    }
    AppendXmlEndTag(out, "options", 1);
}

void AppendGroup(std::string& out, const CNoteGroup& group)
{
    AppendXmlStartTag(out, "group", 1);
    AppendNumber(out, "id", static_cast<LONG>(group.id), 2);
    AppendXmlCDataElement(out, "name", group.name, 2);
    AppendNumber(out, "hotkey_ifAllow", static_cast<LONG>(group.hotkey_ifAllow), 2);
    AppendNumber(out, "hotkey_ctrl", static_cast<LONG>(group.hotkey_ctrl), 2);
    AppendNumber(out, "hotkey_alt", static_cast<LONG>(group.hotkey_alt), 2);
    AppendNumber(out, "hotkey_shift", static_cast<LONG>(group.hotkey_shift), 2);
    AppendNumber(out, "hotkey_key", static_cast<LONG>(group.hotkey_key), 2);
    AppendXmlEndTag(out, "group", 1);
}

void SetColumn(CNoteManagerColumn& column, int id, const char* title, DWORD displayed, int position, DWORD width)
{
    column.id = static_cast<BYTE>(id);
    column.displayed = displayed;
    column.position = static_cast<BYTE>(position);
    column.width = width;
    std::snprintf(column.title, sizeof column.title, "%s", title);
}

// A column element of the current options element into the record; false,
// with the reader's text in problem, when one of its keys is missing.
bool ReadColumn(CXMLDocument& document, int j, CNoteManagerOptions& record, std::string& problem)
{
    char err[512] = "";
    if (!document.GotoChildOfCurrentParent("column", j, err, sizeof err)) {
        problem = err;
        return false;
    }
    const char* const keys[] = {"id", "ifDisplayed", "position", "text", "width"};
    char values[5][50] = {};
    for (int key = 0; key < 5; ++key) {
        if (!document.GetValueOfCurrentChild(keys[key], values[key], sizeof values[key], err, sizeof err)) {
            problem = err;
            return false;
        }
    }
    // A title is written in CDATA, "]]>" in it changed as in every CDATA text.
    ToggleCdataEscape(values[3], 0);
    const int id = std::atoi(values[0]);
    // The writer makes only ids 0 to 7; another names no column of the record.
    if (id < 0 || id >= kNoteManagerColumnCount)
        return true;
    SetColumn(record.columns[id], id, values[3], static_cast<DWORD>(std::atoi(values[1])), std::atoi(values[2]),
              static_cast<DWORD>(std::atoi(values[4])));
    return true;
}

// The column elements of options element k into the record, each damaged one
// skipped alone; a record without any keeps the columns it had.
void ReadColumns(CXMLDocument& document, int k, CNoteManagerOptions& record, CSkippedEntries& skipped)
{
    const std::string entry = DescribeXmlEntry(document, kNoteManagerRoot, "options", k, {"userID"});
    char err[512] = "";
    int columns = 0;
    if (document.GotoChildOfCurrentParent("options", k, err, sizeof err) &&
        document.SetCurrentChildAsParent(err, sizeof err)) {
        columns = document.CountChildren("column", err, sizeof err);
        for (int j = 1; j <= columns; ++j) {
            std::string problem;
            if (!ReadColumn(document, j, record, problem))
                skipped.Skip("column " + std::to_string(j) + " of " + entry, problem);
        }
        document.GotoParent(err, sizeof err);
    }
    if (columns < 1)
        skipped.Skip("the columns of " + entry, err[0] ? err : "It holds no column.");
    else if (columns < kNoteManagerColumnCount)
        SetColumn(record.columns[7], 7, "Size", 0, 7, 60);
}

// Record k of the file into the record; false, with the reader's text in
// problem, when one of its keys is missing.
bool ReadNoteManagerOptions(CXMLDocument& document, int k, CNoteManagerOptions& record, CSkippedEntries& skipped,
                 std::string& problem)
{
    std::string value;
    if (!ReadXmlField(document, kNoteManagerRoot, "options", k, "userID", value, problem))
        return false;
    record.userID = static_cast<DWORD>(Number(value));
    record.recordKey = static_cast<LONG>(record.userID);
    for (const OptionField& field : kOptionFields) {
        if (!ReadXmlField(document, kNoteManagerRoot, "options", k, field.key, value, problem))
            return false;
        StoreOption(record, field, Number(value));
    }
    ReadColumns(document, k, record, skipped);
    return true;
}

CNoteManagerOptions StandardFileOptions(const CNoteManagerOptions& current, DWORD userId)
{
    struct Column {
        const char* title;
        DWORD displayed;
        DWORD width;
    };
    static const Column kColumns[kNoteManagerColumnCount] = {
        {"Icons", 1, 42},    {"Title", 1, 120}, {"Text", 1, 160},   {"Alarm", 1, 100},
        {"Created", 1, 100}, {"Group", 1, 70},  {"Owner", 0, 100}, {"Size", 1, 60},
    };
    CNoteManagerOptions record;
    CopyNoteManagerOptions(record, current);
    record.recordKey = static_cast<LONG>(userId);
    record.userID = userId;
    for (int id = 0; id < kNoteManagerColumnCount; ++id)
        SetColumn(record.columns[id], id, kColumns[id].title, kColumns[id].displayed, id, kColumns[id].width);
    return record;
}

CNoteGroup StandardGroup(const char* name, DWORD id, bool fixed)
{
    CNoteGroup group;
    ResetNoteGroup(group);
    group.id = id;
    std::snprintf(group.name, sizeof group.name, "%s", name);
    std::snprintf(group.editable, sizeof group.editable, "%s", fixed ? "0" : "1");
    return group;
}

// The groups in file order; a group without its id or name is skipped.
void ReadGroups(CXMLDocument& document, CRecordList<CNoteGroup>& groups, CSkippedEntries& skipped)
{
    const GlobalGroupIds ids = NoteGroupGlobalIds();
    const int n = CountXmlElements(document, kNoteManagerRoot, "group");
    CNoteGroup group;
    ResetNoteGroup(group);
    const char* const hotkeyKeys[] = {"hotkey_ifAllow", "hotkey_ctrl", "hotkey_alt", "hotkey_shift", "hotkey_key"};
    for (int k = 1; k <= n; ++k) {
        std::string id;
        std::string name;
        if (!ReadXmlEntry(document, kNoteManagerRoot, "group", k, {{"id", &id}, {"name", &name}}, skipped))
            continue;
        group.id = static_cast<DWORD>(Number(id));
        const bool fixed = group.id == ids.all || group.id == ids.deleted || group.id == ids.none;
        std::snprintf(group.editable, sizeof group.editable, "%s", fixed ? "0" : "1");
        ToggleCdataEscape(&name[0], 0);
        std::snprintf(group.name, sizeof group.name, "%s", name.c_str());
        // A group without its hotkey elements keeps those of the group before it.
        DWORD hotkey[5];
        int read = 0;
        char err[512] = "";
        for (; read < 5; ++read) {
            char text[50] = "";
            if (!document.GetValue(kNoteManagerRoot, "group", k, hotkeyKeys[read], text, sizeof text, err, sizeof err))
                break;
            hotkey[read] = static_cast<DWORD>(std::atoi(text));
        }
        if (read == 5) {
            group.hotkey_ifAllow = hotkey[0];
            group.hotkey_ctrl = hotkey[1];
            group.hotkey_alt = hotkey[2];
            group.hotkey_shift = hotkey[3];
            group.hotkey_key = hotkey[4];
        }
        groups.AddToTail(group);
    }
}

void FindGlobalGroupIds(const CRecordList<CNoteGroup>& groups)
{
    GlobalGroupIds& ids = NoteGroupGlobalIds();
    const struct {
        const char* name;
        BYTE& id;
    } named[] = {{kAllGroup, ids.all}, {kNoneGroup, ids.none}, {kDeletedGroup, ids.deleted}};
    for (const auto& entry : named) {
        const long id = groups.FindIdByName(entry.name);
        if (id >= 0)
            entry.id = static_cast<BYTE>(id);
    }
}

// Whether the group is one of those read. The fixed groups always are: no
// group made later takes their ids.
bool IsGroupRead(const CRecordList<CNoteGroup>& groups, DWORD id)
{
    const GlobalGroupIds fixed = NoteGroupGlobalIds();
    if (id == fixed.all || id == fixed.deleted || id == fixed.none)
        return true;
    for (auto* node = groups.GetFirst(); node; node = node->next) {
        if (node->record.id == id)
            return true;
    }
    return false;
}

// The memberships, each at the front; one without its group or note is
// skipped, and so is one of a group not read: the group's id is free, and
// the next group made would take its notes. One of a note never stored
// (9999, left by an earlier version) names no note and is dropped quietly:
// the next new note would otherwise seem to be in its group.
void ReadPairs(CXMLDocument& document, const CRecordList<CNoteGroup>& groups, CRecordList<CGroupNotePair>& pairs,
               CSkippedEntries& skipped)
{
    const int m = CountXmlElements(document, kNoteManagerRoot, "noteAndGroup");
    for (int k = 1; k <= m; ++k) {
        std::string groupId;
        std::string noteId;
        if (!ReadXmlEntry(document, kNoteManagerRoot, "noteAndGroup", k, {{"groupID", &groupId}, {"noteID", &noteId}},
                          skipped))
            continue;
        const DWORD group = static_cast<DWORD>(Number(groupId));
        const DWORD note = static_cast<DWORD>(Number(noteId));
        if (!IsStoredNoteId(note))
            continue;
        if (!IsGroupRead(groups, group)) {
            skipped.Skip(DescribeXmlEntry(document, kNoteManagerRoot, "noteAndGroup", k, {"groupID", "noteID"}),
                         "No group with the id " + std::to_string(group) + " was read.");
            continue;
        }
        CGroupNotePair pair{static_cast<DWORD>(pairs.NextFreeId()), group, note};
        pairs.AddAssociationToHead(pair);
    }
}

// Every user's options into the emptied list, a record without one of its
// keys skipped; the record of the user becomes the current options, or the
// standard record is added for the user.
void LoadNoteManagerXml(CXMLDocument* document, CRecordList<CNoteManagerOptions>& list, CNoteManagerOptions& current,
                        DWORD userId, CSkippedEntries& skipped)
{
    list.RemoveAll();
    const int n = document ? CountXmlElements(*document, kNoteManagerRoot, "options") : 0;
    for (int k = 1; k <= n; ++k) {
        CNoteManagerOptions record;
        CopyNoteManagerOptions(record, current);
        std::string problem;
        if (!ReadNoteManagerOptions(*document, k, record, skipped, problem)) {
            skipped.Skip(DescribeXmlEntry(*document, kNoteManagerRoot, "options", k, {"userID"}), problem);
            continue;
        }
        list.AddAssociationToHead(record);
    }
    for (auto* node = list.GetFirst(); node; node = node->next) {
        if (node->record.userID == userId) {
            CopyNoteManagerOptions(current, node->record);
            return;
        }
    }
    const CNoteManagerOptions standard = StandardFileOptions(current, userId);
    list.AddAssociationToHead(standard);
    CopyNoteManagerOptions(current, standard);
}

// The groups and memberships into the emptied lists; without a file to read,
// the eight standard groups.
void LoadNoteGroupsXml(CXMLDocument* document, CRecordList<CNoteGroup>& groups, CRecordList<CGroupNotePair>& pairs,
                       CSkippedEntries& skipped)
{
    groups.RemoveAll();
    pairs.RemoveAll();
    if (!document) {
        for (int i = 0; i < static_cast<int>(sizeof kStandardGroups / sizeof kStandardGroups[0]); ++i)
            groups.AddToTail(StandardGroup(kStandardGroups[i], static_cast<DWORD>(groups.NextFreeId()), i < kFixedGroups));
        NoteGroupGlobalIds() = GlobalGroupIds();
        return;
    }
    ReadGroups(*document, groups, skipped);
    FindGlobalGroupIds(groups);
    ReadPairs(*document, groups, pairs, skipped);
}
}

GlobalGroupIds& NoteGroupGlobalIds()
{
    static GlobalGroupIds ids;
    return ids;
}

std::string NoteManagerXmlText(const NoteManagerLists& lists)
{
    std::string out = kNoteManagerFileHeader;
    out.append(kXmlLineEnd);
    AppendXmlStartTag(out, kNoteManagerRoot, 0);
    for (auto* node = lists.options.GetFirst(); node; node = node->next)
        AppendOptions(out, node->record);
    for (auto* node = lists.groups.GetFirst(); node; node = node->next)
        AppendGroup(out, node->record);
    for (auto* node = lists.pairs.GetFirst(); node; node = node->next) {
        if (!IsStoredNoteId(node->record.noteID))
            continue;
        AppendXmlStartTag(out, "noteAndGroup", 1);
        AppendNumber(out, "groupID", static_cast<LONG>(node->record.groupID), 2);
        AppendNumber(out, "noteID", static_cast<LONG>(node->record.noteID), 2);
        AppendXmlEndTag(out, "noteAndGroup", 1);
    }
    AppendXmlEndTag(out, kNoteManagerRoot, 0);
    return out;
}

void SaveNoteManagerXml(const char* path, const NoteManagerLists& lists)
{
    RefuseToOverwriteDamagedFile(path);
    const std::string text = NoteManagerXmlText(lists);
    CWorkingCopy file(path);
    file.File().WriteToFile(text.data(), static_cast<DWORD>(text.size()));
    file.Commit();
}

void LoadNoteManagerFile(const char* path, const NoteManagerLists& lists, CNoteManagerOptions& current,
                         DWORD userId)
{
    std::unique_ptr<CXMLDocument> document =
        ParseXmlSettingsFile(path, kNoteManagerRoot, "the standard note groups and Note Manager options");
    CSkippedEntries skipped(path);
    LoadNoteGroupsXml(document.get(), lists.groups, lists.pairs, skipped);
    LoadNoteManagerXml(document.get(), lists.options, current, userId, skipped);
    skipped.Report();
}

void ResetNoteGroup(CNoteGroup& group)
{
    std::memset(&group, 0, sizeof group);
    group.id = static_cast<DWORD>(-1);
    group.hotkey_ifAllow = 0;
    group.hotkey_ctrl = 0;
    group.hotkey_alt = 1;
    group.hotkey_shift = 1;
    group.hotkey_key = 'G';
}

int RemoveNoteFromGroups(CRecordList<CGroupNotePair>& pairs, DWORD noteId)
{
    for (auto* node = pairs.GetFirst(); node; node = node->next) {
        if (node->record.noteID == noteId) {
            pairs.Remove(node);
            return 1;
        }
    }
    return 0;
}

void CopyNoteManagerOptions(CNoteManagerOptions& target, const CNoteManagerOptions& source)
{
    if (&target == &source)
        return;
    std::memset(target.columns, 0, sizeof target.columns);
    std::memcpy(&target, &source, sizeof target);
}

void SaveNoteManagerXml()
{
    const CNoteManagerOptions& current = NoteManagerOptions();
    for (auto* node = NoteManagerOptionsList().GetFirst(); node; node = node->next) {
        if (node->record.userID == current.userID) {
            CopyNoteManagerOptions(node->record, current);
            break;
        }
    }
    SaveNoteManagerXml(DataFilePath(DataName::kNoteManagerSettings).c_str(),
                       {NoteManagerOptionsList(), GroupsList(), GroupsAndNotesList()});
}
