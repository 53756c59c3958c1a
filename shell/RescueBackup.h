#pragma once

#include <string>
#include <vector>

class CWindowController;

// When an end, a timed save, a restore or an undo finds changes it cannot
// store, the notes as they are go into a rescue backup: a file of the backup
// folder named "Unstored " and the date and time to the second (".QPK",
// restored like any backup), which no expiry
// of old backups looks at, and which never takes the place of another file.
// Names taken by other files are passed over, and when the backup folder can
// take no file the data folder takes it. Beside each one a mark (the same
// name with ".txt") tells the next start that the changes were not stored,
// unless a save wrote the notes table since.
class CRescueBackup {
public:
    // Writes the notes as they are now to a new rescue backup, unless the one
    // written last in this run still holds exactly them. The path of the file
    // that holds them; empty when none could be written (error.txt says why).
    // Shows no box and never throws: it runs inside the system's question
    // about the end of the session.
    std::string Keep(CWindowController& app);
    // The same for a timed save that could not store every change: the file
    // that the last such save of this unstored stretch wrote, and that no box
    // has named since (Keep names its file), is removed once the new one is
    // complete, so that a long stretch leaves one file.
    std::string Renew(CWindowController& app);
    // A save stored every change: the stretch ends, its files stay, and their
    // marks go, since the next start has nothing to tell of them.
    void Settled();
    // Whether the mark at that path was written in this run.
    bool MarkedThisRun(const std::string& markPath) const;
    // The same at an end, before the save that may store every change (the
    // save may wait on a file another program holds, or be cut short by the
    // system, and the notes must be in a file first); error.txt hears of the
    // file only once it is known to rescue something.
    std::string KeepBeforeSave(CWindowController& app);
    // That save is over, or will not come now. When it stored every change,
    // the rescue backup written for it (not one kept after an earlier
    // failure) holds nothing to rescue and goes, with its mark; otherwise it
    // stays, the rescue of what was not stored, and error.txt names it.
    void SaveDone(bool everythingStored);

private:
    // The notes in a new rescue backup, unless the last one holds them; its
    // path (empty when none could be written), and whether it is new.
    std::string Write(CWindowController& app, bool& written);
    void Mark(const std::string& rescuePath);
    // A rescue backup of this run deleted, with its mark; false when it could
    // not be.
    bool Remove(const std::string& rescuePath);
    static void LogKept(const std::string& path);

    std::string m_lastPath;
    // Written by Renew and named by no box: the next Renew removes it.
    std::string m_unnamedPath;
    // Written by KeepBeforeSave for a save that has not said yet whether it
    // stored everything.
    std::string m_beforeSavePath;
    std::vector<std::string> m_marks;
};

// At the start, once the notes are shown: when the last end left changes
// that were never stored, one box names the rescue backup that holds them
// and offers to restore it now (as the Restore submenu does). Told once: the
// marks go whatever the answer.
void OfferRescueOfLastEnd(CWindowController& app);
