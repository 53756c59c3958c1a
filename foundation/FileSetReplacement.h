#pragma once

#include <string>
#include <vector>

// Several files of the data folder replaced together (a table and its memo
// file, the tables of an undo copy): each new version is first copied beside
// its target, the target's present bytes are kept beside it too, and every
// target is checked for replacing before any is touched. Only then are the
// new versions moved into place; when one move fails, the targets already
// replaced get their kept bytes back, so the folder holds either the old set
// or the new one.
class CFileSetReplacement {
public:
    CFileSetReplacement() = default;
    // Removes what the replacement left beside the targets.
    ~CFileSetReplacement();
    CFileSetReplacement(const CFileSetReplacement&) = delete;
    CFileSetReplacement& operator=(const CFileSetReplacement&) = delete;

    // The target takes the source's bytes.
    void Replace(const std::string& source, const std::string& target);
    // The target goes (nothing happens when it does not exist).
    void Remove(const std::string& target);

    // Copies the sources beside their targets and the targets' bytes beside
    // them, then makes sure that no other program holds a target. False, with
    // the file names that failed, when the set cannot be replaced now:
    // nothing has changed then.
    bool Prepare(std::vector<std::string>& failed);
    // Moves the prepared sources into place and removes the targets to go.
    // False, with the file names that failed, when one could not be: every
    // target is then as it was before, unless putting one back failed too,
    // which notReturned tells (the kept bytes then stay beside it).
    bool Commit(std::vector<std::string>& failed, bool& notReturned);

private:
    struct Step {
        std::string source;  // empty: the target is removed
        std::string target;
        bool targetExisted = false;
        bool done = false;
        bool keptForUser = false;  // its kept bytes could not be put back
    };
    static std::string StagedPath(const Step& step);
    static std::string KeptPath(const Step& step);
    void RemoveLeftovers();

    std::vector<Step> m_steps;
    bool m_prepared = false;
};
