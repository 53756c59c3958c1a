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

private:
    std::string m_lastPath;
};
