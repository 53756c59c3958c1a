#pragma once

#include <string>
#include <vector>

#include "store/bytes/TableGroups.h"
#include "store/bytes/TableStructure.h"

// One value of a template record. A memo value is stored in the table's memo
// file and its first block goes into the field (the TEXT field).
struct TemplateValue {
    enum Kind { kText, kNumber, kReal, kMemo };
    const char* field;
    Kind kind;
    std::string text;
    long number;
    double real;
};

TemplateValue Text(const char* field, const char* text);
TemplateValue Flag(const char* field, bool on);
TemplateValue Number(const char* field, long value);
TemplateValue Real(const char* field, double value);
TemplateValue Memo(const char* field, const char* text);

using TemplateRecord = std::vector<TemplateValue>;

// A table as a new installation receives it.
struct TableTemplate {
    const char* fileName;
    TableGroup group;
    std::vector<FieldLayout> fields;
    std::vector<TemplateRecord> records;
    bool hasMemoFile;
};

std::vector<TableTemplate> AllTableTemplates();

// The settings table's rows: program settings, options, continuation and
// backup rows, the note every new user finds, and the nine style rows.
std::vector<TemplateRecord> SettingsRows();

// The web-search sites file (XML), not a table.
std::string WebSearchFile();
