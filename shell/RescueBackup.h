#pragma once

#include <string>

class CWindowController;

// When an end finds changes it cannot store, the notes as they are go into a
// rescue backup: a file of the backup folder named "Unstored " and the date
// and time to the second (".QPK", restored like any backup), which no expiry
// of old backups looks at, and which never takes the place of another file.
// Names taken by other files are passed over, and when the backup folder can
// take no file the data folder takes it.
class CRescueBackup {
public:
    // Writes the notes as they are now to a new rescue backup, unless the one
    // written last in this run still holds exactly them. The path of the file
    // that holds them; empty when none could be written (error.txt says why).
    // Shows no box and never throws: it runs inside the system's question
    // about the end of the session.
    std::string Keep(CWindowController& app);
    // The same at an end, before the save that may store every change (the
    // save may wait on a file another program holds, or be cut short by the
    // system, and the notes must be in a file first); error.txt hears of the
    // file only once it is known to rescue something.
    std::string KeepBeforeSave(CWindowController& app);
    // That save is over, or will not come now. When it stored every change,
    // the rescue backup written for it (not one kept after an earlier
    // failure) holds nothing to rescue and goes; otherwise it stays, the
    // rescue of what was not stored, and error.txt names it.
    void SaveDone(bool everythingStored);

private:
    // The notes in a new rescue backup, unless the last one holds them; its
    // path (empty when none could be written), and whether it is new.
    std::string Write(CWindowController& app, bool& written);
    static void LogKept(const std::string& path);

    std::string m_lastPath;
    std::string m_beforeSavePath;
};
