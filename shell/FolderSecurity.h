#pragma once

#include <windows.h>

#include <aclapi.h>

// Ordinary users often may not write into the program's folder, where the
// data files live. At start the built-in Users group is given write access to
// the program folder (SE_FILE_OBJECT) and to the program's key under
// MACHINE\SOFTWARE (SE_REGISTRY_KEY) when it lacks it. found becomes 1 when
// Users already had a write-type right and is left alone otherwise. Every
// failure is silent: the check never stops the start.
void CheckFolderSecurity(DWORD& found, SE_OBJECT_TYPE objectType);

// The same check on a named object (a path, or a key such as "CURRENT_USER\...").
void CheckObjectSecurity(const char* objectName, SE_OBJECT_TYPE objectType, DWORD& found);
