#pragma once

#include "support/ProgramDriver.h"

// A user whose notes can be locked: after a first start has made the user's
// record, its password text is that of "secret", locked notes ask for it as
// the mode says (1 once per run, 2 every time), and the start asks for it
// only when told to.
extern const char kSecretPasswordText[];
void PrepareProtectingUser(const ProgramInstall& install, int passwordMode, bool askedAtStart = false);
