#pragma once

#include <windows.h>

#include "shell/bytes/RestoreDialogParams.h"

// "Restore notes...": asks whether to restore the backup, adding its notes to
// the existing ones (method 1) or replacing them (method 2). Answers 1 for
// Yes, with the method chosen in the block's flag; 0 for No. A notice, when
// given, comes before the method's explanation.
int RunRestoreDialog(HWND owner, RestoreDialogParams& params, const char* notice = nullptr);
