#include "shell/ProgramParts.h"

#include "net/NetworkNoteStrips.h"
#include "note/NoteCreation.h"
#include "note/NoteFavouritesMenu.h"
#include "note/NoteStrips.h"
#include "shell/Favourites.h"
#include "store/NoteMaking.h"

void ConnectProgramParts()
{
    // The tables describe notes; the note side makes them.
    SetNoteMaker(&CreateNote);
    // Note windows host the chat and send strips of the network side.
    SetNoteStrips(&NetworkNoteStrips());
    // A note's favourites menu opens the shell's favourites folder.
    SetFavouritesOrganizer(&OrganizeFavourites);
}
