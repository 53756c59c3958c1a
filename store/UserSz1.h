#pragma once

// Stores a password text in the users table ("users.QPD" in the data
// folder): the first undeleted record whose user and computer names match
// (trailing blanks removed, any case) names, by its WUSERID, the record whose
// SZ1 receives the text. Nothing happens without the table, without a match or
// for an id of 0. Table failures throw CGenericException.
void SaveUserSz1(const char* text, const char* userName, const char* computerName);

// The same for the user of this run (the logged-on user on this computer); the
// text is stored as a password code, its first 8 characters in lower case.
void SaveCurrentUserSz1(const char* text);
