#pragma once

// Puts a picture of the whole primary screen on the clipboard as a bitmap.
// Throws CGenericException "CopyScreenToClipboard(): ..." when it cannot.
void CopyScreenToClipboard();
