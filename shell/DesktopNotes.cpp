// The application object's notes on the desktop: creating them, loading
// them at start and saving them, and the commands and messages about them.
#include <winsock2.h>

#include <cstdio>
#include <string>
#include <vector>

#include "foundation/CallbackGuard.h"
#include "foundation/bytes/MessageBoxes.h"
#include "note/NoteController.h"
#include "note/NoteCreation.h"
#include "note/NoteMessages.h"
#include "globals/MainWindowMessages.h"
#include "shell/NoteFileText.h"
#include "shell/NoteCreationReports.h"
#include "shell/NoteLists.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "shell/WindowController.h"
#include "store/NoteSaving.h"

namespace {
// The text of a forwarded /new: the path line " \"path\" \r\n" or " path \r\n"
// of the second start, without its blanks, quotes and line end.
std::string RequestText(const char* data, DWORD size)
{
    std::string text(data, size);
    size_t end = text.find('\0');
    if (end != std::string::npos)
        text.resize(end);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    size_t start = text.find_first_not_of(' ');
    text = start == std::string::npos ? std::string() : text.substr(start);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    return text;
}
}

bool ReadFileStart(const char* path, std::string& text)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw CGenericException("The file of the new note could not be read");
    text.assign(kNoteFileTextLimit, '\0');
    DWORD read = 0;
    BOOL ok = ReadFile(file, &text[0], kNoteFileTextLimit, &read, nullptr);
    CloseHandle(file);
    if (!ok)
        throw CGenericException("The file of the new note could not be read");
    text.resize(read);
    return true;
}

CNoteController* CWindowController::LastNote() const
{
    CNoteController* note = static_cast<CNoteController*>(m_lastNote);
    if (note && (m_ourNotes.Contains(note) || m_otherNotes.Contains(note)))
        return note;
    return nullptr;
}

void CWindowController::ForgetNote(CNoteController* note)
{
    if (m_lastNote == note)
        m_lastNote = nullptr;
}

CNoteController* CWindowController::CreateDefaultNote()
{
    CNoteController* note = CreateReporting(m_mainWindow, [] { return CreateNote(NoteDescription()); });
    AdoptNewNote(note);
    UpdateTrayTooltip();
    return note;
}

CNoteController* CWindowController::CreateNoteInStyle(int styleIndex)
{
    CNoteController* note = CreateReporting(m_mainWindow, [] { return CreateNote(NoteDescription()); });
    AdoptNewNote(note);
    if (note)
        note->ApplyStyle(styleIndex, true);
    UpdateTrayTooltip();
    return note;
}

CNoteController* CWindowController::CreateNoteWithText(bool force, LONG x, LONG y, const char* text, DWORD length)
{
    NoteDescription given;
    given.x = x;
    given.y = y;
    given.forcePlacement = force;
    NoteDescription description = UserDefaultDescription(given);
    description.text = text;
    description.textLength = length;
    CNoteController* note = CreateReporting(m_mainWindow, [&] { return CreateNote(description); });
    AdoptNewNote(note);
    if (note)
        note->SetModified();
    UpdateTrayTooltip();
    return note;
}

CNoteController* CWindowController::OnNewNoteRequest(const char* data, DWORD size)
{
    if (!data || !size) {
        CNoteController* note = CreateReporting(m_mainWindow, [] { return CreateNote(NoteDescription()); });
        AdoptNewNote(note);
        return note;
    }
    std::string text = RequestText(data, size);
    std::string fileText;
    try {
        if (ReadFileStart(text.c_str(), fileText))
            text = fileText;
    } catch (const CGenericException& failure) {
        ShowMessageBox(m_mainWindow, failure.GetErrorText(), "Note creation failed", kMbIconExclamation);
        return nullptr;
    }
    return CreateNoteWithText(true, 0, 0, text.c_str(), static_cast<DWORD>(text.size()));
}

// With the memo file rebuilt every note is written into the new pair;
// otherwise only the notes that changed or were never stored, since each
// single save replaces the whole table. A note whose save fails keeps its
// modified mark, so the next save tries it again; a rebuild that could not
// be made is tried again by the next save of all notes.
bool CWindowController::SaveAllNotes(bool rebuildMemo)
{
    const bool rebuild = rebuildMemo || m_memoRebuildOwed;
    std::vector<CNoteController*> notes;
    auto collect = [&](CNoteController* note) {
        note->SyncFromWindow();
        if (rebuild || note->m_modified || note->m_noteId == 9999)
            notes.push_back(note);
        return true;
    };
    ForEachNote(m_ourNotes, collect);
    ForEachNote(m_otherNotes, collect);
    const bool saved = SaveNotesOwingRebuild(notes, rebuild);
    TiePendingRestoredNotes(*this);
    return saved;
}

void CWindowController::KeepUnstoredChanges()
{
    if (ChangesUnstoredNow())
        m_rescueBackup.Renew(*this, "a command on notes could not store every change");
}

bool CWindowController::SaveNotesOwingRebuild(const std::vector<CNoteController*>& notes, bool rebuild)
{
    const bool saved = SaveNotes(notes, rebuild);
    if (rebuild)
        m_memoRebuildOwed = !saved;
    return saved;
}
