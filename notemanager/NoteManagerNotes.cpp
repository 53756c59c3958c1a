#include "notemanager/NoteManagerNotes.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "foundation/MemArray.h"
#include "globals/ProgramGlobals.h"
#include "note/NoteController.h"
#include "noteprops/AppAssociations.h"
#include "store/UsersTable.h"

namespace {
const int kManagerPlainTextLimit = 51200;

int FindNoCase(const std::string& haystack, const std::string& needle)
{
    if (needle.empty() || needle.size() > haystack.size())
        return -1;
    auto it = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
    return it == haystack.end() ? -1 : static_cast<int>(it - haystack.begin());
}
}

std::string PlainTextOf(const CNoteController& note)
{
    if (!note.m_bodyEdit)
        return std::string();
    std::vector<char> text(kManagerPlainTextLimit, '\0');
    const int length = GetWindowTextA(note.m_bodyEdit, text.data(), kManagerPlainTextLimit);
    return std::string(text.data(), length > 0 ? static_cast<size_t>(length) : 0);
}

bool IsClosedProtected(const CNoteController& note)
{
    return !note.m_protectedContent.empty() && note.m_hidden;
}

bool IsNoteLocked(const CNoteController& note)
{
    return note.m_protected;
}

int CountNoteAssociations(DWORD noteId)
{
    int count = 0;
    for (auto* node = AppAssociationsList().GetFirst(); node; node = node->next) {
        if (node->record.noteId == noteId)
            ++count;
    }
    return count;
}

bool IsNoteAssociated(DWORD noteId)
{
    return CountNoteAssociations(noteId) > 0;
}

DWORD AlarmDayOf(const CNoteController& note)
{
    return static_cast<DWORD>(note.m_alarm.m_year) * 10000 + note.m_alarm.m_month * 100 + note.m_alarm.m_day;
}

uint64_t SortableTimeOf(const CDateTime& t)
{
    return ((static_cast<uint64_t>(t.m_year) * 100 + t.m_month) * 100 + t.m_day) * 1000000ull + t.m_hour * 10000ull +
           t.m_minute * 100ull + t.m_second;
}

std::string GroupNameOfNote(const CNoteController& note)
{
    const int id = note.FindGroupId(-1);
    if (id >= 0) {
        for (auto* node = GroupsList().GetFirst(); node; node = node->next) {
            if (node->record.id == static_cast<DWORD>(id))
                return node->record.name;
        }
    }
    return "None";
}

std::string OwnerNameOf(const CNoteController& note)
{
    CMemArray<CUserEntry>& users = UsersArray();
    if (note.m_userId < users.GetCount())
        return users[note.m_userId].userName;
    return std::string();
}

bool FindContainingText(CNoteController& note, const char* text, bool withGroupName)
{
    note.m_textMatch = -1;
    note.m_titleMatch = -1;
    if (IsClosedProtected(note))
        note.OpenProtectedNote();
    const std::string needle(text);
    note.m_textMatch = FindNoCase(PlainTextOf(note), needle);
    note.m_titleMatch = FindNoCase(note.m_title, needle);
    bool found = note.m_textMatch >= 0 || note.m_titleMatch >= 0;
    if (!found && withGroupName)
        found = FindNoCase(GroupNameOfNote(note), needle) >= 0;
    return found;
}

void SelectAndShowText(CNoteController& note, int offset, int length)
{
    if (!note.m_bodyEdit || offset < 0)
        return;
    SendMessageA(note.m_bodyEdit, EM_SETSEL, offset, offset + length);
    const LRESULT line = SendMessageA(note.m_bodyEdit, EM_LINEFROMCHAR, offset, 0);
    const LRESULT top = SendMessageA(note.m_bodyEdit, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageA(note.m_bodyEdit, EM_LINESCROLL, 0, line - top);
}
