#pragma once

#include <string>
#include <vector>

class CRescueBackup;
class CWindowController;

// The word about changes that an earlier run could not store. Which marks of
// earlier runs still tell of such changes is decided once the start has
// loaded the notes (and put right what it puts right there), before the
// listeners, the timers or a password prompt can let a note be stored; once
// the notes are shown, one box names the newest rescue backup and offers to
// restore it now.
class CRescueOffer {
public:
    // The newest mark that tells of changes never stored is kept until the
    // user answers its offer: its file says so, whatever this run stores
    // meanwhile, so that a later start offers it again should this one end
    // first. The marks that tell of nothing go now.
    void Decide(const CRescueBackup& rescue);
    // The box, and at Yes the restore as the Restore submenu makes it. The
    // marks go once the user has answered, unless the restore could not be
    // made now (the box said what to mend): then the backup keeps its mark,
    // and a later start offers it again.
    void Offer(CWindowController& app);

private:
    std::string m_rescuePath;
    std::string m_markPath;
    // Older marks that told of changes never stored: the newest holds them too.
    std::vector<std::string> m_olderMarks;
};
