#pragma once

// The dialog that ties a note to other programs' windows.
#define IDD_ASSOCIATE_NOTE 673
#define IDC_ASSOCIATE_LIST 1174
#define IDC_ASSOCIATE_HELP 9
