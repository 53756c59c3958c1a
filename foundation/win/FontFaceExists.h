#pragma once

#include <windows.h>

// Copies the face (31 characters at most) into the record and tells whether the
// screen has a font family of that face, compared without regard to case.
bool FontFaceExists(LOGFONTA* result, const char* face);
