#pragma once

// Ids of the string table's texts used by the shell helpers.
#define IDS_NO_DEFAULT_BROWSER 242
