#include "support/StoredNotes.h"

#include "store/NotesLoader.h"
#include "support/InFolder.h"

StoredNoteList LoadEveryNote(const std::string& folder)
{
    CurrentFolder data(folder);
    RowOwnership everyone;
    everyone.seesEveryone = true;
    StoredNoteList notes;
    LoadNotes(everyone, [&](CNoteController* note) { notes.emplace_back(note); });
    return notes;
}
