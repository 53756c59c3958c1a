#pragma once

#include "support/ProgramDriver.h"

// A user whose notes can be locked: after a first start has made the user's
// record, its password text is that of "secret", no password is asked at
// start, and locked notes ask for it as the mode says (1 once per run, 2
// every time).
extern const char kSecretPasswordText[];
void PrepareProtectingUser(const ProgramInstall& install, int passwordMode);
