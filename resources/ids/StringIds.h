#pragma once

// Ids of the string table's texts used by the class library.
#define IDS_REPORT_PROBLEM 136
#define IDS_FATAL_MEMORY 137
#define IDS_BUSY_SENDING 148
#define IDS_SORRY 149
#define IDS_PASTE_TOO_LONG 150
#define IDS_BUSY_SAVING 401
