#pragma once

// The dialog that sets, changes or clears the user's password.
#define IDD_SET_PASSWORD 669
#define IDC_SET_PASSWORD_OLD 1001
#define IDC_SET_PASSWORD_NEW 1002
#define IDC_SET_PASSWORD_CONFIRM 1003
#define IDC_SET_PASSWORD_OLD_LABEL 1004
