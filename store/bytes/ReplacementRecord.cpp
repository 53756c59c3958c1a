#include "store/bytes/ReplacementRecord.h"

#include <cctype>
#include <sstream>

const char* const kReplaceableDataFiles[11] = {"config.QPD",  "config.QPS", "users.QPD",    "notes.QPD",
                                               "notes.qps",   "sentto.QPD", "transact.QPD", "apps.QPD",
                                               "noteman.QPD", "calendar.QPD", "chatnote.QPD"};
const char* const kWholeSetTables[7] = {"config.QPD", "config.QPS", "users.QPD",   "notes.QPD",
                                        "notes.qps",  "sentto.QPD", "transact.QPD"};

namespace {
const char kFirstLine[] = "Quillnet+ replacing data files";
const char kLastLine[] = "end";
// Far more than the eleven files could ever take.
const size_t kMaxRecordSize = 4096;

bool SameName(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return i == a.size() && !b[i];
}

const char* KindWord(ReplacementKind kind)
{
    return kind == ReplacementKind::kUndo ? "undo" : "restore";
}

const char* StateWord(ReplacementState state)
{
    switch (state) {
    case ReplacementState::kPreparing:
        return "preparing";
    case ReplacementState::kKeptNew:
        return "kept-new";
    case ReplacementState::kKeptOld:
        return "kept-old";
    default:
        return "moving";
    }
}

bool ReadKind(const std::string& word, ReplacementKind& kind)
{
    for (ReplacementKind candidate : {ReplacementKind::kRestore, ReplacementKind::kUndo}) {
        if (word == KindWord(candidate)) {
            kind = candidate;
            return true;
        }
    }
    return false;
}

bool ReadState(const std::string& word, ReplacementState& state)
{
    for (ReplacementState candidate : {ReplacementState::kPreparing, ReplacementState::kMoving,
                                       ReplacementState::kKeptNew, ReplacementState::kKeptOld}) {
        if (word == StateWord(candidate)) {
            state = candidate;
            return true;
        }
    }
    return false;
}

// "replace <name> existed|absent" or "remove <name> existed|absent".
bool ReadFileLine(std::istringstream& words, const std::string& action, ReplacementRecord& record)
{
    std::string name, before, extra;
    if (!(words >> name >> before) || (words >> extra))
        return false;
    ReplacedFile file;
    file.name = ReplaceableDataFileName(name);
    file.removed = action == "remove";
    if (file.name.empty() || (before != "existed" && before != "absent"))
        return false;
    file.existed = before == "existed";
    // Going back would delete a table the record calls absent, going forward
    // one it removes: the only copy of the notes, say. The program never
    // writes such a record.
    if (IsWholeSetTable(file.name) && (!file.existed || file.removed))
        return false;
    for (const ReplacedFile& listed : record.files) {
        if (listed.name == file.name)
            return false;
    }
    record.files.push_back(file);
    return true;
}
}

std::string ReplaceableDataFileName(const std::string& name)
{
    for (const char* known : kReplaceableDataFiles) {
        if (SameName(name, known))
            return known;
    }
    return std::string();
}

bool IsWholeSetTable(const std::string& name)
{
    for (const char* table : kWholeSetTables) {
        if (SameName(name, table))
            return true;
    }
    return false;
}

std::string FormatReplacementRecord(const ReplacementRecord& record)
{
    std::string text = std::string(kFirstLine) + "\r\n";
    text += std::string("kind ") + KindWord(record.kind) + "\r\n";
    text += std::string("state ") + StateWord(record.state) + "\r\n";
    for (const ReplacedFile& file : record.files)
        text += std::string(file.removed ? "remove " : "replace ") + file.name +
                (file.existed ? " existed" : " absent") + "\r\n";
    return text + kLastLine + "\r\n";
}

bool ParseReplacementRecord(const std::string& text, ReplacementRecord& record)
{
    record = ReplacementRecord();
    if (text.size() > kMaxRecordSize)
        return false;
    std::istringstream lines(text);
    std::string line;
    bool first = true, kindSeen = false, stateSeen = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (first) {
            if (line != kFirstLine)
                return false;
            first = false;
            continue;
        }
        if (line == kLastLine)
            return kindSeen && stateSeen && !record.files.empty() && !std::getline(lines, line);
        std::istringstream words(line);
        std::string head, value, extra;
        if (!(words >> head))
            return false;
        if (head == "kind" || head == "state") {
            bool& seen = head == "kind" ? kindSeen : stateSeen;
            if (seen || !(words >> value) || (words >> extra))
                return false;
            if (!(head == "kind" ? ReadKind(value, record.kind) : ReadState(value, record.state)))
                return false;
            seen = true;
        } else if (head == "replace" || head == "remove") {
            if (!ReadFileLine(words, head, record))
                return false;
        } else {
            return false;
        }
    }
    return false;
}
