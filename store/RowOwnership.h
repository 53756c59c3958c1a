#pragma once

#include <windows.h>

#include <vector>

// Whose rows of the shared tables (notes, destinations, delivery records) the
// current user sees: the user's own, and those of users who share their notes.
struct RowOwnership {
    DWORD currentUserId = 0;
    std::vector<bool> sharesNotes;  // by user id
    bool seesEveryone = false;      // the upgrade carries every user's rows

    bool SharesNotes(DWORD userId) const { return userId < sharesNotes.size() && sharesNotes[userId]; }
    bool IsVisible(DWORD userId) const { return seesEveryone || userId == currentUserId || SharesNotes(userId); }
};

// The current user's view, from the user's settings and the users array.
RowOwnership CurrentRowOwnership();
