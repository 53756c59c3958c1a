#pragma once

// The dialog that sets, changes or clears the user's password.
#define IDD_SET_PASSWORD 669
#define IDC_SET_PASSWORD_OLD 1170
#define IDC_SET_PASSWORD_NEW 1125
#define IDC_SET_PASSWORD_CONFIRM 1169
#define IDC_SET_PASSWORD_OK 1293
#define IDC_SET_PASSWORD_HELP 9
#define IDC_SET_PASSWORD_LINK 1287
// The help topic of the dialog.
#define IDH_SET_PASSWORD 821
