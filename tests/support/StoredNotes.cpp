#include "support/StoredNotes.h"

#include <stdexcept>

#include "foundation/DataFolder.h"
#include "store/DbfFile.h"
#include "store/NotesLoader.h"
#include "support/InFolder.h"
#include "support/ProgramDriver.h"

StoredNoteList LoadEveryNote(const std::string& folder)
{
    CurrentFolder data(folder);
    RowOwnership everyone;
    everyone.seesEveryone = true;
    StoredNoteList notes;
    LoadNotes(everyone, [&](CNoteController* note) { notes.emplace_back(note); });
    return notes;
}

StoredNoteList LoadRunningProgramNotes(const std::string& folder)
{
    TempFolder copy("notes");
    const bool copied = WaitUntil([&] {
        for (const char* name : {DataName::kNotesTable, DataName::kNotesMemo}) {
            if (!CopyFileA((folder + "\\" + name).c_str(), copy.File(name).c_str(), FALSE))
                return false;
        }
        return true;
    });
    if (!copied)
        throw std::runtime_error("the notes files of " + folder + " stayed held");
    return LoadEveryNote(copy.Path());
}

void FillTestNote(CNoteController& note, const char* text, LONG left, LONG top)
{
    note.m_userId = 1;
    note.m_left = left;
    note.m_top = top;
    note.m_width = 240;
    note.m_height = 150;
    note.m_bodyColor = RGB(255, 255, 190);
    note.m_titleColor = RGB(60, 110, 200);
    note.m_titleTextColor = RGB(255, 255, 255);
    lstrcpynA(note.m_title, text, sizeof note.m_title);
    const std::string rtf = std::string("{\\rtf1\\ansi ") + text + "}";
    note.SetRichText(rtf.data(), rtf.size());
}

const CNoteController* StoredNoteTitled(const StoredNoteList& notes, const char* title)
{
    for (const auto& note : notes)
        if (lstrcmpA(note->m_title, title) == 0)
            return note.get();
    return nullptr;
}

const CNoteController* StoredNoteHaving(const StoredNoteList& notes, const std::string& part)
{
    for (const auto& note : notes)
        if (note->RichText().find(part) != std::string::npos)
            return note.get();
    return nullptr;
}

void SetAutoSaveInterval(const std::string& folder, long minutes)
{
    CDbfFile config;
    config.SetTable((folder + "\\config.QPD").c_str(), true);
    config.Open("MAPPINGALL");
    config.SetLongValue(1, "WSAVEINT", minutes);
    config.Close();
}
