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
    // After a save that could not store every change: the notes as they are
    // now in a new rescue backup, unless the one written last in this run
    // still holds exactly them. The path of the file that holds them; empty
    // when none could be written (error.txt says why). The caller may name it
    // in a box: it stays. Shows no box and never throws: it runs inside the
    // system's question about the end of the session.
    std::string Keep(CWindowController& app);
    // The same for a timed save, or a command on notes, that could not store
    // every change (why says which, for error.txt): the file that the last
    // such save of this unstored stretch wrote, and that no box has named
    // since (Keep names its file), is removed once the new one is complete,
    // so that a long stretch leaves one file.
    std::string Renew(CWindowController& app, const char* why);
    // The same before a moment that may end the program while changes are
    // not stored yet, though nothing failed (why says which moment: an end
    // refused for busy work, the session ending now). Unless a box names it
    // (Keep), or a save then fails to store them (SaveDone), the file goes
    // once a save has stored every change, or a newer file holds the notes.
    std::string KeepInCase(CWindowController& app, const char* why);
    // A save stored every change: the stretch ends, the file written in case
    // goes, the other files stay, and their marks go, since the next start
    // has nothing to tell of them.
    void Settled();
    // Whether the mark at that path was written in this run.
    bool MarkedThisRun(const std::string& markPath) const;
    // The same at an end, before the save that may store every change (the
    // save may wait on a file another program holds, or be cut short by the
    // system, and the notes must be in a file first). error.txt hears of the
    // file once it is known to rescue something, before any box of the save,
    // so that an end that stores everything leaves no trace.
    std::string KeepBeforeSave(CWindowController& app);
    // The end that file was written for was refused for busy work: the file
    // stays in case the program is ended all the same, and error.txt says so.
    void InCaseOfRefusal(const char* why);
    // That save is over: when it stored every change, Settled; otherwise the
    // file written in case stays, the rescue of what was not stored, and
    // error.txt says so.
    void SaveDone(bool everythingStored);

private:
    // The notes in a new rescue backup, unless the last one holds them; its
    // path (empty when none could be written), and whether it is new. A new
    // one is named in error.txt with why it was written, unless why is null.
    std::string Write(CWindowController& app, const char* why, bool& written);
    // The line of error.txt that names a new file and why it was written.
    static void Announce(const char* why, const std::string& path, bool inDataFolder);
    // The file written in case holds changes that could not be stored
    // (what says why): error.txt says so, and it stays.
    void InCaseNeeded(const char* what);
    bool SameNotesMadeAnew(const std::string& bytes, unsigned long long tableTime);
    void Mark(const std::string& rescuePath);
    // A rescue backup of this run deleted, with its mark; false when it could
    // not be.
    bool Remove(const std::string& rescuePath);
    // The file written in case goes, error.txt saying why.
    void RemoveInCase(const char* why);

    std::string m_lastPath;
    // The write of the notes table the last file was measured against.
    unsigned long long m_lastTableTime = 0;
    // Written by Renew and named by no box: the next Renew removes it.
    std::string m_unnamedPath;
    // Written in case and named by no box, and no save has failed since.
    std::string m_inCasePath;
    // Written before an end's save, and not named in error.txt yet.
    std::string m_unannounced;
    bool m_unannouncedInDataFolder = false;
    bool m_lastInDataFolder = false;
    std::vector<std::string> m_marks;
};

// The last write of the notes table: a save that stores a note writes it
// anew. 0 while it is missing.
unsigned long long NotesTableWriteTime();
// Whether a save wrote the notes table after the rescue backup was measured
// against it, as the file itself records, or for a file that records nothing
// (as earlier versions wrote them) as its mark tells; true when neither does.
bool NotesStoredSinceRescue(const std::string& rescuePath);
