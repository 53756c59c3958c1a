#pragma once

// Appends a record for a new user with these names, filled with the program's
// values, and makes it the current user's.
void FillNewUserRecord(const char* userName, const char* computerName);
