#pragma once

// The context menu of the style text boxes and its commands; Bold, Italic and
// Underline go to the dialog.
#define IDM_STYLE_TEXT 727
#define ID_STYLE_TEXT_BOLD 1363
#define ID_STYLE_TEXT_ITALIC 1364
#define ID_STYLE_TEXT_UNDERLINE 1365
#define ID_STYLE_TEXT_CUT 1366
#define ID_STYLE_TEXT_COPY 1367
#define ID_STYLE_TEXT_PASTE 1368
#define ID_STYLE_TEXT_UNDO 1369
#define ID_STYLE_TEXT_SELECT_ALL 1370
