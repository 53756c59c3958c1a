#pragma once

#include <windows.h>

// What the settings sheet's pages edit: each page gets its own object, built
// from the current settings before the sheet opens; nothing reaches the
// settings until the sheet has closed with OK (applied set by the page).

struct CNetworkPageData {
    DWORD applied = 0;
    WORD firstPort = 0;
    WORD secondPort = 0;
};
