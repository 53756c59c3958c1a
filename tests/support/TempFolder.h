#pragma once

#include <map>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder (or under the parent
// folder given), removed with everything in it when the object goes.
class TempFolder {
public:
    explicit TempFolder(const char* hint = "t");
    // The parent ends with a backslash.
    TempFolder(const char* hint, const std::string& parent);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

// Small file helpers for tests.
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// Every file under the folder, its subfolders too, by its path below it
// ("CHAT\a.bmp"), with its bytes.
std::map<std::string, std::string> FilesUnder(const std::string& folder);
// The same but the diagnostic log error.txt, which a run may add lines to.
std::map<std::string, std::string> DataFilesUnder(const std::string& folder);
// The names of the files the pattern (a path with wildcards) matches, sorted.
std::vector<std::string> FileNamesMatching(const std::string& pattern);
