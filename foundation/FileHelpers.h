#pragma once

#include <windows.h>

#include <string>

#include "foundation/GenericString.h"

// Files and folders found by wildcard search, and paths in the program folder.
// A folder and a name are joined with one backslash.

// What follows the path's last backslash or slash: the name of its file.
std::string FileNameOf(const std::string& path);

// Something matches the path (wildcards allowed); isFolder is set to 1 when the
// first match is a folder and never cleared.
bool FileExists(const char* path, int* isFolder = nullptr);
bool FileExistsInFolder(const char* folder, const char* name, int* isFolder = nullptr);
// The folder lists a subfolder of that name, compared ignoring case.
bool SubfolderExists(const char* folder, const char* name);
// The whole file, when it can be read and holds at most maxSize bytes (a
// small file of the program's own: a list, a record); false otherwise.
bool ReadSmallFile(const std::string& path, DWORD maxSize, std::string& bytes);
// The file's first bytes, at most that many; false when it cannot be read.
bool ReadFileStart(const std::string& path, DWORD most, std::string& bytes);
// The bytes in a file of that path made new, never one that exists (the open
// fails with ERROR_FILE_EXISTS when the name is taken, so no check can race
// with another writer), flushed to the disk. ERROR_SUCCESS, or the system's
// error; a file written only in part is deleted.
DWORD WriteNewFile(const std::string& path, const void* bytes, DWORD size);
// A read-only or hidden file becomes a normal one.
void ClearReadOnlyAttribute(const char* path);
bool IsFileOnSearchPath(const char* name);

// The files folder[\subfolder]\*.extension; an empty or null subfolder is left out.
int DeleteFilesByExtension(const char* folder, const char* subfolder, const char* extension);
int CountFilesByExtension(const char* folder, const char* subfolder, const char* extension);
// Sets the string to the name of match n (from 0, in the order of the search) and
// returns n; with n or fewer matches returns their number, the string unchanged.
int GetNthFileByExtension(CGenericString& string, const char* folder, const char* subfolder, const char* extension,
                          int n);

// Any "*.QPK" backup in the current backup folder (none while it is unknown).
bool BackupFilesExist();
// Deletes the program folder's "UPGRADE" folder with everything in it; refused
// (false) while the program folder is unknown, since "\UPGRADE" would name the
// root of the drive.
bool RemoveUpgradeFolder();
// The program folder, "\" and the name; 0 when that does not fit (the buffer then
// holds the folder cut to the size) or while the program folder is unknown.
int MakeProgramPath(char* buffer, size_t size, const char* name);

// Appends the first line of "Affiliation.ID" in the program folder (at most 1024
// bytes are read) when the file holds more than one byte; a missing file throws.
void ReadAffiliationId(CGenericString& string);

// 32 upper-case hex digits of a new GUID, cut to the size: a unique file name.
void MakeUniqueName(char* buffer, size_t size);
