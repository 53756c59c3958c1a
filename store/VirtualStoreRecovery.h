#pragma once

#include <string>

// Windows Vista redirects writes that a program without the right makes into
// its folder under "Program Files" to the user's VirtualStore folder. Tables
// written there are brought back into the program folder (with the backups of
// its "BACKUP" folder), then the VirtualStore copy is deleted. With discard
// set (the program folder was writable all along, so the copy is stale) it is
// only deleted.
void RecoverVirtualStoreData(bool discard);

// The user's VirtualStore folder of the program.
std::string VirtualStoreFolder();
